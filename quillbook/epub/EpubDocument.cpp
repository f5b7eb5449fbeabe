#include "quillbook/epub/EpubDocument.h"

#include "quillbook/epub/EpubParser.h"

namespace epub {

EpubDocument::EpubDocument(const QString& sourcePath, QObject* parent)
    : BookReader(sourcePath, parent)
{
}

void EpubDocument::convert(const QString& workFolder)
{
    EpubParser parser(this);
    parser.parse(sourcePath(), workFolder);
}

} // namespace epub
