#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// The fonts a book brings with its style sheets. The web view would draw a font loaded by an
// @font-face rule as outlines (the PDF then has no text); handed to Qt as application fonts, the
// book's font files are embedded by the PDF writer as subsets, as system fonts are. adopt()
// registers every font file that an @font-face rule names inside the work folder and points the
// rule at the registered family with local(); rules whose fonts Qt cannot read stay as they are.
// The fonts stay registered until the object goes.
class BookFonts
{
public:
    explicit BookFonts(const QString& workFolder);
    ~BookFonts();

    BookFonts(const BookFonts&) = delete;
    BookFonts& operator=(const BookFonts&) = delete;

    // Rewrites the style sheets (files ending in ".css") below the work folder and the style
    // elements of the pages (absolute paths). Returns the number of rules pointed at book fonts.
    int adopt(const QStringList& pages);

private:
    // css with the rules rewritten, each counted; relative addresses are resolved against baseFolder.
    QByteArray rewrite(const QByteArray& css, const QString& baseFolder, int* count);
    // Rewrites the file at path: a style sheet, or a page whose style elements are rewritten.
    void adoptIn(const QString& path, bool styleSheet, int* count);
    QByteArray rewriteStyleElements(const QByteArray& page, const QString& baseFolder, int* count);
    QString familyOf(const QString& fontPath);

    const QString m_workFolder;
    QMap<QString, QString> m_families; // font file -> its family, empty when Qt cannot read it
    QVector<int> m_fontIds;
};
