#include "quillbook/reader/BookReader.h"

BookReader::BookReader(const QString& sourcePath, QObject* parent)
    : QObject(parent)
    , m_sourcePath(sourcePath)
{
}

QString BookReader::failureText(BookFailure failure)
{
    switch (failure) {
    case BookFailure::None:
        break;
    case BookFailure::NotThisFormat:
        return QStringLiteral("not a book of its format");
    case BookFailure::Damaged:
        return QStringLiteral("damaged");
    case BookFailure::Encrypted:
        return QStringLiteral("encrypted");
    case BookFailure::TooLarge:
        return QStringLiteral("larger than a book may be");
    case BookFailure::NothingShown:
        return QStringLiteral("no text or picture in the book");
    }
    return QStringLiteral("no page in the book");
}
