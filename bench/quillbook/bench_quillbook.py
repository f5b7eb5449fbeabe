#!/usr/bin/python3
"""Benchmark of quillbook against Calibre's ebook-convert on one EPUB of about 300 pages, in one
run: the time of each conversion to PDF (best of --runs) and the share of the book's words that
pdftotext finds in each PDF. The book is written as HTML by this script and made into an EPUB by
Calibre, so the input comes from a real producer. Run from anywhere:

    bench/quillbook/bench_quillbook.py [--quillbook build/bin/quillbook] [--runs 3]

Needs ebook-convert, pdftotext and pdfinfo (Debian calibre, poppler-utils) and Pillow."""

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
PARAGRAPHS = 60  # per chapter: about 300 A4 pages as Calibre prints the book
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


def write_book(folder, rng):
    """The book as one HTML file with chapters that start new pages; returns its words."""
    from PIL import Image, ImageDraw
    words = []
    parts = ["<html><head><title>Benchmark Voyage</title><style>h1 { page-break-before: always }"
             " p { text-align: justify }</style></head><body>"]
    for chapter in range(1, CHAPTERS + 1):
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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quillbook", default=os.path.join(ROOT, "build", "bin", "quillbook"))
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    # The baseline, the readers of both PDFs, and Pillow, which draws the book's pictures.
    baseline_tools.require([("ebook-convert", "calibre"), ("pdftotext", "poppler-utils"), ("pdfinfo", "poppler-utils")],
                           [("PIL", "python3-pil")])

    with tempfile.TemporaryDirectory(prefix="bench-quillbook-") as work:
        words = write_book(work, random.Random(18))
        epub = os.path.join(work, "book.epub")
        run(["ebook-convert", os.path.join(work, "book.html"), epub, "--title", "Benchmark Voyage",
             "--authors", "Bench Writer", "--no-default-epub-cover"], calibre_environment())

        request = os.path.join(work, "job.req")
        with open(request, "w") as out:
            json.dump({"file_id": "bench", "format": "epub", "page_size": "A4", "margin": 10}, out)
        ours = os.path.join(work, "quillbook.pdf")
        theirs = os.path.join(work, "calibre.pdf")
        margin = "28.35"  # 10 mm in points, as in the request
        quill_time = best_of(args.runs, [args.quillbook, "--o", request, "--s", epub, "--t", ours])
        calibre_time = best_of(args.runs, ["ebook-convert", epub, theirs, "--paper-size", "a4",
                                           "--pdf-page-margin-left", margin, "--pdf-page-margin-right", margin,
                                           "--pdf-page-margin-top", margin, "--pdf-page-margin-bottom", margin],
                               calibre_environment())

        print(f"EPUB of {len(words)} words (made by Calibre), best of {args.runs} runs")
        print(f"  {'converter':<22} {'seconds':>8} {'ratio':>7} {'pages':>6} {'words found':>12}")
        for name, seconds, pdf in (("ebook-convert", calibre_time, theirs), ("quillbook", quill_time, ours)):
            print(f"  {name:<22} {seconds:8.2f} {seconds / calibre_time:7.2f} {pages(pdf):6d} "
                  f"{100 * word_share(words, pdf):11.2f}%")
        print("  ratio: time relative to ebook-convert (below 1.00 is faster)")


if __name__ == "__main__":
    sys.exit(main())
