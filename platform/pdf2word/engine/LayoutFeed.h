#pragma once

// Feeds pages to MuPDF's DOCX or ODT document writer for the layout road. The writer rebuilds
// flowing paragraphs with their fonts and sizes from the text it is given; pictures and vector
// graphics reach it not at all, because its picture handling loses text near pictures. Instead
// each page is cut into horizontal bands at the tops of its pictures; every band goes to the
// writer as a page of its own, and between two bands a one-line marker page names the picture
// that belongs there. The document read back from the writer then gets the pictures where their
// markers came out.

#include "Fitz.h"
#include "StextFlow.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace p2w {

class LayoutFeed
{
public:
    enum Format { Docx, Odt };

    LayoutFeed(fz_context* ctx, Format format);
    ~LayoutFeed();
    LayoutFeed(const LayoutFeed&) = delete;
    LayoutFeed& operator=(const LayoutFeed&) = delete;

    bool begin();
    // The page's visible text, cut at the pictures' tops, with a marker page for each picture.
    bool addPage(fz_display_list* list, fz_rect mediabox, const QList<PlacedImage>& pictures);
    // Closes the writer and hands over the package it wrote.
    bool finish(QByteArray* package);

    QString errorText() const { return m_error; }

    // The marker text for picture index, and the picture a text's marker names (-1 when none);
    // *start and *length give the marker's place in the text.
    static QString markerText(int image);
    static int findMarker(const QString& text, int* start, int* length);

private:
    bool writeBand(fz_display_list* list, fz_rect mediabox, float top, float bottom);
    bool writeMarker(fz_rect mediabox, int image);
    void rememberError();

    fz_context* m_ctx;
    Format m_format;
    fz_buffer* m_buffer = nullptr;
    fz_document_writer* m_writer = nullptr;
    fz_font* m_markerFont = nullptr;
    QString m_error;
};

} // namespace p2w
