#pragma once

#include "bench/pdf2word/DocxStructure.h"
#include "bench/pdf2word/StructureTruth.h"

#include <QStringList>

// How well a Word document keeps the structure of the document it was converted from, measured
// against that document's truth. Counts, so that documents add up to a corpus's figures.
struct StructureScores
{
    // Table cells: each output cell's text matched to a source cell of the same row of a source
    // table, cells in the row's order (or mirrored, for right-to-left tables), rows in order.
    int truthCells = 0;
    int outputCells = 0;
    int matchedTruthCells = 0;
    int matchedOutputCells = 0;
    // Words of running text, headings, boxes, captions and footnotes that sit in a table cell
    // that is no cell of the source.
    int runningWords = 0;
    int runningWordsInTables = 0;
    // The source's words (figure labels left out) the output holds as text, and those it holds
    // only in a picture's description.
    int words = 0;
    int wordsKept = 0;
    int wordsOnlyInPictures = 0;
    // Consecutive paragraphs of the running text (headings and contents included) whose first
    // and last words come in order in the output, the first paragraph ending before the next
    // one starts.
    int pairs = 0;
    int pairsInOrder = 0;
    // Pictures, charts and diagrams of the source: written as a picture of the shape they have on
    // the page at (nearly) their size there, fitted to the Word page's text area at most.
    int pictures = 0;
    int picturesLost = 0;
    int picturesShrunk = 0;

    void add(const StructureScores& other);
};

namespace StructureMeasures {

// The words of a text: runs of letters and digits after compatibility normalisation (ligatures
// unfolded), each Chinese or Japanese character a word of its own.
QStringList words(const QString& text);

StructureScores measure(const StructureTruth& truth, const DocxStructure& docx);

} // namespace StructureMeasures
