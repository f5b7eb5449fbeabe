#include "platform/pdf2word/engine/TuningFile.h"

#include "platform/pdf2word/engine/document/DocumentTuning.h"
#include "platform/pdf2word/engine/layout/LayoutTuning.h"
#include "platform/pdf2word/engine/read/ReadTuning.h"
#include "platform/pdf2word/engine/write/WriteTuning.h"

#include <QFile>
#include <QTextStream>

#include <type_traits>

namespace p2w {

const char kTuningVariable[] = "QP_PDF2WORD_TUNING";

namespace {

struct Tunings
{
    ReadTuning read;
    LayoutTuning layout;
    DocumentTuning document;
    WriteTuning write;
};

// Each value with the name a tuning file gives it.
template <typename Visit>
void forEachValue(Tunings& t, Visit visit)
{
#define QP_VALUE(stage, name) visit(QLatin1String(#stage "." #name), t.stage.name)
    QP_VALUE(read, lines.joinGap);
    QP_VALUE(read, lines.labelGap);
    QP_VALUE(read, lines.boldWeight);
    QP_VALUE(read, lines.spaceGap);
    QP_VALUE(read, lines.sameBaseline);
    QP_VALUE(read, lines.sameLineSizes);
    QP_VALUE(read, lines.mostOverlap);
    QP_VALUE(read, lines.shiftedSize);
    QP_VALUE(read, lines.shiftedGap);
    QP_VALUE(read, lines.baseSize);
    QP_VALUE(read, lines.raised);
    QP_VALUE(read, lines.lowered);
    QP_VALUE(read, lines.shiftGap);
    QP_VALUE(read, lines.tallestGlyph);
    QP_VALUE(read, lines.ascent);
    QP_VALUE(read, lines.overprint);
    QP_VALUE(read, lines.accentOverShare);
    QP_VALUE(read, lines.cjkPlaceStep);
    QP_VALUE(read, graphics.thinnest);
    QP_VALUE(read, graphics.straight);
    QP_VALUE(read, graphics.tiledShare);
    QP_VALUE(read, hidden.repeatedShare);
    QP_VALUE(read, hidden.pageShare);
    QP_VALUE(read, hidden.scannedShare);
    QP_VALUE(read, hidden.pieceGap);
    QP_VALUE(read, hidden.leastJudgedWords);
    QP_VALUE(read, hidden.leastKnownShare);
    QP_VALUE(read, hidden.leastInkedShare);
    QP_VALUE(read, hidden.paragraphPitch);
    QP_VALUE(read, hidden.ownParagraphWords);
    QP_VALUE(read, scan.cell);
    QP_VALUE(read, scan.lookDpi);
    QP_VALUE(read, scan.paperShare);
    QP_VALUE(read, scan.inkLevel);
    QP_VALUE(read, scan.inkShare);
    QP_VALUE(read, scan.textMargin);
    QP_VALUE(read, scan.leastTextInk);
    QP_VALUE(read, scan.mostGuessWords);
    QP_VALUE(read, scan.linkCells);
    QP_VALUE(read, scan.near);
    QP_VALUE(read, scan.leastRun);
    QP_VALUE(read, scan.thinCells);
    QP_VALUE(read, scan.thinShare);
    QP_VALUE(read, scan.leastSide);
    QP_VALUE(read, scan.leastDrawing);
    QP_VALUE(read, scan.drawingShare);
    QP_VALUE(read, scan.margin);
    QP_VALUE(read, scan.paperAround);
    QP_VALUE(read, ocr.readingDpi);
    QP_VALUE(read, ocr.margin);
    QP_VALUE(read, ocr.ink);
    QP_VALUE(read, ocr.leastScriptConfidence);
    QP_VALUE(read, ocr.leastLetters);
    QP_VALUE(read, ocr.oneScript);
    QP_VALUE(layout, lines.sameRow);
    QP_VALUE(layout, lines.leastDrop);
    QP_VALUE(layout, lines.proseWords);
    QP_VALUE(layout, lines.wrapPitch);
    QP_VALUE(layout, lines.wrapShare);
    QP_VALUE(layout, lines.sameEdge);
    QP_VALUE(layout, lines.backgroundShare);
    QP_VALUE(layout, checkBoxes.smallestBox);
    QP_VALUE(layout, checkBoxes.largestBox);
    QP_VALUE(layout, checkBoxes.square);
    QP_VALUE(layout, checkBoxes.onLine);
    QP_VALUE(layout, checkBoxes.labelGap);
    QP_VALUE(layout, checkBoxes.swatchShare);
    QP_VALUE(layout, checkBoxes.joinGap);
    QP_VALUE(layout, highlights.leastHeight);
    QP_VALUE(layout, highlights.mostHeight);
    QP_VALUE(layout, highlights.mostReach);
    QP_VALUE(layout, highlights.mostWordGap);
    QP_VALUE(layout, inlineFigures.mostHeight);
    QP_VALUE(layout, inlineFigures.leastOverlap);
    QP_VALUE(layout, inlineFigures.baselineReach);
    QP_VALUE(layout, inlineFigures.mostGap);
    QP_VALUE(layout, inlineFigures.spaced);
    QP_VALUE(layout, inlineFigures.joinGap);
    QP_VALUE(layout, ruledTables.snap);
    QP_VALUE(layout, ruledTables.reach);
    QP_VALUE(layout, ruledTables.shortest);
    QP_VALUE(layout, ruledTables.doubleBorder);
    QP_VALUE(layout, ruledTables.widestConnector);
    QP_VALUE(layout, ruledTables.largestSymbol);
    QP_VALUE(layout, ruledTables.leastHoldingShare);
    QP_VALUE(layout, shadedTables.gap);
    QP_VALUE(layout, shadedTables.sideShare);
    QP_VALUE(layout, shadedTables.bandGap);
    QP_VALUE(layout, shadedTables.leastFills);
    QP_VALUE(layout, shadedTables.leastRows);
    QP_VALUE(layout, shadedTables.lightest);
    QP_VALUE(layout, shadedTables.leastColumnRows);
    QP_VALUE(layout, shadedTables.mostColumnWords);
    QP_VALUE(layout, shadedTables.besideOnRows);
    QP_VALUE(layout, shadedTables.rowsCovered);
    QP_VALUE(layout, shadedTables.mostOverhang);
    QP_VALUE(layout, textTables.mostRowGap);
    QP_VALUE(layout, textTables.leastRows);
    QP_VALUE(layout, textTables.mostLabelWords);
    QP_VALUE(layout, gutters.leastGutter);
    QP_VALUE(layout, gutters.cellPadding);
    QP_VALUE(layout, gutters.sampleStep);
    QP_VALUE(layout, gutters.rowsPerIntruder);
    QP_VALUE(layout, gutters.leastRows);
    QP_VALUE(layout, textInCells.leastShare);
    QP_VALUE(layout, textInCells.otherSize);
    QP_VALUE(layout, textInCells.space);
    QP_VALUE(layout, runningText.leastPitch);
    QP_VALUE(layout, runningText.mostPitch);
    QP_VALUE(layout, runningText.sameSize);
    QP_VALUE(layout, runningText.sameEdge);
    QP_VALUE(layout, runningText.mostIndent);
    QP_VALUE(layout, runningText.widestWordGap);
    QP_VALUE(layout, runningText.leastLines);
    QP_VALUE(layout, runningText.sameBaseline);
    QP_VALUE(layout, panels.leastPanelEms);
    QP_VALUE(layout, panels.leastDrawnShapes);
    QP_VALUE(layout, panels.sidePanelShare);
    QP_VALUE(layout, panels.leastFrame);
    QP_VALUE(layout, panels.bandJoint);
    QP_VALUE(layout, figures.near);
    QP_VALUE(layout, figures.smallestDrawing);
    QP_VALUE(layout, figures.smallestPicture);
    QP_VALUE(layout, figures.mostlyText);
    QP_VALUE(layout, figures.labelReach);
    QP_VALUE(layout, figures.turnedLabelReach);
    QP_VALUE(layout, figures.mostInnerLabelWords);
    QP_VALUE(layout, figures.mostTitleWords);
    QP_VALUE(layout, figures.mostLabelsWords);
    QP_VALUE(layout, figures.mostLabelWords);
    QP_VALUE(layout, figures.labelWidthShare);
    QP_VALUE(layout, figures.neighbourLeastDrop);
    QP_VALUE(layout, figures.neighbourMostDrop);
    QP_VALUE(layout, figures.neighbourSizes);
    QP_VALUE(layout, figures.leastStrokes);
    QP_VALUE(layout, figures.backdropShare);
    QP_VALUE(layout, figures.stripWidth);
    QP_VALUE(layout, figures.tableShare);
    QP_VALUE(layout, figures.bandShare);
    QP_VALUE(layout, figures.gridSameEnd);
    QP_VALUE(layout, figures.gridThinLine);
    QP_VALUE(layout, figures.gridPitchReach);
    QP_VALUE(layout, blockRows.mostDrop);
    QP_VALUE(layout, blockRows.likeSizes);
    QP_VALUE(layout, blockRows.axisPoints);
    QP_VALUE(layout, blockRows.axisShare);
    QP_VALUE(layout, blockRows.flushPoints);
    QP_VALUE(layout, blockRows.mostBlockLines);
    QP_VALUE(layout, blockRows.rowBaseline);
    QP_VALUE(layout, blockRows.aboveGap);
    QP_VALUE(layout, blockRows.belowGap);
    QP_VALUE(layout, columns.slack);
    QP_VALUE(layout, columns.leastGutter);
    QP_VALUE(layout, columns.leastLines);
    QP_VALUE(layout, columns.leastTextColumnWidth);
    QP_VALUE(layout, readingOrder.turned);
    QP_VALUE(layout, readingOrder.floatGap);
    QP_VALUE(layout, paragraphs.marginShare);
    QP_VALUE(layout, paragraphs.mostDrop);
    QP_VALUE(layout, paragraphs.likeSizes);
    QP_VALUE(layout, paragraphs.sizeChange);
    QP_VALUE(layout, paragraphs.widerPitch);
    QP_VALUE(layout, paragraphs.headingRoom);
    QP_VALUE(layout, paragraphs.stretchedGap);
    QP_VALUE(layout, paragraphs.sameEnd);
    QP_VALUE(layout, paragraphs.leastIndent);
    QP_VALUE(layout, paragraphs.mostIndent);
    QP_VALUE(layout, paragraphs.flushIndent);
    QP_VALUE(layout, paragraphs.leastListLines);
    QP_VALUE(layout, paragraphs.evenPitch);
    QP_VALUE(layout, paragraphs.shortestNoteRule);
    QP_VALUE(layout, paragraphs.noteRuleShare);
    QP_VALUE(layout, paragraphs.linesAboveNotes);
    QP_VALUE(layout, paragraphs.noteSize);
    QP_VALUE(document, pages.leastMargin);
    QP_VALUE(document, pages.mostMargin);
    QP_VALUE(document, pages.lastLineRoom);
    QP_VALUE(document, pages.shortPage);
    QP_VALUE(document, pages.linesToSpare);
    QP_VALUE(document, pages.usualLineSize);
    QP_VALUE(document, pages.sameSize);
    QP_VALUE(document, pages.sameColumnEdge);
    QP_VALUE(document, pages.shortColumnLines);
    QP_VALUE(document, paragraphs.mostPitch);
    QP_VALUE(document, paragraphs.leastIndent);
    QP_VALUE(document, paragraphs.narrowerBy);
    QP_VALUE(document, paragraphs.leastLineEms);
    QP_VALUE(document, paragraphs.footGapLines);
    QP_VALUE(document, paragraphs.besideShare);
    QP_VALUE(document, paragraphs.leastBoxIndent);
    QP_VALUE(document, paragraphs.naturalLeading);
    QP_VALUE(document, paragraphs.descent);
    QP_VALUE(document, paragraphs.mostSpace);
    QP_VALUE(document, paragraphs.lowLines);
    QP_VALUE(document, pictures.drawingDpi);
    QP_VALUE(document, pictures.leastDpi);
    QP_VALUE(document, pictures.mostPixels);
    QP_VALUE(document, pictures.leastStrokeWidth);
    QP_VALUE(write, floatGap);
    QP_VALUE(write, marginTextTwips);
    QP_VALUE(write, roomyLeading);
#undef QP_VALUE
}

// Sets the named value from its text; false for an unknown name or a text of the wrong kind.
bool setValue(Tunings& tunings, const QString& name, const QString& text)
{
    bool found = false;
    bool ok = false;
    forEachValue(tunings, [&](QLatin1String key, auto& value) {
        if (found || key != name)
            return;
        found = true;
        using Value = std::remove_reference_t<decltype(value)>;
        Value read;
        if constexpr (std::is_same_v<Value, int>)
            read = text.toInt(&ok);
        else if constexpr (std::is_same_v<Value, float>)
            read = text.toFloat(&ok);
        else
            read = text.toDouble(&ok);
        if (ok)
            value = read;
    });
    return found && ok;
}

} // namespace

bool applyTuningFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("Cannot read the tuning file %1").arg(path);
        return false;
    }
    Tunings tunings{readTuning(), layoutTuning(), documentTuning(), writeTuning()};
    QTextStream in(&file);
    for (int number = 1; !in.atEnd(); ++number) {
        const QString line = in.readLine().section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0 || !setValue(tunings, line.left(equals).trimmed(), line.mid(equals + 1).trimmed())) {
            *error = QStringLiteral("Tuning file %1, line %2: no known name = number: %3").arg(path).arg(number).arg(line);
            return false;
        }
    }
    changeableTuning<ReadTuning>() = tunings.read;
    changeableTuning<LayoutTuning>() = tunings.layout;
    changeableTuning<DocumentTuning>() = tunings.document;
    changeableTuning<WriteTuning>() = tunings.write;
    return true;
}

QString applyTuningFromEnvironment()
{
    static const QString error = [] {
        const QString path = qEnvironmentVariable(kTuningVariable);
        QString message;
        if (!path.isEmpty())
            applyTuningFile(path, &message);
        return message;
    }();
    return error;
}

void resetTuning()
{
    changeableTuning<ReadTuning>() = ReadTuning();
    changeableTuning<LayoutTuning>() = LayoutTuning();
    changeableTuning<DocumentTuning>() = DocumentTuning();
    changeableTuning<WriteTuning>() = WriteTuning();
}

} // namespace p2w
