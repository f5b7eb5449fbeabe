#include "tests/fuzz/targets/PdfFuzzing.h"

#include "platform/mupdf/PdfOpen.h"

#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <unistd.h>

namespace PdfFuzzing {

namespace {

std::string temporaryName(const char* pattern)
{
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder && *folder ? folder : "/tmp") + "/" + pattern;
}

int removeEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return ::remove(path);
}

} // namespace

const std::string& writeInput(const uint8_t* data, size_t size)
{
    static const std::string path = [] {
        std::string name = temporaryName("fuzzpdf.XXXXXX");
        const int file = mkstemp(&name[0]);
        if (file < 0)
            fail("cannot make the input file");
        close(file);
        static const std::string removed = name;
        std::atexit([] { unlink(removed.c_str()); });
        return name;
    }();
    FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(data, 1, size, file) == size;
    if (!file || std::fclose(file) != 0 || !written)
        fail("cannot write the input file");
    return path;
}

const std::string& outputFolder()
{
    static const std::string path = [] {
        std::string name = temporaryName("fuzzout.XXXXXX");
        if (!mkdtemp(&name[0]))
            fail("cannot make the output folder");
        static const std::string removed = name;
        std::atexit([] { nftw(removed.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS); });
        return name;
    }();
    return path;
}

OpenedInput::~OpenedInput()
{
    if (document)
        pdf_drop_document(context.get(), document);
}

OpenedInput open(const uint8_t* data, size_t size)
{
    OpenedInput input;
    const std::string& path = writeInput(data, size);
    input.context = qpmupdf::newContext();
    if (!input.context)
        fail("no MuPDF context");
    fz_context* ctx = input.context.get();
    if (qpmupdf::openPdf(ctx, path, std::string(), &input.document) != qpmupdf::OpenResult::Opened)
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
