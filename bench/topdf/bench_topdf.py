#!/usr/bin/python3
"""Benchmark of the to-PDF run (build/bin/topdf_run, the run the "To PDF" tab starts) against
established tools, side by side on the same inputs in one run. Each figure is printed with its
ratio to the baseline (below 1.0: ours is faster, smaller or leaner). Run from anywhere:

    bench/topdf/bench_topdf.py [--build build]

1. 50 JPEG photos merged into one PDF against img2pdf: time, size, and whether every photo's
   JPEG data sits in the PDF unchanged (pdfimages -all, compared byte for byte);
2. 200 photos merged: peak memory of the run against img2pdf's;
3. 20-page TIFF files (a colour LZW page set at 150 dpi, a bilevel G4 scan at 300 dpi, both
   rendered by Ghostscript from a LibreOffice document) against tiff2pdf: time and size;
4. that LibreOffice document as DOCX through the office worker against a bare
   "soffice --convert-to pdf" (each with a fresh profile, as the worker's runs have).

Needs img2pdf and PIL for Python, tiff2pdf, pdfimages, Ghostscript and LibreOffice (Debian
python3-img2pdf, python3-pil, libtiff-tools, poppler-utils, ghostscript, libreoffice-writer-nogui)."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time
from multiprocessing import Pool

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(ROOT, "bench", "pdflibrary"))
sys.path.insert(0, os.path.join(ROOT, "bench", "support"))
import baseline_tools  # noqa: E402

# The baselines, the PDF image reader, the makers of the inputs (Pillow draws the photos).
baseline_tools.require([("tiff2pdf", "libtiff-tools"), ("pdfimages", "poppler-utils"), ("gs", "ghostscript"),
                        ("soffice", "libreoffice-writer-nogui")],
                       [("img2pdf", "python3-img2pdf"), ("PIL", "python3-pil")])
import documents  # noqa: E402
import inputs  # noqa: E402

RUNS = 3
PHOTO_SIZE = (3000, 2000)  # 6 megapixels


def measured(command):
    """Runs command to its end; (seconds, peak resident memory of the process in MB)."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: " + " ".join(command[:4]) + " ...")
    return seconds, usage.ru_maxrss / 1024


def best_of(command, prepare, runs=RUNS):
    """The fastest of several runs (prepare() before each, not timed) and its peak memory."""
    results = []
    for _ in range(runs):
        prepare()
        results.append(measured(command))
    return min(results)


def fresh(*folders):
    def make():
        for folder in folders:
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)
    return make


def report(title, baseline, rows, unit):
    print(title)
    name, value = baseline
    print(f"  {name:<34} {value:10.2f} {unit}")
    for name, ours in rows:
        print(f"  {name:<34} {ours:10.2f} {unit}   ratio {ours / value:5.2f}")


def make_photo(arguments):
    path, seed = arguments
    inputs.photo(path, seed, PHOTO_SIZE)


def photos_case(run, work, photos):
    ours_folder, theirs_folder = os.path.join(work, "ours"), os.path.join(work, "theirs")
    theirs_pdf = os.path.join(theirs_folder, "photos.pdf")
    img2pdf = [sys.executable, "-m", "img2pdf", "-o", theirs_pdf, *photos]
    ours = [run, "--merge", "--fit", ours_folder, *photos]
    theirs_time, _ = best_of(img2pdf, fresh(theirs_folder))
    ours_time, _ = best_of(ours, fresh(ours_folder))
    merged = os.path.join(ours_folder, "merged.pdf")
    report(f"{len(photos)} JPEG photos ({PHOTO_SIZE[0]}x{PHOTO_SIZE[1]}) merged into one PDF, seconds",
           ("img2pdf", theirs_time), [("to-PDF run", ours_time)], "s")
    report("  output size", ("img2pdf", os.path.getsize(theirs_pdf) / 1e6),
           [("to-PDF run", os.path.getsize(merged) / 1e6)], "MB")

    extracted = os.path.join(work, "extracted")
    fresh(extracted)()
    subprocess.run(["pdfimages", "-all", merged, os.path.join(extracted, "i")], check=True)
    names = sorted(os.listdir(extracted))
    same = sum(1 for name, photo in zip(names, photos)
               if name.endswith(".jpg") and open(os.path.join(extracted, name), "rb").read() == open(photo, "rb").read())
    print(f"  JPEG data unchanged in the PDF: {same} of {len(photos)} photos")
    return {"photos time / img2pdf": ours_time / theirs_time,
            "photos size / img2pdf": os.path.getsize(merged) / os.path.getsize(theirs_pdf),
            "photos passed through": same / len(photos)}


def memory_case(run, work, photos):
    ours_folder, theirs_folder = os.path.join(work, "ours"), os.path.join(work, "theirs")
    fresh(ours_folder, theirs_folder)()
    theirs_time, theirs_peak = measured([sys.executable, "-m", "img2pdf", "-o",
                                         os.path.join(theirs_folder, "all.pdf"), *photos])
    ours_time, ours_peak = measured([run, "--merge", "--fit", ours_folder, *photos])
    total = sum(os.path.getsize(photo) for photo in photos) / 2**20
    report(f"{len(photos)} photos ({total:.0f} MB of JPEG) merged: peak memory", ("img2pdf", theirs_peak),
           [("to-PDF run", ours_peak)], "MB")
    report("  time", ("img2pdf", theirs_time), [("to-PDF run", ours_time)], "s")
    print(f"  peak memory of the run: {ours_peak:.0f} MB ({ours_peak / total:.2f} x the photos' size)")
    return {"200 photos peak MB": ours_peak, "200 photos peak / img2pdf": ours_peak / theirs_peak}


def tiff_case(run, work, name, tiff):
    ours_folder, theirs_folder = os.path.join(work, "ours"), os.path.join(work, "theirs")
    theirs_pdf = os.path.join(theirs_folder, "theirs.pdf")
    theirs_time, _ = best_of(["tiff2pdf", "-z", "-o", theirs_pdf, tiff], fresh(theirs_folder))
    ours_time, _ = best_of([run, "--fit", ours_folder, tiff], fresh(ours_folder))
    ours_pdf = os.path.join(ours_folder, os.path.splitext(os.path.basename(tiff))[0] + ".pdf")
    report(f"20-page TIFF, {name} ({os.path.getsize(tiff) / 1e6:.1f} MB), seconds", ("tiff2pdf -z", theirs_time),
           [("to-PDF run", ours_time)], "s")
    report("  output size", ("tiff2pdf -z", os.path.getsize(theirs_pdf) / 1e6),
           [("to-PDF run", os.path.getsize(ours_pdf) / 1e6)], "MB")
    return {f"TIFF {name} time / tiff2pdf": ours_time / theirs_time,
            f"TIFF {name} size / tiff2pdf": os.path.getsize(ours_pdf) / os.path.getsize(theirs_pdf)}


def docx_case(run, work, docx):
    ours_folder, theirs_folder = os.path.join(work, "ours"), os.path.join(work, "theirs")
    profile = os.path.join(work, "profile")
    bare = ["soffice", "--headless", "-env:UserInstallation=file://" + profile, "--convert-to", "pdf",
            "--outdir", theirs_folder, docx]
    # Interleaved, so that a busy moment of the machine hits both sides alike.
    theirs, ours = [], []
    for _ in range(5):
        fresh(theirs_folder, profile)()
        theirs.append(measured(bare)[0])
        fresh(ours_folder)()
        ours.append(measured([run, ours_folder, docx])[0])
    warm = min(measured(bare)[0] for _ in range(3))
    report(f"DOCX ({os.path.getsize(docx) / 1e3:.0f} kB) to PDF, seconds", ("soffice --convert-to pdf", min(theirs)),
           [("office worker", min(ours))], "s")
    print(f"  bare soffice with an already used profile: {warm:.2f} s (ours / that {min(ours) / warm:.2f})")
    return {"DOCX time / soffice": min(ours) / min(theirs)}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"), help="the build folder")
    arguments = parser.parse_args()
    run = os.path.join(arguments.build, "bin", "topdf_run")
    if not os.access(run, os.X_OK):
        sys.exit(f"{run} is missing: build the project first")

    work = tempfile.mkdtemp(prefix="bench-topdf-")
    try:
        print("Making the inputs ...", flush=True)
        photos = [os.path.join(work, "photo%03d.jpg" % i) for i in range(200)]
        with Pool(4) as pool:
            pool.map(make_photo, [(path, seed) for seed, path in enumerate(photos)])
        source = os.path.join(work, "report.fodt")
        documents.flat_odt(source, 22)
        docx = documents.libreoffice(source, "docx", work)
        pdf = documents.libreoffice(source, "pdf", work)
        colour = documents.tiff(pdf, os.path.join(work, "colour.tif"), "tiff24nc", 150, 20, ["-sCompression=lzw"])
        scan = documents.tiff(pdf, os.path.join(work, "scan.tif"), "tiffg4", 300, 20)

        ratios = {}
        ratios.update(photos_case(run, os.path.join(work, "photos"), photos[:50]))
        ratios.update(memory_case(run, os.path.join(work, "memory"), photos))
        ratios.update(tiff_case(run, os.path.join(work, "colour"), "colour 150 dpi LZW", colour))
        ratios.update(tiff_case(run, os.path.join(work, "scan"), "bilevel 300 dpi G4", scan))
        ratios.update(docx_case(run, os.path.join(work, "docx"), docx))
        print("\nSummary")
        for key, value in ratios.items():
            print(f"  {key:<40} {value:8.2f}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
