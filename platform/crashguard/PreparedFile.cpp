#include "platform/crashguard/PreparedFile.h"

#include "platform/crashguard/SignalSafe.h"

#include <QFile>

void PreparedFile::prepare(const QString& path, const QByteArray& bytes)
{
    m_content.publish(std::make_unique<const Content>(Content{QFile::encodeName(path), bytes}));
}

bool PreparedFile::write() const
{
    const Content* content = m_content.get();
    return content && SignalSafe::writeFile(content->path.constData(), content->bytes.constData(), std::size_t(content->bytes.size()));
}
