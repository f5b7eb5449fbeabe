#pragma once

#include "bench/pdf2word/HardPagesBench.h"

#include <QString>
#include <QTextStream>

// The benchmark's third part: scans with a text layer read by the tesseract command line, and
// Chinese text. A Chinese report printed by LibreOffice, the same drawn at 300 dpi with noise and
// recognised with Tesseract's Chinese model, and that layer drawn in a glyph-less font: the
// neighbouring Chinese characters that spaces part, and the source's character pairs kept. Pages
// with figures drawn at 300 dpi with noise and recognised (a LibreOffice report with a diagram and
// a signature; a Qt page with a diagram, a photo and a signature): the figures kept as pictures of
// their own size, and the layer's words kept. Ours against "mutool convert" in the same run.
// Makes the files in root/scans and prints the figures and goals to out; returns whether ours
// converted every file.
bool runScanPages(const QString& root, const HardPagesTools& tools, QTextStream& out);
