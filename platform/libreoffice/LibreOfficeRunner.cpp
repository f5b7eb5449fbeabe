#include "platform/libreoffice/LibreOfficeRunner.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

namespace {

// What LibreOffice printed last: it explains a failed load or export there, often with exit code 0.
constexpr int keptOutputBytes = 2048;

// How LibreOffice ended and the last line it printed: "exit code 0; it printed \"...\"".
QString howItEnded(const ChildProcess::Result& run)
{
    QString text = run.outcome == ChildProcess::Outcome::Crashed ? QStringLiteral("it crashed")
                                                                 : QStringLiteral("exit code %1").arg(run.exitCode);
    const QString last = QString::fromLocal8Bit(run.output.trimmed().split('\n').last().trimmed());
    if (!last.isEmpty())
        text += QStringLiteral("; it printed \"%1\"").arg(last);
    return text;
}

} // namespace

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
    m_lastError.clear();
    QDir().mkpath(m_workFolder);
    // Both folders go away with this call, whatever LibreOffice left in them.
    QTemporaryDir outputFolder(m_workFolder + QStringLiteral("/office-out-XXXXXX"));
    QTemporaryDir profile(m_workFolder + QStringLiteral("/office-profile-XXXXXX"));
    if (!outputFolder.isValid() || !profile.isValid())
        return fail(QStringLiteral("No work folder could be made in %1").arg(m_workFolder));

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

    m_lastRun = ChildProcess::run(m_soffice, arguments, timeoutFor(source), stopRequested, keptOutputBytes);
    switch (m_lastRun.outcome) {
    case ChildProcess::Outcome::FailedToStart:
        return fail(QStringLiteral("LibreOffice could not be started: %1").arg(QDir::toNativeSeparators(m_soffice)));
    case ChildProcess::Outcome::TimedOut:
        return fail(QStringLiteral("LibreOffice ran past its time-out and was ended"));
    case ChildProcess::Outcome::Stopped:
        return fail(QStringLiteral("The conversion was stopped"));
    case ChildProcess::Outcome::Crashed:
    case ChildProcess::Outcome::Finished:
        break;
    }
    if (m_lastRun.exitCode != 0 && QFileInfo::exists(destination))
        return fail(QStringLiteral("LibreOffice failed (%1)").arg(howItEnded(m_lastRun)));

    // LibreOffice names its file after the source, with the filter's own (lower-case) suffix.
    const QString suffix = QFileInfo(destination).suffix();
    const QString baseName = QFileInfo(source).completeBaseName();
    QString produced = QStringLiteral("%1/%2.%3").arg(outputFolder.path(), baseName, suffix);
    if (!QFileInfo::exists(produced))
        produced = QStringLiteral("%1/%2.%3").arg(outputFolder.path(), baseName, suffix.toLower());
    const QFileInfo result(produced);
    if (!result.isFile() || result.size() == 0)
        return fail(QStringLiteral("LibreOffice wrote no %1 (%2)").arg(result.fileName(), howItEnded(m_lastRun)));
    if (QFileInfo::exists(destination))
        QFile::remove(destination);
    // The work folder may sit on another file system than the destination: copy then.
    if (QFile::rename(produced, destination) || QFile::copy(produced, destination))
        return true;
    return fail(QStringLiteral("The converted file could not be put at %1").arg(QDir::toNativeSeparators(destination)));
}

bool LibreOfficeRunner::fail(const QString& reason) const
{
    m_lastError = reason;
    return false;
}
