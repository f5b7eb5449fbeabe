#!/usr/bin/env python3
"""Copies the layered sources into a temporary folder, plants one violation of each kind and
expects scripts/check-layering to report exactly those, and nothing on the untouched copy.

Usage: test_check_layering.py CHECK QT_HEADERS SOURCE_ROOT
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

check, qt_headers, root = sys.argv[1:4]


def run(tree):
    result = subprocess.run([sys.executable, check, '--qt-headers', qt_headers, tree], capture_output=True, text=True)
    lines = result.stdout.splitlines()
    return result.returncode, lines[:-1], lines[-1] if lines else ''


def append(tree, path, text):
    with open(os.path.join(tree, path), 'a', encoding='utf-8') as f:
        f.write(text)


def write(tree, path, text):
    os.makedirs(os.path.dirname(os.path.join(tree, path)), exist_ok=True)
    with open(os.path.join(tree, path), 'w', encoding='utf-8') as f:
        f.write(text)


failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


with tempfile.TemporaryDirectory() as tree:
    shutil.copy(os.path.join(root, 'CMakeLists.txt'), tree)
    table = open(os.path.join(root, 'CMakeLists.txt'), encoding='utf-8').read()
    folders = re.search(r'set\(\s*QP_LAYERS\b(.*?)\)', table, re.S).group(1)
    for folder in re.findall(r'[a-z]+(?:/[a-z]+)*', re.sub(r'"\s*[a-z]+\s*:', '', folders)):
        if os.path.isdir(os.path.join(root, folder)):
            shutil.copytree(os.path.join(root, folder), os.path.join(tree, folder), dirs_exist_ok=True)

    code, problems, summary = run(tree)
    expect(code == 0 and not problems, 'the copy of the sources passes: %s' % (problems or summary))

    planted = {
        # A layer above: the lowest layer reaching the shell, an engine reaching a view.
        'platform/registry/RegistryStore.cpp': ('#include "app/core/Logger.h"\n', 'includes app/core/Logger.h'),
        'frompdf/engine/FromPdfAlgorithm.cpp': ('#include "ui/mainwindow/MainView.h"\n', 'includes ui/mainwindow/MainView.h'),
        # The two directions: a to-PDF worker and the OCR converter reaching each other.
        'topdf/workers/PlantedWorker.h': ('#pragma once\n#include "frompdf/engine/FromPDFTask.h"\n',
                                          'includes frompdf/engine/FromPDFTask.h across'),
        'frompdf/ocr/FromPDFOCR.cpp': ('#include "topdf/workers/PlantedWorker.h"\n', 'includes topdf/workers/PlantedWorker.h across'),
        # Widget headers below the widget layer, bare and with their module.
        'services/update/UpdateChecker.cpp': ('#include <QMessageBox>\n', 'widget header <QMessageBox>'),
        'frompdf/model/FromPDFModel.cpp': ('#include <QtWidgets/QLabel>\n', 'widget header <QtWidgets/QLabel>'),
        # A stage of the PDF-to-Word engine reaching a later stage, one reaching an earlier stage
        # that its row of the stage table does not list, and one reaching the conversion that ties
        # the stages together.
        'platform/pdf2word/engine/read/PageReader.cpp': ('#include "platform/pdf2word/engine/layout/PageLayout.h"\n',
                                                         'includes platform/pdf2word/engine/layout/PageLayout.h (stage layout)'),
        'platform/pdf2word/engine/write/DocxPackage.cpp': ('#include "platform/pdf2word/engine/layout/PageLayout.h"\n',
                                                           'includes platform/pdf2word/engine/layout/PageLayout.h (stage layout)'),
        'platform/pdf2word/engine/write/ZipFile.cpp': ('#include "platform/pdf2word/engine/Conversion.h"\n',
                                                       'includes platform/pdf2word/engine/Conversion.h (beside the stages)'),
        # A project header by its bare name, which only the including file's folder resolves.
        'frompdf/check/CheckController.cpp': ('#include "%s"\n' % 'CheckController.h',
                                              'write the path from the repository root'),
    }
    for path, (text, _) in planted.items():
        if os.path.exists(os.path.join(tree, path)):
            append(tree, path, text)
        else:
            write(tree, path, text)
    # Allowed: a view reaching the application object, the OCR converter reaching the office
    # service, an engine using a GUI (not widget) header.
    append(tree, 'frompdf/views/FromPDFView.cpp', '#include "app/Application.h"\n')
    append(tree, 'frompdf/ocr/FromPDFOCR.cpp', '#include "shared/office/OfficeService.h"\n#include <QImage>\n')
    # Allowed: a stage of the engine reaching the earlier stages its row lists, the conversion
    # reaching a stage.
    append(tree, 'platform/pdf2word/engine/write/OutputCommon.cpp', '#include "platform/pdf2word/engine/model/UnionFind.h"\n')
    append(tree, 'platform/pdf2word/engine/document/DocumentSpacing.cpp', '#include "platform/pdf2word/engine/read/Bidi.h"\n')
    append(tree, 'platform/pdf2word/engine/Conversion.cpp', '#include "platform/pdf2word/engine/write/ZipFile.h"\n')

    code, problems, summary = run(tree)
    expect(code == 1, 'the planted tree fails (exit %d)' % code)
    for path, (_, message) in planted.items():
        expect(any(p.startswith(path) and message in p for p in problems), 'reported: %s %s' % (path, message))
    expect(len(problems) == len(planted), 'nothing else reported: %s' % problems)

for failure in failures:
    print('FAIL:', failure)
print('%d check(s) failed' % len(failures))
sys.exit(1 if failures else 0)
