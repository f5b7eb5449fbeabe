// Fuzzes the PalmDoc decoder with single records.
#include "quillbook/mobi/Decompress.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray record = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    for (int limit : {4096, 7}) {
        if (mobi::palmDocDecompress(record, limit).size() > limit)
            std::abort();
    }
    return 0;
}
