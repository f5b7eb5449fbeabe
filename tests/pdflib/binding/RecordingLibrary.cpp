#include "tests/pdflib/binding/RecordingLibrary.h"

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

struct Script
{
    int integer = 0;
    double real = 0.0;
    void* pointer = nullptr;
    std::wstring wide;
    std::string bytes;
};

struct LibraryBuffer
{
    int number;
    std::string bytes;
};

// The whole state of the fake. Buffers are owned here and identified in the log by their
// creation number ("#1"); a released buffer is kept (marked) so a late use shows in the log.
struct State
{
    std::vector<std::string> log;
    std::string joined;
    std::map<std::string, Script> scripts;
    std::map<const char*, std::unique_ptr<LibraryBuffer>> buffers;
    std::vector<std::unique_ptr<char[]>> storage;
    int nextInstance = 1;
    int nextBuffer = 1;
    int lastWideLength = 0;
    int lastBytesLength = 0;
};

State& state()
{
    static State s;
    return s;
}

std::string quoteWide(const wchar_t* text)
{
    if (!text)
        return "null";
    std::string out = "L\"";
    for (const wchar_t* p = text; *p; ++p) {
        const auto c = static_cast<unsigned long>(*p);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escape[16];
            std::snprintf(escape, sizeof escape, c > 0xFFFF ? "\\U%08lx" : "\\u%04lx", c);
            out += escape;
        }
    }
    return out + "\"";
}

std::string quoteBytes(const std::string& bytes)
{
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            out += escape;
        }
    }
    return out + "\"";
}

std::string describeBuffer(const char* buffer)
{
    if (!buffer)
        return "null";
    auto& buffers = state().buffers;
    const auto found = buffers.find(buffer);
    if (found == buffers.end())
        return "unknown-buffer";
    if (!found->second)
        return "released-buffer";
    return "#" + std::to_string(found->second->number) + "=" + quoteBytes(found->second->bytes);
}

std::string describePointer(const void* value)
{
    if (!value)
        return "null";
    char text[32];
    std::snprintf(text, sizeof text, "%p", value);
    return text;
}

void append(const std::string& line)
{
    state().log.push_back(line);
}

} // namespace

RecordedCall::RecordedCall(const char* name, int instanceID)
    : m_name(name)
    , m_line(std::string(name) + "(" + std::to_string(instanceID))
{
}

void RecordedCall::integer(int value) { m_line += ", " + std::to_string(value); }

void RecordedCall::real(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    m_line += std::string(", ") + text;
}

void RecordedCall::wide(const wchar_t* text) { m_line += ", " + quoteWide(text); }
void RecordedCall::buffer(const char* buffer) { m_line += ", " + describeBuffer(buffer); }
void RecordedCall::handle(HDC value) { m_line += ", " + describePointer(value); }
void RecordedCall::pointer(void* value) { m_line += ", " + describePointer(value); }

void RecordedCall::record()
{
    append(m_line + ")");
}

int RecordedCall::intResult()
{
    record();
    return state().scripts[m_name].integer;
}

double RecordedCall::doubleResult()
{
    record();
    return state().scripts[m_name].real;
}

HDC RecordedCall::hdcResult()
{
    record();
    return static_cast<HDC>(state().scripts[m_name].pointer);
}

const wchar_t* RecordedCall::wideResult()
{
    record();
    const Script& script = state().scripts[m_name];
    state().lastWideLength = static_cast<int>(script.wide.size());
    return script.wide.c_str();
}

const char* RecordedCall::bytesResult()
{
    record();
    const Script& script = state().scripts[m_name];
    state().lastBytesLength = static_cast<int>(script.bytes.size());
    return script.bytes.c_str();
}

// The infrastructure exports.

RECORDING_EXPORT int DPLCreateLibrary(void)
{
    append("CreateLibrary()");
    return state().nextInstance++;
}

RECORDING_EXPORT int DPLReleaseLibrary(int instanceID)
{
    append("ReleaseLibrary(" + std::to_string(instanceID) + ")");
    return 1;
}

RECORDING_EXPORT int DPLStringResultLength(int instanceID)
{
    append("StringResultLength(" + std::to_string(instanceID) + ")");
    return state().lastWideLength;
}

RECORDING_EXPORT int DPLAnsiStringResultLength(int instanceID)
{
    append("AnsiStringResultLength(" + std::to_string(instanceID) + ")");
    return state().lastBytesLength;
}

RECORDING_EXPORT char* DPLCreateBuffer(int instanceID, int Length)
{
    State& s = state();
    const int number = s.nextBuffer++;
    append("CreateBuffer(" + std::to_string(instanceID) + ", " + std::to_string(Length) + ")");
    // Storage of its own per buffer (one byte more, so a zero length still has an address).
    s.storage.emplace_back(new char[static_cast<size_t>(Length > 0 ? Length : 0) + 1]);
    char* address = s.storage.back().get();
    s.buffers[address].reset(new LibraryBuffer{number, std::string()});
    return address;
}

RECORDING_EXPORT int DPLAddToBuffer(int instanceID, char* Buffer, const char* Data, int Length)
{
    const std::string bytes(Data ? Data : "", Data && Length > 0 ? static_cast<size_t>(Length) : 0);
    const std::string before = describeBuffer(Buffer);
    append("AddToBuffer(" + std::to_string(instanceID) + ", " + before.substr(0, before.find('=')) + ", "
           + quoteBytes(bytes) + ", " + std::to_string(Length) + ")");
    auto found = state().buffers.find(Buffer);
    if (found != state().buffers.end() && found->second)
        found->second->bytes += bytes;
    return 1;
}

RECORDING_EXPORT int DPLReleaseBuffer(int instanceID, char* Buffer)
{
    const std::string name = describeBuffer(Buffer);
    append("ReleaseBuffer(" + std::to_string(instanceID) + ", " + name.substr(0, name.find('=')) + ")");
    auto found = state().buffers.find(Buffer);
    if (found != state().buffers.end())
        found->second.reset();
    return 1;
}

// The test's side.

RECORDING_EXPORT void RecordingReset()
{
    State& s = state();
    s.log.clear();
    s.scripts.clear();
    s.buffers.clear();
    s.storage.clear();
    s.nextInstance = 1;
    s.nextBuffer = 1;
    s.lastWideLength = 0;
    s.lastBytesLength = 0;
}

RECORDING_EXPORT const char* RecordingLog()
{
    State& s = state();
    s.joined.clear();
    for (size_t i = 0; i < s.log.size(); ++i)
        s.joined += (i ? "\n" : "") + s.log[i];
    return s.joined.c_str();
}

RECORDING_EXPORT void RecordingScriptInt(const char* name, int value) { state().scripts[name].integer = value; }
RECORDING_EXPORT void RecordingScriptDouble(const char* name, double value) { state().scripts[name].real = value; }
RECORDING_EXPORT void RecordingScriptPointer(const char* name, void* value) { state().scripts[name].pointer = value; }

RECORDING_EXPORT void RecordingScriptWide(const char* name, const wchar_t* text, int length)
{
    state().scripts[name].wide.assign(text, static_cast<size_t>(length));
}

RECORDING_EXPORT void RecordingScriptBytes(const char* name, const char* bytes, int length)
{
    state().scripts[name].bytes.assign(bytes, static_cast<size_t>(length));
}
