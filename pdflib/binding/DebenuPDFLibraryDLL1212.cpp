#include "pdflib/binding/generated/DebenuPDFLibraryDLL1212.h"

#include "pdflib/binding/generated/DPLExports.h"

#include <dlfcn.h>

namespace {

// dlopen takes a byte path; the wide path holds UTF-32 units.
std::string toUtf8(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t unit : text) {
        const auto c = static_cast<unsigned long>(unit);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | ((c >> 18) & 0x07));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

template <typename Export>
Export entryOf(void* const* table, DPLExport::Index index)
{
    return reinterpret_cast<Export>(table[index]);
}

} // namespace

DebenuPDFLibraryDLL1212::DebenuPDFLibraryDLL1212(const std::wstring& path)
    : dllHandle(nullptr)
    , instanceID(0)
    , loadError(false)
    , functionTable{}
{
    dllHandle = dlopen(toUtf8(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!dllHandle) {
        loadError = true;
        return;
    }
    // A missing export never stops the binding: its entry stays null and the rest is bound.
    for (int i = 0; i < DPLExport::Count; ++i)
        functionTable[i] = resolveFunction(DPLExport::names[i]);
    if (auto create = entryOf<decltype(&DPLCreateLibrary)>(functionTable, DPLExport::CreateLibrary))
        instanceID = create();
}

DebenuPDFLibraryDLL1212::~DebenuPDFLibraryDLL1212()
{
    if (instanceID > 0) {
        if (auto release = entryOf<decltype(&DPLReleaseLibrary)>(functionTable, DPLExport::ReleaseLibrary))
            release(instanceID);
    }
    if (dllHandle) {
        dlclose(dllHandle);
        dllHandle = nullptr;
    }
}

bool DebenuPDFLibraryDLL1212::LibraryLoaded() const
{
    return !loadError;
}

void* DebenuPDFLibraryDLL1212::resolveFunction(const char* name)
{
    void* address = dlsym(dllHandle, name);
    if (!address)
        loadError = true;
    return address;
}

char* DebenuPDFLibraryDLL1212::copyToLibraryBuffer(const std::string& bytes)
{
    const int length = static_cast<int>(bytes.size());
    char* buffer = nullptr;
    if (auto create = entryOf<decltype(&DPLCreateBuffer)>(functionTable, DPLExport::CreateBuffer))
        buffer = create(instanceID, length);
    if (auto add = entryOf<decltype(&DPLAddToBuffer)>(functionTable, DPLExport::AddToBuffer))
        add(instanceID, buffer, bytes.data(), length);
    return buffer;
}

void DebenuPDFLibraryDLL1212::releaseLibraryBuffer(char* buffer)
{
    if (auto release = entryOf<decltype(&DPLReleaseBuffer)>(functionTable, DPLExport::ReleaseBuffer))
        release(instanceID, buffer);
}

int DebenuPDFLibraryDLL1212::stringResultLength()
{
    auto length = entryOf<decltype(&DPLStringResultLength)>(functionTable, DPLExport::StringResultLength);
    return length ? length(instanceID) : 0;
}

int DebenuPDFLibraryDLL1212::ansiStringResultLength()
{
    auto length = entryOf<decltype(&DPLAnsiStringResultLength)>(functionTable, DPLExport::AnsiStringResultLength);
    return length ? length(instanceID) : 0;
}
