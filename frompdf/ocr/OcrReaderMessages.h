#pragma once

#include <QByteArray>

// What the OCR program (reader/) and OcrPageReader say to each other through the program's
// standard input and output. The program is started with two arguments, the tessdata folder and
// the languages ("eng", "eng+deu"). Once the languages are loaded it writes the line "ready";
// when they cannot be loaded it ends with kEngineFailed instead. Each request is one image path,
// each answer the page's text or the reason it has none. The program ends when its input ends.
namespace OcrReaderMessages {

// Exit code of a program whose languages did not load.
constexpr int kEngineFailed = 3;

constexpr char kReady[] = "ready\n";
constexpr char kPage[] = "page";
constexpr char kText[] = "text";
constexpr char kFail[] = "fail";

// A message body with its header in front: "<kind> <bytes>\n<body>": a request is a kPage with
// the image's path (local 8-bit), an answer a kText with the page's text (UTF-8) or a kFail with
// the reason.
QByteArray frame(const char* kind, const QByteArray& body);

// Reads a header line ("<kind> <bytes>\n"); false when the line is no header.
bool readHeader(const QByteArray& line, QByteArray* kind, qint64* bytes);

} // namespace OcrReaderMessages
