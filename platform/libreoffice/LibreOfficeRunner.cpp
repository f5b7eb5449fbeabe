#include "platform/libreoffice/LibreOfficeRunner.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

LibreOfficeRunner::LibreOfficeRunner(const QString& sofficePath, const QString& workFolder)
    : m_soffice(sofficePath)
    , m_workFolder(workFolder)
{
}

QString LibreOfficeRunner::pdfFilterName(const QString& sourceSuffix)
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

QString LibreOfficeRunner::convertFilter(const QString& source, const QString& destination)
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

int LibreOfficeRunner::timeoutFor(const QString& source)
{
    return ChildProcess::timeoutFor(source, 3, 1, 63);
}

bool LibreOfficeRunner::saveAs(const QString& source, const QString& destination,
                               const ChildProcess::StopRequest& stopRequested) const
{
    m_lastRun = ChildProcess::Result();
    QDir().mkpath(m_workFolder);
    // Both folders go away with this call, whatever LibreOffice left in them.
    QTemporaryDir outputFolder(m_workFolder + QStringLiteral("/office-out-XXXXXX"));
    QTemporaryDir profile(m_workFolder + QStringLiteral("/office-profile-XXXXXX"));
    if (!outputFolder.isValid() || !profile.isValid())
        return false;

    // The profile address is percent-encoded: with a raw space in it LibreOffice waits for ever.
    const QStringList arguments = {
        QStringLiteral("--headless"),
        QStringLiteral("-env:UserInstallation=%1/").arg(QUrl::fromLocalFile(profile.path()).toString(QUrl::FullyEncoded)),
        QStringLiteral("--convert-to"),
        convertFilter(source, destination),
        source,
        QStringLiteral("--outdir"),
        outputFolder.path(),
    };
    qDebug() << Q_FUNC_INFO << "Programm:" << QDir::toNativeSeparators(m_soffice);
    qDebug() << Q_FUNC_INFO << "Arguments:" << arguments.join(QLatin1Char('|'));

    m_lastRun = ChildProcess::run(m_soffice, arguments, timeoutFor(source), stopRequested);
    const ChildProcess::Outcome outcome = m_lastRun.outcome;
    if (outcome == ChildProcess::Outcome::Stopped || outcome == ChildProcess::Outcome::TimedOut
        || outcome == ChildProcess::Outcome::FailedToStart)
        return false;
    if (m_lastRun.exitCode != 0 && QFileInfo::exists(destination))
        return false;

    // LibreOffice names its file after the source, with the filter's own (lower-case) suffix.
    const QString suffix = QFileInfo(destination).suffix();
    const QString baseName = QFileInfo(source).completeBaseName();
    QString produced = QStringLiteral("%1/%2.%3").arg(outputFolder.path(), baseName, suffix);
    if (!QFileInfo::exists(produced))
        produced = QStringLiteral("%1/%2.%3").arg(outputFolder.path(), baseName, suffix.toLower());
    if (!QFileInfo(produced).isFile() || QFileInfo(produced).size() == 0)
        return false;
    if (QFileInfo::exists(destination))
        QFile::remove(destination);
    // The work folder may sit on another file system than the destination: copy then.
    return QFile::rename(produced, destination) || QFile::copy(produced, destination);
}
