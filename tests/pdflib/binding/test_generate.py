#!/usr/bin/env python3
"""The catalogue checks of generate.py: the real catalogue passes and each kind of fault stops
the generator with a message that names it."""

import os
import re
import subprocess
import sys
import tempfile
import unittest

BINDING = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "../../../pdflib/binding")
GENERATOR = os.path.join(BINDING, "generate.py")
with open(os.path.join(BINDING, "catalogue.txt"), encoding="utf-8") as f:
    CATALOGUE = f.read()


def run(catalogue_text):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "catalogue.txt")
        with open(path, "w", encoding="utf-8") as f:
            f.write(catalogue_text)
        done = subprocess.run([sys.executable, GENERATOR, path, BINDING, os.path.join(folder, "out")],
                              capture_output=True, text=True)
        return done.returncode, done.stderr, sorted(os.listdir(os.path.join(folder, "out"))) if done.returncode == 0 else []


def edit(pattern, replacement):
    text, count = re.subn(pattern, replacement, CATALOGUE, flags=re.MULTILINE)
    assert count == 1, pattern
    return text


class CatalogueChecks(unittest.TestCase):
    def assertRejected(self, text, message):
        code, errors, _ = run(text)
        self.assertEqual(code, 1, errors)
        self.assertIn(message, errors)

    def test_sound_catalogue_generates_everything(self):
        code, errors, files = run(CATALOGUE)
        self.assertEqual(code, 0, errors)
        self.assertIn("DPLExports.h", files)
        self.assertIn("DebenuPDFLibraryDLLQt1212.h", files)

    def test_binding_order(self):
        # Lower-case sorts after capitals: SetupCustomPrinter must follow SetXFAFromString.
        moved = edit(r"^SetupCustomPrinter .*\n", "")
        line = re.search(r"^SetupCustomPrinter .*\n", CATALOGUE, re.MULTILINE).group(0)
        moved = moved.replace("SetXFAFromString ", line + "SetXFAFromString ", 1)
        self.assertRejected(moved, "binding order")

    def test_counts_and_families(self):
        self.assertRejected(edit(r"^DrawLine .*\n", ""), "not 886")
        self.assertRejected(edit(r"^(GetPageText\s+)wide", r"\1int "), "family 'wide-string result' has 67")
        self.assertRejected(edit(r"^(PageWidth\s+)double", r"\1int   "), "43 functions return double")

    def test_byte_string_rules(self):
        self.assertRejected(edit(r"^(LoadFromString\s+int\s+)Source:bytes", r"\1Source:wide"),
                            "byte strings are the Source")
        self.assertRejected(edit(r"^(SaveToFile\s+int\s+)FileName:wide", r"\1FileName:bytes"),
                            "byte strings are the Source")
        self.assertRejected(edit(r"^(SaveToString\s+)bytes", r"\1wide "), "end in ToString")

    def test_drawing_surface_and_pointers(self):
        self.assertRejected(edit(r"^(RenderPageToDC\s+int\s+)DPI:double Page:int DC:hdc",
                                 r"\1DC:hdc DPI:double Page:int"), "drawing surface as the last parameter")
        self.assertRejected(edit(r"^(DrawImage\s+int\s+)Left:double", r"\1Left:hdc"), "take a drawing surface")
        self.assertRejected(edit(r"^(ReleaseImage\s+int\s+)ImageID:int", r"\1ImageID:pointer"), "takes pointers")

    def test_infrastructure_rows(self):
        self.assertRejected(edit(r"^(ReleaseBuffer .*) \[infrastructure\]$", r"\1"), "infrastructure rows")


if __name__ == "__main__":
    unittest.main()
