#include "FbDocument.h"

namespace fb2 {

FbDocument::FbDocument(const QString& sourcePath, QObject* parent)
    : BookReader(sourcePath, parent)
{
}

void FbDocument::convert(const QString& workFolder)
{
    m_pageList.clear();
}

} // namespace fb2
