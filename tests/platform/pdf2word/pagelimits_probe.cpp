// A program for the page-limits test: converts page 1 of a PDF to text through the engine
// library, in a process of its own so that its peak memory is the conversion's. Prints the
// memory it held before the conversion ("before <kB>") and the result ("result <code> <message>").
#include "platform/pdf2word/engine/Pdf2WordEngine.h"

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace {

long residentKb()
{
    FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file)
        return -1;
    long size = 0;
    long resident = 0;
    const int read = std::fscanf(file, "%ld %ld", &size, &resident);
    std::fclose(file);
    return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: pagelimits_probe <engine library> <source.pdf> <output.txt>\n");
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    auto convert = library ? reinterpret_cast<QpPdf2WordConvert>(dlsym(library, QP_PDF2WORD_ENTRY)) : nullptr;
    if (!convert) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 2;
    }
    QpPdf2WordJob job;
    std::memset(&job, 0, sizeof job);
    job.source = argv[2];
    job.output = argv[3];
    job.format = QP_PDF2WORD_TXT;
    job.firstPage = 1;
    job.lastPage = 1;
    job.mode = QP_PDF2WORD_LAYOUT;
    std::printf("before %ld\n", residentKb());
    const int result = convert(&job);
    std::printf("result %d %s\n", result, job.message);
    return 0;
}
