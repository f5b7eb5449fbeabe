#include "frompdf/ocr/OcrPageReader.h"

#include "app/core/ToolPaths.h"
#include "frompdf/ocr/OcrReaderMessages.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

// A program that reads its input no more is given this long to end by itself.
const int kEndMs = 2000;

} // namespace

OcrPageReader::OcrPageReader() = default;

OcrPageReader::~OcrPageReader()
{
    if (!m_program)
        return;
    // Its input ends: the program ends by itself; one that does not is ended.
    m_program->closeWriteChannel();
    if (!m_program->waitForFinished(kEndMs))
        endProgram();
}

bool OcrPageReader::init(const QString& tessdataPath, const QString& language)
{
    m_tessdataPath = tessdataPath;
    m_language = language;
    m_wasCancelled = false;
    QString reason;
    return startProgram(&reason);
}

bool OcrPageReader::startProgram(QString* reason)
{
    endProgram();
    m_program.reset(new QProcess);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    m_program->setProcessEnvironment(environment);
    // Tesseract's own messages go where ours go.
    m_program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_program->start(ToolPaths::path(ToolPaths::OcrReader), {m_tessdataPath, m_language});
    if (!m_program->waitForStarted()) {
        *reason = QStringLiteral("The OCR program did not start: %1").arg(m_program->errorString());
        endProgram();
        return false;
    }
    switch (waitFor([this] { return m_program->canReadLine(); })) {
    case Wait::Done:
        if (m_program->readLine() == OcrReaderMessages::kReady)
            return true;
        break;
    case Wait::Cancelled:
        *reason = QStringLiteral("cancelled");
        return false;
    case Wait::Ended:
        break;
    }
    *reason = m_program->exitStatus() == QProcess::NormalExit
                      && m_program->exitCode() == OcrReaderMessages::kEngineFailed
                  ? QStringLiteral("The OCR languages '%1' could not be loaded").arg(m_language)
                  : QStringLiteral("The OCR program ended before it was ready");
    endProgram();
    return false;
}

void OcrPageReader::endProgram()
{
    if (!m_program)
        return;
    m_program->kill();
    m_program->waitForFinished(kEndMs);
    m_program.reset();
}

OcrPageReader::Wait OcrPageReader::waitFor(const std::function<bool()>& complete)
{
    for (;;) {
        if (complete())
            return Wait::Done;
        if (m_cancelled && m_cancelled()) {
            m_wasCancelled = true;
            endProgram();
            return Wait::Cancelled;
        }
        // A program that has ended has handed over all it wrote.
        if (m_program->state() == QProcess::NotRunning)
            return complete() ? Wait::Done : Wait::Ended;
        m_program->waitForReadyRead(kPollMs);
    }
}

OcrPageReader::Wait OcrPageReader::readAnswer(QByteArray* kind, QByteArray* body)
{
    const Wait line = waitFor([this] { return m_program->canReadLine(); });
    if (line != Wait::Done)
        return line;
    qint64 bytes = 0;
    if (!OcrReaderMessages::readHeader(m_program->readLine(), kind, &bytes))
        return Wait::Ended;
    const Wait rest = waitFor([this, bytes] { return m_program->bytesAvailable() >= bytes; });
    if (rest == Wait::Done)
        *body = m_program->read(bytes);
    return rest;
}

bool OcrPageReader::recognizeFile(const QString& imagePath, QString* text, QString* reason)
{
    m_wasCancelled = false;
    text->clear();
    // After a stop or a failure the program starts again.
    if (!m_program && !startProgram(reason))
        return false;
    m_program->write(OcrReaderMessages::frame(OcrReaderMessages::kPage, QFile::encodeName(imagePath)));

    QByteArray kind;
    QByteArray body;
    switch (readAnswer(&kind, &body)) {
    case Wait::Done:
        if (kind == OcrReaderMessages::kText) {
            *text = QString::fromUtf8(body);
            return true;
        }
        *reason = QString::fromUtf8(body);
        return false;
    case Wait::Cancelled:
        *reason = QStringLiteral("cancelled");
        return false;
    case Wait::Ended:
        break;
    }
    *reason = QStringLiteral("The OCR program ended while it read the page");
    endProgram();
    return false;
}
