#include "services/update/Version.h"

#include "app/core/Logger.h"

#include <QStringList>

Version::Version(int major, int minor, int patch)
{
    m_parts.insert(Major, major);
    m_parts.insert(Minor, minor);
    m_parts.insert(Patch, patch);
}

Version Version::fromString(const QString& text)
{
    if (text.isEmpty())
        return Version();
    QMap<int, int> parts;
    if (!parseUrl(text, parts))
        return Version();
    return Version(parts.value(Major), parts.value(Minor), parts.value(Patch));
}

bool Version::parseUrl(const QString& text, QMap<int, int>& parts)
{
    const QStringList pieces = text.split(QLatin1Char('.'));
    Logger::instance()->log(
        QStringLiteral("%1 regexp result: %2").arg(QLatin1String(Q_FUNC_INFO), pieces.join(QLatin1Char('|'))),
        Logger::Debug);

    bool ok = false;
    // toInt() accepts surrounding white space, so "2.2.7\n" still reads as patch 7.
    const int major = pieces.at(0).toInt(&ok, 10);
    if (!ok)
        return false;
    parts.insert(Major, major);
    for (int index = Minor; index <= Patch && index < pieces.size(); ++index) {
        const int value = pieces.at(index).toInt(&ok, 10);
        if (!ok)
            break;
        parts.insert(index, value);
    }
    return true;
}

int Version::compareVersion(const QString& first, const QString& second)
{
    const QString signature = QLatin1String(Q_FUNC_INFO);
    Logger::instance()->log(QStringLiteral("%1 v1: %2").arg(signature, first), Logger::Debug);
    Logger::instance()->log(QStringLiteral("%1 v2: %2").arg(signature, second), Logger::Debug);
    const Version a = fromString(first);
    const Version b = fromString(second);
    Logger::instance()->log(QStringLiteral("%1 v1_i: %2").arg(signature, a.toString()), Logger::Debug);
    Logger::instance()->log(QStringLiteral("%1 v2_i: %2").arg(signature, b.toString()), Logger::Debug);

    for (int index = Major; index <= Patch; ++index) {
        const int left = a.m_parts.value(index);
        const int right = b.m_parts.value(index);
        if (left != right)
            return left > right ? 1 : -1;
    }
    return 0;
}

QString Version::toString() const
{
    return QStringLiteral("%1.%2.%3").arg(major()).arg(minor()).arg(patch());
}
