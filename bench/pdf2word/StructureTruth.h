#pragma once

#include <QList>
#include <QString>

// What a document of the structure corpus holds, as its generator recorded it from the source
// (bench/pdf2word/structure/truth.py writes it as <name>.json beside the PDF).
struct StructureTruth
{
    struct Text
    {
        QString kind; // body, heading, toc, box, caption, note, form or label
        QString text;
    };
    struct Cell
    {
        int row = 0;
        int column = 0;
        QString text;
    };
    struct Picture
    {
        double width = 0; // points, as it stands on the page
        double height = 0;
        QString kind; // photo, chart or diagram
    };

    QString name;
    QString producer;
    QString about;
    QList<Text> texts; // in reading order
    QList<QList<Cell>> tables;
    QList<Picture> pictures;

    // Read in order, one after the other: running text, headings and a table of contents.
    static bool isFlow(const QString& kind);
    // Never a table's cell: running text, headings, boxes beside the text, captions, footnotes.
    static bool isRunning(const QString& kind);
};

// Reads a truth file; false when it is missing or malformed.
bool readStructureTruth(const QString& path, StructureTruth* truth);
