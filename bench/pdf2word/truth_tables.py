#!/usr/bin/python3
"""truth_tables.py SCORER DATA DOCX_FOLDER

How the tables of each DOCX in DOCX_FOLDER (NAME.docx, as the ICDAR table scorer leaves them)
stand against the truth in DATA (NAME-str.xml, NAMEb-str.xml as a second reading of NAMEa), in
two counts the adjacency relations do not show:
  * one-cell tables inside a truth table: DOCX tables of a single cell whose words stand (80 %
    of them or more) among the words of one truth table of more than one cell: a table's cell
    written as a table of its own;
  * truth tables not written as one table: no single DOCX table holds 80 % of the truth table's
    words.
SCORER is the scorer's own file (word-tables-icdar.py): its DOCX reader, truth reader, word
normalisation (NFKC, lower case, letters and digits only) and its choice of the reading with the
better F1 are used as they are, so both count the same words. Prints one JSON object.
"""
import collections
import importlib.util
import json
import os
import sys

SHARE = 0.8


def load_scorer(path):
    spec = importlib.util.spec_from_file_location('icdar_scorer', path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def share_within(part, whole):
    total = sum(part.values())
    return sum((part & whole).values()) / total if total else 0.0


def document_counts(scorer, versions, docx):
    try:
        tables, body = scorer.read_docx(docx)
    except Exception:   # no DOCX or an unreadable one: every truth table unwritten
        tables, body = [], ''
    best = scorer.score_doc([(v, scorer.gt_tables(p)) for v, p in versions], tables, body)

    def bag(cells):
        return collections.Counter(w for cell in cells for w in scorer.words(cell[4]))

    truth = [(bag(cells), len(cells)) for cells in best['tabs']]
    written = [(bag(cells), len(cells)) for cells in tables]
    one_cell_inside = sum(1 for words, cells in written
                          if cells == 1 and words
                          and any(n > 1 and share_within(words, t) >= SHARE for t, n in truth))
    split = sum(1 for words, _ in truth
                if words and max([share_within(words, w) for w, _ in written] or [0.0]) < SHARE)
    return dict(reading=best['version'], truthTables=len(truth), written=len(written),
                oneCellInside=one_cell_inside, notOneTable=split)


def main():
    if len(sys.argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    scorer = load_scorer(sys.argv[1])
    data, folder = sys.argv[2], sys.argv[3]
    documents = []
    for entry in sorted(os.listdir(data)):
        if not entry.endswith('.pdf'):
            continue
        name = entry[:-4]
        versions = [(name, os.path.join(data, name + '-str.xml'))]
        second = os.path.join(data, name[:-1] + 'b-str.xml')
        if name.endswith('a') and os.path.exists(second):
            versions.append((name[:-1] + 'b', second))
        counts = document_counts(scorer, versions, os.path.join(folder, name + '.docx'))
        counts['name'] = name
        documents.append(counts)
    json.dump(dict(documents=documents), sys.stdout, indent=1)
    return 0


if __name__ == '__main__':
    sys.exit(main())
