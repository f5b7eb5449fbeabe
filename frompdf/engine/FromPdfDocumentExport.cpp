// The document branch of the conversion run: one task's ranges through the OCR converter or the
// PDF-to-Word converter.

#include "frompdf/engine/FromPdfAlgorithm.h"

#include "app/core/FileSystem.h"
#include "app/core/Logger.h"
#include "frompdf/check/CheckController.h"
#include "frompdf/engine/OutputFolder.h"
#include "frompdf/engine/RangeExtraction.h"
#include "frompdf/ocr/FromPDFOCR.h"
#include "frompdf/word/FromPDFToDoc.h"
#include "pdflib/service/DebenuDocument.h"
#include "pdflib/service/DebenuService.h"
#include "services/metrics/MetricSender.h"

#include <QDir>
#include <QStandardPaths>

#include <memory>

namespace {

void logDebug(const QString& text)
{
    Logger::instance()->log(text, Logger::Debug);
}

} // namespace

bool FromPdfAlgorithm::askUseOcr(const FromPDFTask& task)
{
    if (!task.scanned || m_skipOcrForAll)
        return false;
    if (m_useOcrForAll)
        return true;
    // The question needs the controller the application installs; without it (no GUI) the file
    // converts without OCR.
    CheckController* controller = m_host.checkController;
    if (!controller)
        return false;
    const CheckController::Answer answer = controller->ask(task.file.fileName());
    if (answer.useOcr)
        m_useOcrForAll = answer.applyToAll;
    else
        m_skipOcrForAll = answer.applyToAll;
    return answer.useOcr;
}

bool FromPdfAlgorithm::exportToDocument(const FromPDFTask& task)
{
    if (task.ranges.isEmpty())
        return false;
    const bool useOcr = askUseOcr(task);
    const QString folder = OutputFolder::forSource(task.file, m_saveMode, m_customFolder);
    PageRangeList ranges = task.ranges;
    QString source = task.file.absoluteFilePath();
    QString password = task.password;
    bool needsDecryption = task.passwordRequired || task.encrypted;
    QStringList temporary;
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));

    if (!task.split && task.ranges.size() > 1) {
        const QString joined = QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                                                        + QLatin1Char('/') + FileSystem::createUniqueId()
                                                        + QStringLiteral(".pdf"));
        if (RangeExtraction::extractToFile(m_service, source, password, task.encrypted, task.ranges, joined)) {
            temporary << joined;
            const int pages = DebenuDocument(m_service, joined, QString(), false).pageCount();
            ranges = {PageRange(1, pages)};
            source = joined;
            // The joined file is written without encryption.
            password.clear();
            needsDecryption = false;
        }
    }

    m_pagesInStep = 0;
    int error = NoError;
    // Every range wrote its file: what the user counts as converted.
    int rangesWritten = 0;
    const QString baseName = task.file.completeBaseName();
    for (const PageRange& range : ranges) {
        if (!waitWhilePaused())
            break;
        const QString name = documentFileName(baseName, task.format, range, ranges.size() == 1, task.pageCount);
        const QString output = FileSystem::uniqueFilePath(folder, name);
        int rangeError = NoError;
        if (useOcr) {
            rangeError = convertWithOcr(task, source, password, output, range);
        } else {
            if (needsDecryption) {
                logDebug(QStringLiteral("Decrypt file to temp"));
                const QString decrypted =
                    QDir::toNativeSeparators(FileSystem::cachePath() + QLatin1Char('/') + FileSystem::createUniqueId());
                const int result = m_service->decryptFile(source, decrypted, password);
                logDebug(QStringLiteral("Decrypt result:%1").arg(result));
                if (result == 1) {
                    temporary << decrypted;
                    source = decrypted;
                    password.clear();
                    needsDecryption = false;
                } else {
                    logDebug(QStringLiteral("Decrypt [FAILED]"));
                    error = DecryptFailed;
                }
            }
            rangeError = convertWithWord(source, password, output, range);
        }
        if (rangeError == NoError) {
            m_lastOutput = output;
            ++rangesWritten;
        } else if (rangeError > 0) {
            error = rangeError;
        }
        // Each range reports its pages from 1; what it did counts before the next range.
        m_pagesBefore += m_pagesInStep;
        m_pagesInStep = 0;
    }

    FileSystem::removeFiles(temporary);
    if (error != NoError)
        MetricSender::sendMetric(QStringLiteral("err1"), QStringLiteral("to") + task.format.toLower(), QString::number(error));
    return rangesWritten == ranges.size();
}

int FromPdfAlgorithm::convertWithOcr(const FromPDFTask& task, const QString& source, const QString& password,
                                     const QString& output, const PageRange& range)
{
    const bool buildParagraphs = m_host.canBuildParagraphs ? m_host.canBuildParagraphs(task.ocrLanguage) : true;
    FromPDFOCR converter(m_service, source, password, output, range.first, range.second, task.ocrLanguage,
                         buildParagraphs, m_progress, m_host.tesseractLanguage);
    // The converter names the page it starts on; done are the pages before it, and the whole
    // range once it has written its output.
    connect(&converter, &FromPDFOCR::progressChanged, this,
            [this](int current, int total) { onConverterProgress(current - 1, total); });
    converter.run();
    if (converter.errorType() != 0)
        return OcrErrorBase + converter.errorType();
    onConverterProgress(range.second - range.first + 1, range.second - range.first + 1);
    return NoError;
}

int FromPdfAlgorithm::convertWithWord(const QString& source, const QString& password, const QString& output,
                                      const PageRange& range)
{
    auto convert = [&](int mode) {
        FromPDFToDoc converter(source, password, output, range.first, range.second, m_progress);
        converter.setMode(mode);
        connect(&converter, &FromPDFToDoc::progressChanged, this, &FromPdfAlgorithm::onConverterProgress);
        converter.convert();
        return converter.status();
    };
    int status = convert(0);
    if (status == FromPDFToDoc::RetryInMode2) {
        m_pagesInStep = 0;
        status = convert(2);
    }
    switch (status) {
    case 0:
        return NoError;
    case 1:
        return WordStatus1;
    case 2:
        return DecryptFailed;
    case 3:
        return WordStatus3;
    case 4:
        return WordFailed;
    case 5:
        return WordRetryFailed;
    default:
        return -1; // no output, and no code of its own
    }
}
