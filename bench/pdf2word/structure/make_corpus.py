#!/usr/bin/env python3
"""Writes the structure corpus into a folder: each document's source (flat ODF or HTML, in
source/), its truth (<name>.json) and its PDF (<name>.pdf), printed by the producer that makes such
documents: LibreOffice for Writer, Calc, Impress and Draw files and for some of the web pages (all
in one run of soffice), Chromium for the other web pages.

Usage: make_corpus.py FOLDER [NAME ...]   (the named documents only; all by default)
Prints a line per document; exits 1 when a document could not be printed."""
import concurrent.futures
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import corpus  # noqa: E402

SOFFICE = "/usr/lib/libreoffice/program/soffice"


def print_office(sources, folder):
    """Prints the sources in one run of soffice per kind: web pages open in Writer (its own web
    view prints a blank first page and drops the headings), the rest in their own module."""
    profile = os.path.join(folder, ".profile-office")
    pages = [s for s in sources if s.endswith(".html")]
    for chosen, options in (([s for s in sources if s not in pages], ["--convert-to", "pdf"]),
                            (pages, ["--infilter=HTML (StarWriter)", "--convert-to", "pdf:writer_pdf_Export"])):
        if chosen:
            subprocess.run([SOFFICE, "--headless", f"-env:UserInstallation=file://{profile}"] + options + ["--outdir", folder]
                           + chosen, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=900, check=False)
    shutil.rmtree(profile, ignore_errors=True)


def print_chromium(source, pdf, margins):
    profile = pdf + ".chromium-profile"
    shutil.rmtree(profile, ignore_errors=True)
    command = ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
               "--disable-component-update", "--disable-sync", "--disable-quic", f"--user-data-dir={profile}",
               f"--print-to-pdf={pdf}"]
    if not margins:
        command.append("--no-pdf-header-footer")
    try:
        subprocess.run(command + ["file://" + os.path.abspath(source)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=180, check=False)
    finally:
        shutil.rmtree(profile, ignore_errors=True)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    folder = os.path.abspath(sys.argv[1])
    wanted = set(sys.argv[2:])
    sources = os.path.join(folder, "source")
    os.makedirs(sources, exist_ok=True)
    office, chromium = [], []
    documents = [d for d in corpus.DOCUMENTS if not wanted or d[0] in wanted]
    for name, producer, suffix, build in documents:
        document = build(name)
        source = os.path.join(sources, name + suffix)
        document.write(source)
        document.truth.write(os.path.join(folder, name + ".json"))
        pdf = os.path.join(folder, name + ".pdf")
        if os.path.exists(pdf):
            os.remove(pdf)
        (office if producer == "office" else chromium).append((source, pdf, name in corpus.CHROMIUM_MARGINS))
    with concurrent.futures.ThreadPoolExecutor(max_workers=3) as pool:
        printed = [pool.submit(print_chromium, *job) for job in chromium]
        print_office([source for source, _, _ in office], folder)
        for job in printed:
            job.result()
    failed = 0
    for name, producer, suffix, build in documents:
        pdf = os.path.join(folder, name + ".pdf")
        ok = os.path.exists(pdf) and os.path.getsize(pdf) > 0
        failed += 0 if ok else 1
        print(f"{name:26} {'printed' if ok else 'NOT PRINTED'}")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
