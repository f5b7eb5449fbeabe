#!/usr/bin/python3
"""Benchmark of quillbook against Calibre's ebook-convert, in one run, on two EPUBs made by Calibre:
a plain book of about 300 pages, and a book whose style sheet brings its own fonts (@font-face with
an OpenType and a TrueType font, renamed copies of fonts of this machine). For each book and converter: the time of the conversion to PDF
(best of --runs), the pages, the share of the book's words that pdftotext finds, the PDF's size
and, for the font book, the fonts that the PDF embeds (pdffonts). The books are written as
HTML by this script and made into EPUBs by Calibre, so the input comes from a real producer. Run
from anywhere:

    bench/quillbook/bench_quillbook.py [--quillbook build/bin/quillbook] [--runs 3]

Needs ebook-convert, pdftotext, pdfinfo and pdffonts (Debian calibre, poppler-utils), Pillow, and
the fonts of fonts-freefont-otf and fonts-dejavu-core."""

import argparse
import collections
import json
import os
import random
import re
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "bench", "support"))
import baseline_tools  # noqa: E402
CHAPTERS = 30
FONT_CHAPTERS = 10  # the font book: about 100 pages
PARAGRAPHS = 60  # per chapter: about 300 A4 pages as Calibre prints the plain book
VOCABULARY = (
    "the a of and to in was he she it that his her with as had for on at by they were from which "
    "but not be this all one have an their there been when who would more said what if so out into "
    "some could them him then time now only little very over your after such before our must back "
    "harbour ferry island lighthouse captain morning evening window garden letter journey river "
    "mountain village station carriage merchant doctor teacher soldier winter summer autumn spring "
    "quietly slowly suddenly carefully although however because whenever perhaps certainly "
    "remembered wondered answered believed travelled listened whispered gathered followed noticed "
    "ancient narrow silver golden crooked patient stubborn careful restless hollow distant gentle "
    "question shadow candle kitchen library market bridge orchard meadow cottage chimney lantern"
).split()


def sentence(rng):
    words = [rng.choice(VOCABULARY) for _ in range(rng.randint(8, 22))]
    return " ".join(words).capitalize() + rng.choice([".", ".", ".", "?", "!"])


# The font book's fonts are copies of fonts on this machine renamed (names of the same length, in
# the ASCII and UTF-16 name records), as a book's own fonts are not on the reader's machine: no
# system font can stand in for them.
FONT_NAMES = {"FreeSerif": b"BookSerif", "DejaVu": b"BookDV"}
FONT_FILES = {  # (file in the book, font on this machine, family in the style sheet)
    "serif": ("FreeSerif.otf", "/usr/share/fonts/opentype/freefont/FreeSerif.otf", "Book Serif"),
    "serif-bold": ("FreeSerifBold.otf", "/usr/share/fonts/opentype/freefont/FreeSerifBold.otf", "Book Serif"),
    "sans": ("DejaVuSans.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "Book Sans"),
}


def font_style():
    """The font book's style sheet: the text in an OpenType serif (regular and bold), the headings
    in a TrueType sans, each loaded with @font-face from a file beside the book."""
    rules = []
    for key, (name, _, family) in FONT_FILES.items():
        weight = "bold" if key.endswith("bold") else "normal"
        rules.append(f'@font-face {{ font-family: "{family}"; font-weight: {weight}; src: url({name}); }}')
    return " ".join(rules) + ' body { font-family: "Book Serif"; } h1 { font-family: "Book Sans"; }'


def write_book(folder, rng, chapters, style=""):
    """The book as one HTML file with chapters that start new pages; returns its words."""
    from PIL import Image, ImageDraw
    words = []
    parts = ["<html><head><title>Benchmark Voyage</title><style>h1 { page-break-before: always }"
             f" p {{ text-align: justify }} {style}</style></head><body>"]
    for chapter in range(1, chapters + 1):
        heading = f"Chapter {chapter}"
        words += re.findall(r"\w+", heading)
        parts.append(f"<h1>{heading}</h1>")
        if chapter % 5 == 1:
            picture = f"picture{chapter}.png"
            image = Image.new("RGB", (480, 240), (200, 220, 240))
            ImageDraw.Draw(image).ellipse((40, 20, 440, 220), fill=(40, 80, 160))
            image.save(os.path.join(folder, picture))
            parts.append(f'<p><img src="{picture}" alt=""/></p>')
        for _ in range(PARAGRAPHS):
            text = " ".join(sentence(rng) for _ in range(rng.randint(3, 7)))
            words += re.findall(r"\w+", text)
            first, _, rest = text.partition(" ")
            parts.append(f"<p><em>{first}</em> {rest}</p>")
    parts.append("</body></html>")
    with open(os.path.join(folder, "book.html"), "w", encoding="utf-8") as out:
        out.write("\n".join(parts))
    return words


def calibre_environment():
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    if os.geteuid() == 0:  # Calibre's web engine refuses to run as root inside its sandbox
        env["QTWEBENGINE_CHROMIUM_FLAGS"] = "--no-sandbox"
    return env


def run(command, env=None):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)


def best_of(runs, command, env=None):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        run(command, env)
        times.append(time.perf_counter() - start)
    return min(times)


def word_share(book_words, pdf):
    text = subprocess.run(["pdftotext", pdf, "-"], check=True, capture_output=True, text=True).stdout
    found = collections.Counter(re.findall(r"\w+", text))
    wanted = collections.Counter(book_words)
    return sum(min(count, found[word]) for word, count in wanted.items()) / sum(wanted.values())


def pages(pdf):
    info = subprocess.run(["pdfinfo", pdf], check=True, capture_output=True, text=True).stdout
    return int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))


def embedded_fonts(pdf):
    """The fonts the PDF embeds: the names of those with a font program (text in the book's
    fonts), and how many are Type 3 fonts (glyphs as drawings)."""
    listing = subprocess.run(["pdffonts", pdf], check=True, capture_output=True, text=True).stdout
    fonts, type3 = set(), 0
    for line in listing.splitlines()[2:]:
        if "Type 3" in line:
            type3 += 1
        elif re.search(r"\byes\s+(yes|no)\s+(yes|no)\s+\d+\s+\d+\s*$", line):
            fonts.add(line.split()[0].split("+")[-1])
    return fonts, type3


def measure(work, name, quillbook, runs, chapters, with_fonts):
    """Makes one book with Calibre, converts it with both converters and prints their rows."""
    folder = os.path.join(work, name)
    os.makedirs(folder)
    style = ""
    if with_fonts:
        for file_name, system_path, _ in FONT_FILES.values():
            with open(system_path, "rb") as source:
                font = source.read()
            for old, new in FONT_NAMES.items():
                old = old.encode()
                font = font.replace(old, new).replace(old.decode().encode("utf-16-be"), new.decode().encode("utf-16-be"))
            with open(os.path.join(folder, file_name), "wb") as out:
                out.write(font)
        style = font_style()
    words = write_book(folder, random.Random(18), chapters, style)
    epub = os.path.join(folder, "book.epub")
    run(["ebook-convert", os.path.join(folder, "book.html"), epub, "--title", "Benchmark Voyage",
         "--authors", "Bench Writer", "--no-default-epub-cover"], calibre_environment())

    request = os.path.join(folder, "job.req")
    with open(request, "w") as out:
        json.dump({"file_id": "bench", "format": "epub", "page_size": "A4", "margin": 10}, out)
    ours = os.path.join(folder, "quillbook.pdf")
    theirs = os.path.join(folder, "calibre.pdf")
    margin = "28.35"  # 10 mm in points, as in the request
    quill_time = best_of(runs, [quillbook, "--o", request, "--s", epub, "--t", ours])
    calibre_time = best_of(runs, ["ebook-convert", epub, theirs, "--paper-size", "a4",
                                  "--pdf-page-margin-left", margin, "--pdf-page-margin-right", margin,
                                  "--pdf-page-margin-top", margin, "--pdf-page-margin-bottom", margin],
                           calibre_environment())

    calibre_size = os.path.getsize(theirs)
    print(f"{name}: EPUB of {len(words)} words (made by Calibre), best of {runs} runs")
    print(f"  {'converter':<14} {'seconds':>8} {'ratio':>6} {'pages':>6} {'words found':>12} {'MB':>7} "
          f"{'ratio':>6}" + ("  fonts embedded" if with_fonts else ""))
    for converter, seconds, pdf in (("ebook-convert", calibre_time, theirs), ("quillbook", quill_time, ours)):
        size = os.path.getsize(pdf)
        fonts = ""
        if with_fonts:
            programs, drawings = embedded_fonts(pdf)
            fonts = "  " + (", ".join(sorted(programs)) or "none") + (f"; {drawings} Type 3" if drawings else "")
        print(f"  {converter:<14} {seconds:8.2f} {seconds / calibre_time:6.2f} {pages(pdf):6d} "
              f"{100 * word_share(words, pdf):11.2f}% {size / 1e6:7.2f} {size / calibre_size:6.2f}{fonts}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quillbook", default=os.path.join(ROOT, "build", "bin", "quillbook"))
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    # The baseline, the readers of both PDFs, Pillow, which draws the book's pictures, and the fonts.
    baseline_tools.require([("ebook-convert", "calibre"), ("pdftotext", "poppler-utils"), ("pdfinfo", "poppler-utils"),
                            ("pdffonts", "poppler-utils")],
                           [("PIL", "python3-pil")])
    packages = {"FreeSerif": "fonts-freefont-otf", "DejaVu": "fonts-dejavu-core"}
    for _, system_path, _ in FONT_FILES.values():
        if not os.path.exists(system_path):
            package = next(p for key, p in packages.items() if key in system_path)
            sys.exit(f"bench_quillbook: {system_path} is missing; install the Debian package {package} "
                     f"(apt-get install {package})")

    with tempfile.TemporaryDirectory(prefix="bench-quillbook-") as work:
        measure(work, "plain book", args.quillbook, args.runs, CHAPTERS, False)
        measure(work, "font book", args.quillbook, args.runs, FONT_CHAPTERS, True)
        print("  ratio: time and size relative to ebook-convert (below 1.00 is faster or smaller); fonts embedded:"
              " the PDF's font programs (text in the book's fonts) and its Type 3 fonts (glyphs as drawings)")


if __name__ == "__main__":
    sys.exit(main())
