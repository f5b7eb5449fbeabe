#pragma once

#include <QByteArray>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

// What a Word document shows a reader, read from its parts: the text of its paragraphs in order,
// its tables cell by cell, its pictures with their size, and its page's text area. Written by any
// converter: a part's XML need not follow the schema (text runs holding line breaks are read),
// and a shape's content that the writer repeats for older readers (mc:Fallback) is read once.
struct DocxStructure
{
    struct Cell
    {
        int row = 0;
        int column = 0; // the grid column where the cell starts
        QString text;   // its paragraphs, nested tables' cells included, joined by spaces
    };
    struct Picture
    {
        double width = 0; // points
        double height = 0;
        QString description; // the picture's alternative text (docPr descr and title)
    };

    // Every paragraph's text in document order: the body's paragraphs, table cells' and text
    // boxes' included.
    QStringList paragraphs;
    // Tables of two cells or more. A one-cell table is a frame around its content (a panel):
    // its paragraphs count as the body's, and the tables inside it as tables.
    QList<QList<Cell>> tables;
    QList<Picture> pictures; // pictures only, not text boxes or shapes holding text
    QStringList otherText;   // footnotes, endnotes, headers and footers
    QSizeF textArea;         // the page less its margins (points); invalid when not given
    bool complete = true;    // false when a part's XML broke off (what came before it is kept)

    // Reads document.xml and the other parts' XML (footnotes, endnotes, headers, footers).
    static DocxStructure parse(const QByteArray& document, const QList<QByteArray>& otherParts = {});
};
