#include "platform/pdflibrary/TextConvert.h"

namespace dpl {

namespace {

constexpr char32_t replacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = replacement;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string toUtf8(const wchar_t* text)
{
    std::string out;
    if (!text)
        return out;
    for (; *text; ++text)
        appendUtf8(out, char32_t(uint32_t(*text)));
    return out;
}

std::string toUtf8(const std::wstring& text)
{
    return toUtf8(text.c_str());
}

std::wstring fromUtf8(const char* text)
{
    std::wstring out;
    if (!text)
        return out;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    while (*s) {
        unsigned char lead = *s;
        int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1
                                  : (lead >> 4) == 0xE   ? 2
                                  : (lead >> 3) == 0x1E  ? 3
                                                         : -1;
        if (extra < 0) {
            out += wchar_t(replacement);
            ++s;
            continue;
        }
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        int taken = 1;
        for (; taken <= extra; ++taken) {
            if ((s[taken] & 0xC0) != 0x80)
                break;
            c = (c << 6) | (s[taken] & 0x3F);
        }
        static const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (taken <= extra || c < minimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = replacement;
        out += wchar_t(c);
        s += taken;
    }
    return out;
}

std::wstring fromUtf8(const std::string& text)
{
    return fromUtf8(text.c_str());
}

} // namespace dpl
