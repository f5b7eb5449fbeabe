#include "tests/fuzz/targets/ReaderFuzzing.h"

#include "quillbook/reader/BookReader.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace ReaderFuzzing {

namespace {

QTemporaryDir* folder = nullptr;

// A reader broke its promise: let the fuzzer record the input.
void fail(const char* what, const QString& detail)
{
    qCritical("%s: %s", what, qPrintable(detail));
    std::abort();
}

} // namespace

void initialize(int* argc, char*** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setApplicationName(QStringLiteral("Quillpress Fuzzing"));
    new QGuiApplication(*argc, *argv);
    folder = new QTemporaryDir();
}

void run(const uint8_t* data, size_t size, const char* suffix, BookReader* (*create)(const QString& path))
{
    const QString book = folder->filePath(QStringLiteral("book.") + QLatin1String(suffix));
    QFile file(book);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    const QString outer = folder->filePath(QStringLiteral("run"));
    const QString work = outer + QStringLiteral("/work");
    QDir().mkpath(work);
    {
        std::unique_ptr<BookReader> reader(create(book));
        reader->convert(work);
        const QStringList pages = reader->pageList();
        const QString base = pages.isEmpty() ? QString() : QDir::cleanPath(pages.first());
        if (!pages.isEmpty() && base != work && !base.startsWith(work + QLatin1Char('/')))
            fail("base folder outside the work folder", base);
        for (int i = 1; i < pages.size(); ++i) {
            const QString page = QDir::cleanPath(base + QLatin1Char('/') + pages.at(i));
            if (!page.startsWith(work + QLatin1Char('/')))
                fail("page outside the work folder", page);
        }
    }
    if (QDir(outer).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) != QStringList{QStringLiteral("work")})
        fail("written beside the work folder", outer);
    QDir(outer).removeRecursively();
}

} // namespace ReaderFuzzing
