#pragma once

// The recording fake of the PDF library, built as a shared library for the binding tests. Every
// export appends one line to a call log ("Name(instance, arguments...)") and returns the value
// that the test scripted for that function (0, 0.0, null or an empty string when none was).
// The test reaches the log and the scripts through the C functions of RecordingControl.h.

#include "pdflib/binding/generated/DPLExports.h"

#include <string>

#define RECORDING_EXPORT extern "C" __attribute__((visibility("default")))

// One call being recorded: the generated exports add the arguments in order, then take the
// result, which writes the log line.
class RecordedCall
{
public:
    RecordedCall(const char* name, int instanceID);

    void integer(int value);
    void real(double value);
    void wide(const wchar_t* text);
    void buffer(const char* buffer);
    void handle(HDC value);
    void pointer(void* value);

    int intResult();
    double doubleResult();
    HDC hdcResult();
    const wchar_t* wideResult();
    const char* bytesResult();

private:
    void record();

    std::string m_name;
    std::string m_line;
};
