#include "PdfFuzzing.h"

#include "PdfOpen.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace PdfFuzzing {

namespace {

// One file per process, rewritten for every input and removed at exit.
const std::string& inputPath()
{
    static const std::string path = [] {
        const char* folder = std::getenv("TMPDIR");
        std::string name = std::string(folder && *folder ? folder : "/tmp") + "/fuzzpdf.XXXXXX";
        const int file = mkstemp(&name[0]);
        if (file < 0)
            fail("cannot make the input file");
        close(file);
        static const std::string removed = name;
        std::atexit([] { unlink(removed.c_str()); });
        return name;
    }();
    return path;
}

bool writeInput(const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(inputPath().c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

OpenedInput::~OpenedInput()
{
    if (document)
        pdf_drop_document(context.get(), document);
}

OpenedInput open(const uint8_t* data, size_t size)
{
    OpenedInput input;
    if (!writeInput(data, size))
        fail("cannot write the input file");
    input.context = qpmupdf::newContext();
    if (!input.context)
        fail("no MuPDF context");
    fz_context* ctx = input.context.get();
    if (qpmupdf::openPdf(ctx, inputPath(), std::string(), &input.document) != qpmupdf::OpenResult::Opened)
        return input;
    int pages = 0;
    if (!qpmupdf::fzRun(ctx, [&] { pages = pdf_count_pages(ctx, input.document); }) || pages < 1)
        fail("an opened document without pages");
    return input;
}

void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace PdfFuzzing
