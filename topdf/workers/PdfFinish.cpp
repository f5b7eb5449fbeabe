#include "topdf/workers/PdfFinish.h"

#include "app/core/Logger.h"
#include "pdflib/service/DebenuDocument.h"
#include "topdf/workers/ToPdfOutput.h"

#include <QFile>

namespace {

void log(const QString& text, int level = Logger::Debug)
{
    Logger::instance()->log(text, level);
}

// Saves the opened intermediate as the target; true when the target opens.
bool saveWithProperties(DebenuDocument& document, const QSharedPointer<DebenuService>& service, const QString& target,
                        const FileSettingsData& settings)
{
    // Without its password the file must not be written at all.
    if (!document.setProperties(ToPdfOutput::propertiesFor(settings, ToPdfOutput::productName()))) {
        log(QStringLiteral("Set properties [FAILED]"), Logger::Error);
        return false;
    }
    log(QStringLiteral("Set properties [OK]"), Logger::Info);
    log(QStringLiteral("Save doc..."));
    if (!document.save(target) || !ToPdfOutput::opensAsPdf(service, target, settings.password)) {
        log(QStringLiteral("Save document [FAILED]"), Logger::Error);
        return false;
    }
    log(QStringLiteral("Save document [OK]"), Logger::Info);
    return true;
}

} // namespace

bool finishPdf(const QSharedPointer<DebenuService>& service, const QString& intermediate, const QString& target,
               const FileSettingsData& settings)
{
    log(QStringLiteral("Set properties..."));
    bool saved = false;
    if (!target.isEmpty()) {
        DebenuDocument document(service, intermediate, QString(), false);
        const bool opened = document.isLoaded() && !document.isPasswordRequired();
        if (!opened)
            log(QStringLiteral("Load file. [FAILED]"), Logger::Error);
        else
            saved = saveWithProperties(document, service, target, settings);
    }
    QFile::remove(intermediate);
    if (!saved)
        QFile::remove(target);
    return saved;
}

QString deliverPdf(const QSharedPointer<DebenuService>& service, const QString& intermediate, const ToPDFTask& task,
                   int saveMode, const QString& outputFolder)
{
    if (task.mergePart) {
        if (ToPdfOutput::opensAsPdf(service, intermediate, QString()))
            return intermediate;
        QFile::remove(intermediate);
        return QString();
    }
    const QString target = ToPdfOutput::finalPath(task, saveMode, outputFolder);
    return finishPdf(service, intermediate, target, task.fileSettings) ? target : QString();
}
