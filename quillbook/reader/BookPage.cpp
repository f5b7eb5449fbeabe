#include "quillbook/reader/BookPage.h"

#include <QFile>

namespace BookPage {

const char head[] = "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset = utf-8\"/></head><html><body>";
const char tail[] = "</body></html>";

bool write(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = text.toUtf8();
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        file.remove();
        return false;
    }
    return true;
}

} // namespace BookPage
