#include "EpubDocument.h"

namespace epub {

EpubDocument::EpubDocument(const QString& sourcePath, QObject* parent)
    : BookReader(sourcePath, parent)
{
}

void EpubDocument::convert(const QString& workFolder)
{
    m_pageList.clear();
}

} // namespace epub
