#pragma once

// How one forwarding method of the plain binding crosses into the library; used only by the
// generated forwarding methods. Every argument and result kind has one rule, so each marshalling
// family is the combination of its kinds' rules:
// - int, double, HDC and pointer arguments pass unchanged; wide text passes as a pointer to the
//   caller's NUL-terminated string;
// - every byte-string argument is copied into a library buffer of its exact length, in argument
//   order, before the call; the buffers are released after it, in the same order;
// - a wide-string result's length is asked for straight after the call, before anything else
//   reaches the library (the length belongs to the instance's latest call);
// - a byte-string result's length is asked for after the call's buffers are released;
// - an unbound entry makes no call at all and gives the empty value of the result type.

#include "pdflib/binding/generated/DebenuPDFLibraryDLL1212.h"

#include "pdflib/binding/generated/DPLExports.h"

#include <string>
#include <tuple>
#include <vector>

struct ForwardCall
{
    // The library buffers of one call's byte-string arguments, released after the call.
    class Buffers
    {
    public:
        explicit Buffers(DebenuPDFLibraryDLL1212& library)
            : library(library) {}
        Buffers(const Buffers&) = delete;
        Buffers& operator=(const Buffers&) = delete;

        char* add(const std::string& bytes)
        {
            buffers.push_back(library.copyToLibraryBuffer(bytes));
            return buffers.back();
        }
        void release()
        {
            for (char* buffer : buffers)
                library.releaseLibraryBuffer(buffer);
            buffers.clear();
        }

    private:
        DebenuPDFLibraryDLL1212& library;
        std::vector<char*> buffers;
    };

    // The type a forwarding method returns for the export's C result.
    template <typename Raw> struct Forwarded
    {
        using Type = Raw;
    };

    template <typename Export> struct Signature;
    template <typename Raw, typename... Params> struct Signature<Raw (*)(int, Params...)>
    {
        using Result = typename Forwarded<Raw>::Type;
    };

    static int pass(int value, Buffers&) { return value; }
    static double pass(double value, Buffers&) { return value; }
    static HDC pass(HDC value, Buffers&) { return value; }
    static void* pass(void* value, Buffers&) { return value; }
    static const wchar_t* pass(const std::wstring& text, Buffers&) { return text.c_str(); }
    static char* pass(const std::string& bytes, Buffers& buffers) { return buffers.add(bytes); }

    template <typename Raw>
    static Raw finish(DebenuPDFLibraryDLL1212&, Raw result, Buffers& buffers)
    {
        buffers.release();
        return result;
    }

    static std::wstring finish(DebenuPDFLibraryDLL1212& library, const wchar_t* text, Buffers& buffers)
    {
        const int length = library.stringResultLength();
        buffers.release();
        if (!text || length <= 0)
            return std::wstring();
        return std::wstring(text, static_cast<size_t>(length));
    }

    static std::string finish(DebenuPDFLibraryDLL1212& library, const char* bytes, Buffers& buffers)
    {
        buffers.release();
        const int length = library.ansiStringResultLength();
        if (!bytes || length <= 0)
            return std::string();
        return std::string(bytes, static_cast<size_t>(length));
    }

    template <typename Export, typename... Args>
    static typename Signature<Export>::Result call(DebenuPDFLibraryDLL1212& library, DPLExport::Index index,
                                                   const Args&... args)
    {
        const auto entry = reinterpret_cast<Export>(library.functionTable[index]);
        if (!entry)
            return {};
        Buffers buffers(library);
        // A braced list runs left to right, so the buffers are made in argument order.
        std::tuple<decltype(pass(args, buffers))...> passed{pass(args, buffers)...};
        auto result = std::apply([&](auto... values) { return entry(library.instanceID, values...); }, passed);
        return finish(library, result, buffers);
    }
};

template <> struct ForwardCall::Forwarded<const wchar_t*>
{
    using Type = std::wstring;
};
template <> struct ForwardCall::Forwarded<const char*>
{
    using Type = std::string;
};
