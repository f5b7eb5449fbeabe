#pragma once

#include <QString>
#include <QTextStream>

// The benchmark's real-producer part: files other producers made, with a truth or a peer's own pass
// marks, from the shared folder beside the repository (QP_SHARED names another): corpus/ and the
// scorers in tools/.
//   - ICDAR 2013's EU tables (word-tables-icdar.py): the adjacency relations' precision, recall and
//     F1, tables written, documents with a truth table not written and the time, against "mutool
//     convert" scored in the same run; with truth_tables.py beside this file, one-cell tables that
//     hold a truth table's cell and truth tables not written as one table; each DOCX printed by
//     LibreOffice, its pages against the original's.
//   - pdf2docx's samples (word-pdf2docx-suite.py): each print's similarity to the original and its
//     pages, against pdf2docx's pass marks and pdf2docx's own figures kept in the corpus's README
//     (pdf2docx cannot run here), and its table-extraction case.
// Each original's pages beside our printed pages go to one PNG per document in galleryFolder.
// Prints one line and returns true when the corpus or the scorers are not there. Otherwise returns
// whether the scorers ran and ours converted every document; missed goals only print.
bool runRealProducerBench(const QString& root, const QString& galleryFolder, const QString& soffice, QTextStream& out);
