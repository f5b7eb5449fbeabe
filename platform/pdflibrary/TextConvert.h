#pragma once

#include <string>

// Conversions between the wide strings of the library's interface (wchar_t holds UTF-32 code
// points on Linux) and the UTF-8 the PDF engine and the file system take.
namespace dpl {

// A null pointer gives an empty string; code points that are not Unicode scalar values become
// U+FFFD.
std::string toUtf8(const wchar_t* text);
std::string toUtf8(const std::wstring& text);

// Malformed UTF-8 sequences become U+FFFD.
std::wstring fromUtf8(const char* text);
std::wstring fromUtf8(const std::string& text);

} // namespace dpl
