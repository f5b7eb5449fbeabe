#include "bench/pdf2word/OfficeRuns.h"

#include <QDir>
#include <QUrl>

QProcess* startOffice(const QString& soffice, const QString& profile, const QStringList& arguments)
{
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start(soffice, QStringList{QStringLiteral("--headless"),
                                        QStringLiteral("-env:UserInstallation=%1").arg(QUrl::fromLocalFile(profile).toString())}
                                + arguments);
    return process;
}

QProcess* startPrinting(const QString& soffice, const QString& folder, const QString& printed, const QString& profile)
{
    QStringList docx;
    for (const QString& entry : QDir(folder).entryList({QStringLiteral("*.docx")}, QDir::Files, QDir::Name))
        docx << folder + QLatin1Char('/') + entry;
    QDir().mkpath(printed);
    return startOffice(soffice, profile, QStringList{QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"), printed} + docx);
}

void finishOffice(QProcess* process)
{
    if (!process->waitForFinished(900000))
        process->kill();
    process->waitForFinished();
    delete process;
}
