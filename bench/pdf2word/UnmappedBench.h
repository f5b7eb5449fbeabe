#pragma once

#include "bench/pdf2word/HardPagesBench.h"

#include <QString>
#include <QTextStream>

// The benchmark's third part: text in fonts without a Unicode map, read by OCR. A paper printed
// by htmldoc whose body font has no map (against the tesseract command line on its pages drawn
// at 300 dpi: words, word pairs in order, time), its tables; an Arabic page whose font has no map
// or maps only some letters (against pdftotext of the page with its map; words that mix Latin
// and Arabic letters); a page with a glyph as large as the coordinate space.
// Makes the files in root/unmapped, prints the figures and goals to out. Returns whether ours
// converted every file.
bool runUnmappedText(const QString& root, const HardPagesTools& tools, QTextStream& out);
