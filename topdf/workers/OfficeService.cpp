#include "OfficeService.h"

#include "FileSystem.h"
#include "Logger.h"
#include "ToolPaths.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>

OfficeService& OfficeService::instance()
{
    static OfficeService service;
    return service;
}

QString OfficeService::pdfFilterName(const QString& sourceSuffix)
{
    static const QStringList calc = {QStringLiteral("xls"), QStringLiteral("xlsb"), QStringLiteral("xlsx"),
                                     QStringLiteral("ods")};
    static const QStringList impress = {QStringLiteral("ppt"), QStringLiteral("pptx"), QStringLiteral("odp")};
    if (calc.contains(sourceSuffix))
        return QStringLiteral("calc_pdf_Export");
    if (impress.contains(sourceSuffix))
        return QStringLiteral("impress_pdf_Export");
    return QStringLiteral("writer_pdf_Export");
}

QString OfficeService::convertFilter(const QString& source, const QString& destination)
{
    const QString suffix = QFileInfo(destination).suffix().toLower();
    if (suffix == QLatin1String("docx"))
        return QStringLiteral("docx:MS Word 2007 XML:UTF8");
    if (suffix == QLatin1String("odt"))
        return QStringLiteral("odt");
    if (suffix == QLatin1String("rtf"))
        return QStringLiteral("rtf:Rich Text Format:UTF8");
    if (suffix == QLatin1String("pdf"))
        return QStringLiteral("pdf:%1").arg(pdfFilterName(QFileInfo(source).suffix()));
    return QStringLiteral("doc:MS Word 97:UTF8");
}

bool OfficeService::saveDocAs(const QString& source, const QString& destination)
{
    // One LibreOffice at a time: each run is heavy, and callers on several worker threads then
    // simply wait for their turn.
    QMutexLocker lock(&m_mutex);

    const QString suffix = QFileInfo(destination).suffix();
    const QString outputFolder = QStringLiteral("%1/%2").arg(
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation), QUuid::createUuid().toString());
    if (!QFileInfo::exists(outputFolder))
        QDir().mkpath(outputFolder);

    const QString program = QDir::toNativeSeparators(ToolPaths::path(ToolPaths::Soffice));
    // The profile lives in the user's private cache folder (mode 0700), never in a shared place,
    // and goes away with this call.
    QTemporaryDir profile(FileSystem::cachePath() + QStringLiteral("/office-profile-XXXXXX"));
    const QStringList arguments = {
        QStringLiteral("--headless"),
        QStringLiteral("-env:UserInstallation=%1/").arg(QUrl::fromLocalFile(profile.path()).toString(QUrl::FullyEncoded)),
        QStringLiteral("--convert-to"),
        convertFilter(source, destination),
        source,
        QStringLiteral("--outdir"),
        outputFolder,
    };
    qDebug() << Q_FUNC_INFO << "Programm:" << program;
    qDebug() << Q_FUNC_INFO << "Arguments:" << arguments.join(QLatin1Char('|'));

    QProcess process;
    process.start(program, arguments, QIODevice::ReadWrite);
    process.waitForStarted(-1);
    process.waitForFinished(-1);

    if (process.exitCode() != 0 && QFileInfo::exists(destination)) {
        FileSystem::removeDir(outputFolder);
        return false;
    }
    // LibreOffice names its file with the filter's own (lower-case) suffix.
    QString produced = QStringLiteral("%1/%2.%3").arg(outputFolder, QFileInfo(source).completeBaseName(), suffix);
    if (!QFileInfo::exists(produced))
        produced = QStringLiteral("%1/%2.%3").arg(outputFolder, QFileInfo(source).completeBaseName(), suffix.toLower());
    // Only replace the destination when there is something to put in its place.
    if (QFileInfo::exists(produced) && QFileInfo::exists(destination))
        QFile::remove(destination);
    const bool moved = QFile::rename(produced, destination);
    if (!moved)
        Logger::instance()->log(QStringLiteral("Save file [FAILED]"), Logger::Debug);
    FileSystem::removeDir(outputFolder);
    return moved;
}
