// Fuzzes one book reader with whole books. Built once per format: QP_FUZZ_HEADER names the
// reader's header, QP_FUZZ_READER its class and QP_FUZZ_SUFFIX the book file's suffix.
#include QP_FUZZ_HEADER
#include "tests/fuzz/targets/ReaderFuzzing.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    ReaderFuzzing::initialize(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReaderFuzzing::run(data, size, QP_FUZZ_SUFFIX, [](const QString& path) -> BookReader* { return new QP_FUZZ_READER(path); });
    return 0;
}
