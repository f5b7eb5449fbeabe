#include "platform/pdf2word/component/EngineLibrary.h"

#include <QFileInfo>
#include <QHash>
#include <QLibrary>
#include <QMutex>
#include <QMutexLocker>

namespace EngineLibrary {

QpPdf2WordConvert load(const QString& path, QString* error)
{
    static QMutex mutex;
    static QHash<QString, QpPdf2WordConvert> loaded;
    QMutexLocker lock(&mutex);
    const QString key = QFileInfo(path).absoluteFilePath();
    const auto found = loaded.constFind(key);
    if (found != loaded.constEnd())
        return found.value();
    if (!QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("The conversion engine '%1' is missing").arg(path);
        return nullptr;
    }
    // Resolved symbols stay local to the library: its MuPDF must not meet the PDF library's.
    QLibrary library(key);
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    auto entry = reinterpret_cast<QpPdf2WordConvert>(library.resolve(QP_PDF2WORD_ENTRY));
    if (!entry) {
        if (error)
            *error = library.errorString();
        return nullptr;
    }
    loaded.insert(key, entry);
    return entry;
}

} // namespace EngineLibrary
