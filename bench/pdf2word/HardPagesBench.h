#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

// The benchmark's second part: pages that lose their text or stop a converter that reads only
// what a page shows (scans with a text layer, a font without a Unicode map, a heavy poster, text
// drawn 100,000 times at one spot), converted by the component and by "mutool convert"; and a
// stop during every page of every document.
struct HardPagesTools
{
    std::function<QString(const QString& pdf)> referenceText;            // pdftotext's words
    std::function<QString(const QString& docx, int pages)> docxText;     // what a DOCX shows
    std::function<bool(const QString& pdf, const QString& docx)> mutool; // mutool convert
};

// Makes the pages in root/hard (scans of scannedPaper), converts them, measures the stops on the
// pages of earlierPdfs and the hard pages, and prints the figures and goals to out. Returns
// whether ours converted every hard file.
bool runHardPages(const QString& root, const QString& scannedPaper, const QStringList& earlierPdfs,
                  const HardPagesTools& tools, QTextStream& out);
