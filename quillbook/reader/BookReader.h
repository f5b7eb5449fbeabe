#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// What every book reader of quillbook offers: it is built with the source book's path, convert()
// turns the book into HTML pages below the work folder, and pageList() then names them. Item 0 of
// the page list is the base folder (an absolute folder inside the work folder); items 1 and up
// are the page files relative to it, in reading order. A list of fewer than two items means the
// book gave no page. Readers report failures only through this list and their own log lines.
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

protected:
    QStringList m_pageList;

private:
    const QString m_sourcePath;
};
