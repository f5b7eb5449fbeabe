#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// Why a book gave no page.
enum class BookFailure {
    None,
    NotThisFormat, // the file is not a book of the reader's format
    Damaged,       // the file is of the format but cannot be read whole
    Encrypted,     // the book's text is encrypted
    TooLarge,      // the book passes a bound of ReaderLimits
    NothingShown,  // the book holds no text and no picture, markup alone
};

// What every book reader of quillbook offers: it is built with the source book's path, convert()
// turns the book into HTML pages below the work folder, and pageList() then names them. Item 0 of
// the page list is the base folder (an absolute folder inside the work folder); items 1 and up
// are the page files relative to it, in reading order. A list of fewer than two items means the
// book gave no page; failure() then tells why, when the reader knows. Readers report failures only
// through these and their own log lines.
class BookReader : public QObject
{
    Q_OBJECT
public:
    explicit BookReader(const QString& sourcePath, QObject* parent = nullptr);

    // Writes the pages below workFolder, an existing absolute folder that the reader may fill.
    // Nothing may be written outside it (see ConfinedPath).
    virtual void convert(const QString& workFolder) = 0;

    const QStringList& pageList() const { return m_pageList; }
    const QString& sourcePath() const { return m_sourcePath; }
    BookFailure failure() const { return m_failure; }

    // The failure in words, for the log.
    static QString failureText(BookFailure failure);

protected:
    QStringList m_pageList;
    BookFailure m_failure = BookFailure::None;

private:
    const QString m_sourcePath;
};
