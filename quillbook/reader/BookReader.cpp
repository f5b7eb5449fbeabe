#include "BookReader.h"

BookReader::BookReader(const QString& sourcePath, QObject* parent)
    : QObject(parent)
    , m_sourcePath(sourcePath)
{
}
