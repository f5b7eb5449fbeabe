#pragma once

#include <QString>
#include <QTextStream>

#include <functional>

// The benchmark's structure part: a corpus whose structure is known because it is made here from
// source documents (bench/pdf2word/structure/make_corpus.py: Writer, Calc, Impress and Draw files
// printed by LibreOffice, web pages printed by Chromium and by LibreOffice), converted by the
// component, by "mutool convert" and by LibreOffice's PDF import, each DOCX measured against its
// source (StructureMeasures.h) and printed by LibreOffice to compare its pages; the component's
// pages beside the originals in a gallery of PNGs.
struct StructureTools
{
    std::function<bool(const QString& pdf, const QString& docx)> mutool; // mutool convert
    QString soffice;                                                     // LibreOffice, the baseline
};

// Makes the corpus in root/structure, converts and measures it, writes the gallery into
// galleryFolder and prints the figures and goals to out. Returns whether the corpus was made and
// ours converted every document of it.
bool runStructureBench(const QString& root, const QString& galleryFolder, const StructureTools& tools, QTextStream& out);
