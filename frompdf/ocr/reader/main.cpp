// quillocr: recognises page images for the OCR conversion, one after the other, in a process of
// its own. Tesseract's page analysis cannot be interrupted and a noisy page keeps it busy for
// long; here a stop ends the program, and with it the page, at once. The conversation is in
// frompdf/ocr/OcrReaderMessages.h.
#include "frompdf/ocr/OcrReaderMessages.h"
#include "frompdf/ocr/PageRecognizer.h"

#include <QFile>

#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>

namespace {

// The next request's image path; false when the input has ended or holds no request.
bool readRequest(QFile& input, QByteArray* path)
{
    QByteArray kind;
    qint64 bytes = 0;
    if (!OcrReaderMessages::readHeader(input.readLine(), &kind, &bytes) || kind != OcrReaderMessages::kPage)
        return false;
    *path = input.read(bytes);
    return path->size() == bytes;
}

bool answer(QFile& output, const char* kind, const QByteArray& body)
{
    const QByteArray message = OcrReaderMessages::frame(kind, body);
    return output.write(message) == message.size() && output.flush();
}

} // namespace

int main(int argc, char* argv[])
{
    // Ends with the program that started it, however that ends.
    const pid_t parent = getppid();
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent || argc != 3)
        return 2;

    PageRecognizer recognizer;
    if (!recognizer.init(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])))
        return OcrReaderMessages::kEngineFailed;

    QFile input;
    QFile output;
    if (!input.open(stdin, QIODevice::ReadOnly) || !output.open(stdout, QIODevice::WriteOnly))
        return 2;
    output.write(OcrReaderMessages::kReady);
    output.flush();

    QByteArray path;
    while (readRequest(input, &path)) {
        QString text;
        QString reason;
        const bool read = recognizer.recognizeFile(QFile::decodeName(path), &text, &reason);
        if (!answer(output, read ? OcrReaderMessages::kText : OcrReaderMessages::kFail,
                    (read ? text : reason).toUtf8()))
            return 2;
    }
    return 0;
}
