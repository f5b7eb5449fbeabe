#include "frompdf/ocr/FromPDFOCR.h"

#include "app/core/FileSystem.h"
#include "app/core/IProgress.h"
#include "app/core/Logger.h"
#include "app/core/ProgressWait.h"
#include "app/core/ToolPaths.h"
#include "frompdf/ocr/OcrParagraphBuilder.h"
#include "pdflib/service/DebenuDocument.h"
#include "shared/office/OfficeService.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextStream>

namespace {

const double kRenderDpi = 300.0;
const int kRenderJpeg = 1;
const char* const kPageBreak = "<DIV style=\"page-break-after:always\"></DIV>";

QString temporaryPath(const QString& suffix)
{
    return QDir::toNativeSeparators(FileSystem::cachePath() + QLatin1Char('/') + FileSystem::createUniqueId()
                                    + suffix);
}

bool hasSuffix(const QString& path, std::initializer_list<const char*> suffixes)
{
    for (const char* suffix : suffixes) {
        if (path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// Recognised text as HTML: markup characters stay text, line breaks stay line breaks.
QString plainTextAsHtml(const QString& text)
{
    QString html = text.toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return html;
}

void log(const QString& text, int level)
{
    Logger::instance()->log(text, level);
}

} // namespace

FromPDFOCR::FromPDFOCR(QSharedPointer<DebenuService> service, const QString& sourcePath, const QString& password,
                       const QString& outputPath, int firstPage, int lastPage, const QString& ocrLanguage,
                       bool buildParagraphs, IProgress* progress, LanguageResolver languages, QObject* parent)
    : QObject(parent)
    , m_progress(progress)
    , m_service(std::move(service))
    , m_sourcePath(sourcePath)
    , m_outputPath(outputPath)
    , m_password(password)
    , m_firstPage(firstPage)
    , m_lastPage(lastPage)
    , m_currentPage(firstPage)
    , m_ocrLanguage(ocrLanguage)
    , m_buildParagraphs(buildParagraphs)
    , m_languages(std::move(languages))
{
    // A stop ends the page being recognised (and the loading of the languages), not only the
    // pages after it.
    if (m_progress)
        m_reader.setCancelCheck([progress = m_progress] { return progress->isStopped(); });
}

FromPDFOCR::~FromPDFOCR() = default;

QString FromPDFOCR::tessdataPath()
{
    return QDir::toNativeSeparators(ToolPaths::path(ToolPaths::TessData));
}

QString FromPDFOCR::tesseractLanguage() const
{
    if (m_languages)
        return m_languages(m_ocrLanguage);
    const QString name = m_ocrLanguage.toLower();
    if (!name.isEmpty() && QFileInfo::exists(tessdataPath() + QStringLiteral("/%1.traineddata").arg(name)))
        return name;
    return QStringLiteral("eng");
}

void FromPDFOCR::run()
{
    log(QStringLiteral("OCR conversion [BEGIN]"), Logger::Debug);
    m_step = Load;
    m_done = false;
    m_errorType = NoError;
    m_currentPage = m_firstPage;
    m_pageTexts.clear();

    while (!m_done) {
        // A pause waits here without spending processor time; a stop ends the conversion.
        if (m_progress && !ProgressWait::untilResumed(m_progress)) {
            fail(Stopped);
            break;
        }
        switch (m_step) {
        case Load:
            load();
            break;
        case Recognize:
            recognizeNextPage();
            break;
        case Save:
            save();
            break;
        default:
            m_done = true;
            break;
        }
    }

    m_done = false;
    log(m_errorType == NoError ? QStringLiteral("OCR conversion [OK]") : QStringLiteral("OCR conversion [FAILED]"),
        Logger::Debug);
    emit finished();
}

void FromPDFOCR::fail(int errorType)
{
    m_errorType = errorType;
    m_done = true;
}

void FromPDFOCR::load()
{
    m_document.reset(new DebenuDocument(m_service, m_sourcePath, m_password, false));
    if (!m_document->isLoaded()) {
        log(QStringLiteral("Load file [FAILED] '%1'").arg(m_sourcePath), Logger::Error);
        fail(LoadFailed);
        return;
    }
    if (m_document->isPasswordRequired()) {
        log(QStringLiteral("Open file [FAILED] '%1'").arg(m_sourcePath), Logger::Error);
        fail(PasswordFailed);
        return;
    }
    log(QStringLiteral("Load document [OK]"), Logger::Debug);
    log(QStringLiteral("Tessdata:%1").arg(tessdataPath()), Logger::Debug);
    const QString language = tesseractLanguage();
    log(QStringLiteral("Lang:%1").arg(language), Logger::Debug);
    if (!m_reader.init(tessdataPath(), language)) {
        if (m_reader.wasCancelled()) {
            fail(Stopped);
            return;
        }
        log(QStringLiteral("Initialize OCR SDK [FAILED]"), Logger::Error);
        fail(EngineFailed);
        return;
    }
    log(QStringLiteral("Load OCR [OK]"), Logger::Debug);
    m_step = Recognize;
}

void FromPDFOCR::recognizeNextPage()
{
    if (m_currentPage > m_lastPage) {
        m_step = Save;
        return;
    }
    // Counted from the range's start, so that a range beginning at page 40 reports 1, 2, ...
    emit progressChanged(m_currentPage - m_firstPage + 1, m_lastPage - m_firstPage + 1);
    QString text;
    if (!scanPage(m_currentPage, &text)) {
        fail(m_reader.wasCancelled() ? Stopped : PageFailed);
        return;
    }
    m_pageTexts.insert(m_currentPage, text);
    ++m_currentPage;
}

bool FromPDFOCR::scanPage(int page, QString* text)
{
    const QString imagePath = temporaryPath(QStringLiteral(".jpg"));
    const int rendered = m_document->renderPageToFile(kRenderDpi, page, kRenderJpeg, imagePath);
    QString reason;
    bool recognised = false;
    if (rendered == 1)
        recognised = m_reader.recognizeFile(imagePath, text, &reason);
    else if (rendered == 0 || rendered == 2)
        reason = QStringLiteral("The page could not be rendered");
    else
        reason = QStringLiteral("Render page to image. Unknown error");
    QFile::remove(imagePath);
    if (!recognised && !m_reader.wasCancelled())
        log(QStringLiteral("Scan document page:%1").arg(reason), Logger::Error);
    return recognised;
}

void FromPDFOCR::save()
{
    // Text and HTML outputs are written here directly: LibreOffice's conversion does not make them.
    if (hasSuffix(m_outputPath, {".txt"})) {
        saveText(m_outputPath);
    } else if (m_buildParagraphs) {
        saveParagraphs();
    } else {
        savePages();
    }
    m_done = true;
}

bool FromPDFOCR::saveText(const QString& path)
{
    // Written under a temporary name and committed only when complete: a failed write leaves no file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        log(QStringLiteral("Open file for write [FAILED] File: '%1' Error: '%2'").arg(path, file.errorString()),
            Logger::Error);
        fail(SaveFailed);
        return false;
    }
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    stream.setGenerateByteOrderMark(true);
    for (const QString& text : qAsConst(m_pageTexts))
        stream << text;
    stream.flush();
    if (stream.status() != QTextStream::Ok || !file.commit()) {
        log(QStringLiteral("Save to:'%1' [FAILED]. Error:'%2'").arg(path, file.errorString()), Logger::Error);
        fail(SaveFailed);
        return false;
    }
    return true;
}

void FromPDFOCR::savePages()
{
    QString html;
    for (const QString& text : qAsConst(m_pageTexts))
        html += plainTextAsHtml(text) + QLatin1String(kPageBreak);
    if (hasSuffix(m_outputPath, {".odt", ".html", ".htm"})) {
        if (!writeHtml(m_outputPath, html))
            fail(SaveFailed);
        return;
    }
    saveThroughOffice(html);
}

void FromPDFOCR::saveParagraphs()
{
    const QString html = OcrParagraphs::buildHtml(m_pageTexts);
    if (hasSuffix(m_outputPath, {".html", ".htm"})) {
        if (!writeHtml(m_outputPath, html))
            fail(SaveFailed);
        return;
    }
    saveThroughOffice(html);
}

void FromPDFOCR::saveThroughOffice(const QString& html)
{
    const QString htmlPath = temporaryPath(QStringLiteral(".html"));
    if (!writeHtml(htmlPath, html)) {
        fail(SaveFailed);
        return;
    }
    log(QStringLiteral("Save to ODF:%1").arg(QStringLiteral("[OK]")), Logger::Error);
    OfficeService& office = OfficeService::instance();
    // A stop ends LibreOffice too: the run ends as at any other step, without output.
    IProgress* progress = m_progress;
    const auto stopped = [progress] { return progress && progress->isStopped(); };
    if (office.saveDocAs(htmlPath, m_outputPath, stopped)) {
        log(QStringLiteral("Save to doc: '%1' [OK]").arg(m_outputPath), Logger::Debug);
        QFile::remove(htmlPath);
        return;
    }
    if (stopped()) {
        QFile::remove(htmlPath);
        fail(Stopped);
        return;
    }
    log(QStringLiteral("Office service. Error message:%1 Error code:%2")
            .arg(office.errorMessage(), QString::number(office.errorCode())),
        Logger::Debug);
    fail(SaveFailed);
}

bool FromPDFOCR::writeHtml(const QString& path, const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    // ODF for an ".odt", HTML otherwise, made in memory (the writer closes its device) and saved
    // under a temporary name that takes the path only when complete: a failed write leaves no file.
    QBuffer bytes;
    const QByteArray format = hasSuffix(path, {".odt"}) ? QByteArrayLiteral("odf") : QByteArrayLiteral("html");
    QTextDocumentWriter writer(&bytes, format);
    QSaveFile file(path);
    if (writer.write(&document) && file.open(QIODevice::WriteOnly) && file.write(bytes.data()) == bytes.size()
        && file.commit())
        return true;
    log(QStringLiteral("Save to:'%1' [FAILED]. Error:'%2'").arg(path, file.errorString()), Logger::Error);
    return false;
}
