#!/usr/bin/python3
"""Benchmark of the PDF library stand-in against independent tools, side by side on the same files
in one run. Prints each figure and its ratio to the baseline (below 1.0 means the library is
faster or smaller). Run from anywhere:

    bench/pdflibrary/bench_pdflibrary.py [--library build/bin/DebenuPDFLibraryDLL1212.dll]

Needs mutool, pdftoppm, qpdf and Python's img2pdf and PIL (Debian mupdf-tools, poppler-utils, qpdf,
python3-img2pdf)."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "support"))
import baseline_tools  # noqa: E402
import dpl  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PNG, JPEG = 5, 1
RUNS = 3


def best_of(run, prepare=None):
    """The fastest of RUNS timings of run(), with prepare() before each outside the timing."""
    times = []
    for _ in range(RUNS):
        if prepare:
            prepare()
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return min(times)


def fresh(folder):
    def make():
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
    return make


def tool(*command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def report(title, rows):
    print(title)
    baseline_name, baseline = rows[0]
    for name, value in rows:
        print(f"  {name:<34} {value:10.3f}   ratio to {baseline_name}: {value / baseline:5.2f}")


def render(library, work, document, pages):
    out = os.path.join(work, "render")

    def ours(code, suffix):
        def run():
            if library.LoadFromFile(document, "") != 1:
                raise RuntimeError("load failed: %d" % library.LastErrorCode())
            for page in range(1, pages + 1):
                if library.RenderPageToFile(150.0, page, code, os.path.join(out, "p%d.%s" % (page, suffix))) != 1:
                    raise RuntimeError("render failed: %d" % library.LastErrorCode())
            library.RemoveDocument(library.SelectedDocument())
        return run

    png_ours = best_of(ours(PNG, "png"), fresh(out))
    png_mutool = best_of(lambda: tool("mutool", "draw", "-q", "-r", "150", "-o", os.path.join(out, "p%d.png"), document), fresh(out))
    png_poppler = best_of(lambda: tool("pdftoppm", "-r", "150", "-png", document, os.path.join(out, "p")), fresh(out))
    jpeg_ours = best_of(ours(JPEG, "jpg"), fresh(out))
    jpeg_mutool = best_of(lambda: tool("mutool", "draw", "-q", "-r", "150", "-o", os.path.join(out, "p%d.pnm"), document), fresh(out))
    jpeg_poppler = best_of(lambda: tool("pdftoppm", "-r", "150", "-jpeg", document, os.path.join(out, "p")), fresh(out))
    report(f"Render {pages} pages at 150 dpi to PNG (seconds)",
           [("mutool draw", png_mutool), ("pdftoppm -png", png_poppler), ("library RenderPageToFile", png_ours)])
    report(f"Render {pages} pages at 150 dpi to JPEG (seconds)",
           [("mutool draw (PNM: it writes no JPEG)", jpeg_mutool), ("pdftoppm -jpeg", jpeg_poppler),
            ("library RenderPageToFile", jpeg_ours)])
    return {"png/mutool": png_ours / png_mutool, "png/pdftoppm": png_ours / png_poppler,
            "jpeg/mutool-pnm": jpeg_ours / jpeg_mutool, "jpeg/pdftoppm": jpeg_ours / jpeg_poppler}


def image_pages(library, work, photos):
    ours_pdf = os.path.join(work, "photos-library.pdf")
    img2pdf_pdf = os.path.join(work, "photos-img2pdf.pdf")

    def ours():
        library.NewDocument()
        for index, photo in enumerate(photos):
            if index:
                library.NewPage()
            image = library.AddImageFromFile(photo, 0)
            if not image:
                raise RuntimeError("image failed: %d" % library.LastErrorCode())
            library.SetPageDimensions(1600 * 72 / 150, 1200 * 72 / 150)
            library.FitImage(0, library.PageHeight(), library.PageWidth(), library.PageHeight(), 0, 0, 0)
        if library.SaveToFile(ours_pdf) != 1:
            raise RuntimeError("save failed: %d" % library.LastErrorCode())
        library.RemoveDocument(library.SelectedDocument())

    ours_time = best_of(ours)
    theirs_time = best_of(lambda: tool(sys.executable, "-m", "img2pdf", "--pagesize", "768ptx576pt", "-o", img2pdf_pdf, *photos))
    ours_size = os.path.getsize(ours_pdf)
    theirs_size = os.path.getsize(img2pdf_pdf)
    report(f"{len(photos)} JPEG photos onto pages (seconds)", [("img2pdf", theirs_time), ("library", ours_time)])
    report("  output size (kB)", [("img2pdf", theirs_size / 1024), ("library", ours_size / 1024)])
    return {"photos-time/img2pdf": ours_time / theirs_time, "photos-size/img2pdf": ours_size / theirs_size}


def merge(library, work, parts):
    ours_pdf = os.path.join(work, "merged-library.pdf")
    qpdf_pdf = os.path.join(work, "merged-qpdf.pdf")

    def ours():
        name = "bench-%f" % time.perf_counter()
        for part in parts:
            library.AddToFileList(name, part)
        if library.MergeFileList(name, ours_pdf) != 1:
            raise RuntimeError("merge failed: %d" % library.LastErrorCode())

    ours_time = best_of(ours)
    qpdf_time = best_of(lambda: tool("qpdf", "--empty", "--pages", *parts, "--", qpdf_pdf))
    report(f"Merge {len(parts)} PDFs (seconds)", [("qpdf --empty --pages", qpdf_time), ("library MergeFileList", ours_time)])
    return {"merge/qpdf": ours_time / qpdf_time}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--library", default=os.path.join(ROOT, "build", "bin", "DebenuPDFLibraryDLL1212.dll"))
    parser.add_argument("--pages", type=int, default=40)
    arguments = parser.parse_args()
    # The baselines, and PIL, which makes the inputs.
    baseline_tools.require([("mutool", "mupdf-tools"), ("pdftoppm", "poppler-utils"), ("qpdf", "qpdf")],
                           [("img2pdf", "python3-img2pdf"), ("PIL", "python3-pil")])
    import inputs  # noqa: E402 (needs PIL, checked above)

    library = dpl.Library(os.path.abspath(arguments.library))
    with tempfile.TemporaryDirectory(prefix="bench-pdflibrary-") as work:
        print("Making inputs ...", flush=True)
        photos = []
        for index in range(50):
            photos.append(os.path.join(work, "photo%02d.jpg" % index))
            inputs.photo(photos[-1], index)
        document = os.path.join(work, "document.pdf")
        inputs.text_pdf(document, arguments.pages, photos[0])
        parts = []
        for index in range(20):
            parts.append(os.path.join(work, "part%02d.pdf" % index))
            inputs.text_pdf(parts[-1], 10, photos[index], seed=index)

        ratios = {}
        ratios.update(render(library, work, document, arguments.pages))
        ratios.update(image_pages(library, work, photos))
        ratios.update(merge(library, work, parts))
    library.close()

    targets = {"png/mutool": 1.2, "jpeg/mutool-pnm": 1.2, "png/pdftoppm": 1.0, "jpeg/pdftoppm": 1.0,
               "photos-size/img2pdf": 1.02, "merge/qpdf": 1.0}
    print("Ratios (library / baseline):")
    for name, ratio in ratios.items():
        target = targets.get(name)
        verdict = "" if target is None else ("  within target %.2f" % target if ratio <= target else "  ABOVE target %.2f" % target)
        print(f"  {name:<22} {ratio:5.2f}{verdict}")


if __name__ == "__main__":
    main()
