#pragma once

// The document the engine writes, whatever the road: flowing paragraphs of formatted runs and
// pictures, in reading order. Both roads fill it, every output format is written from it.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSizeF>
#include <QString>

namespace p2w {

struct FlowRun
{
    QString text;   // may hold '\n' where the source broke a line, until the paragraph is tidied
    QString font;   // family name
    double size = 0; // points
    bool bold = false;
    bool italic = false;

    bool sameLook(const FlowRun& other) const;
};

struct FlowImage
{
    QByteArray data;  // the encoded picture
    QString type;     // "png" or "jpeg"
    double width = 0; // points, as placed on the page
    double height = 0;
};

struct FlowBlock
{
    enum Kind { Paragraph, Image };
    Kind kind = Paragraph;
    QString align = QStringLiteral("left"); // left, center, right, both
    QList<FlowRun> runs;
    int image = -1; // index into FlowDocument::images for an Image block

    QString text() const;
};

struct FlowDocument
{
    QList<FlowBlock> blocks;
    QList<FlowImage> images;
    QSizeF pageSize; // points, of the first converted page
    QString title;

    // The font size most of the text is set in; 0 without text.
    double bodySize() const;
};

// The font size (points) most characters of the runs are set in; 0 without text.
double mainSize(const QList<FlowRun>& runs);

// Turns the line breaks the source left inside paragraphs into flowing text: a break where the
// look of the text changes, or a change of at least a fifth in size (a heading followed by its
// paragraph), ends the paragraph there; every other break joins the lines with one space (none
// after a hyphen or a space). Empty paragraphs go.
void tidyParagraphs(QList<FlowBlock>& blocks);

// The words of a text for comparing two renderings of it: runs of letters and digits, with
// ligatures and other compatibility forms unfolded. Counted per word.
QHash<QString, int> countWords(const QString& text);
// The share of the reference's words that the other text holds too (1 for an empty reference).
double wordShare(const QHash<QString, int>& reference, const QHash<QString, int>& other);
// All paragraph text of the blocks, paragraphs separated by line feeds.
QString plainText(const QList<FlowBlock>& blocks);

} // namespace p2w
