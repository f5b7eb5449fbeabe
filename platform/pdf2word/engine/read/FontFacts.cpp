#include "platform/pdf2word/engine/read/FontFacts.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

namespace p2w {

namespace {

// Families readers know, by a piece of the name (lower case, no spaces), most telling first:
// "Latin Modern Mono" is monospace before it is roman, "Microsoft Sans Serif" is sans, "Palatino"
// is no "Lato".
struct NamedFamily
{
    const char* piece;
    FlowFont::Family family;
};
const NamedFamily kNamedFamilies[] = {
    {"palatino", FlowFont::Roman},
    {"corsiva", FlowFont::Script},
    {"mono", FlowFont::Modern},
    {"courier", FlowFont::Modern},
    {"consol", FlowFont::Modern},
    {"typewriter", FlowFont::Modern},
    {"inconsolata", FlowFont::Modern},
    {"menlo", FlowFont::Modern},
    {"monaco", FlowFont::Modern},
    {"cmtt", FlowFont::Modern},
    {"symbol", FlowFont::Decorative},
    {"dingbat", FlowFont::Decorative},
    {"wingding", FlowFont::Decorative},
    {"webding", FlowFont::Decorative},
    {"script", FlowFont::Script},
    {"brush", FlowFont::Script},
    {"comic", FlowFont::Script},
    {"chancery", FlowFont::Script},
    {"handwrit", FlowFont::Script},
    {"sans", FlowFont::Swiss},
    {"helvetica", FlowFont::Swiss},
    {"arial", FlowFont::Swiss},
    {"arimo", FlowFont::Swiss},
    {"verdana", FlowFont::Swiss},
    {"tahoma", FlowFont::Swiss},
    {"calibri", FlowFont::Swiss},
    {"carlito", FlowFont::Swiss},
    {"segoe", FlowFont::Swiss},
    {"trebuchet", FlowFont::Swiss},
    {"futura", FlowFont::Swiss},
    {"frutiger", FlowFont::Swiss},
    {"myriad", FlowFont::Swiss},
    {"univers", FlowFont::Swiss},
    {"optima", FlowFont::Swiss},
    {"avenir", FlowFont::Swiss},
    {"franklin", FlowFont::Swiss},
    {"roboto", FlowFont::Swiss},
    {"lato", FlowFont::Swiss},
    {"ubuntu", FlowFont::Swiss},
    {"cantarell", FlowFont::Swiss},
    {"candara", FlowFont::Swiss},
    {"corbel", FlowFont::Swiss},
    {"gothic", FlowFont::Swiss},
    {"grotesk", FlowFont::Swiss},
    {"grotesque", FlowFont::Swiss},
    {"meiryo", FlowFont::Swiss},
    {"gulim", FlowFont::Swiss},
    {"dotum", FlowFont::Swiss},
    {"hei", FlowFont::Swiss},
    {"times", FlowFont::Roman},
    {"georgia", FlowFont::Roman},
    {"garamond", FlowFont::Roman},
    {"caslon", FlowFont::Roman},
    {"palladio", FlowFont::Roman},
    {"minion", FlowFont::Roman},
    {"cambria", FlowFont::Roman},
    {"caladea", FlowFont::Roman},
    {"antiqua", FlowFont::Roman},
    {"bookman", FlowFont::Roman},
    {"century", FlowFont::Roman},
    {"baskerville", FlowFont::Roman},
    {"bodoni", FlowFont::Roman},
    {"didot", FlowFont::Roman},
    {"goudy", FlowFont::Roman},
    {"sabon", FlowFont::Roman},
    {"janson", FlowFont::Roman},
    {"plantin", FlowFont::Roman},
    {"perpetua", FlowFont::Roman},
    {"constantia", FlowFont::Roman},
    {"charter", FlowFont::Roman},
    {"utopia", FlowFont::Roman},
    {"tinos", FlowFont::Roman},
    {"libertin", FlowFont::Roman},
    {"schoolbook", FlowFont::Roman},
    {"lora", FlowFont::Roman},
    {"merriweather", FlowFont::Roman},
    {"crimson", FlowFont::Roman},
    {"mincho", FlowFont::Roman},
    {"batang", FlowFont::Roman},
    {"song", FlowFont::Roman},
    {"ming", FlowFont::Roman},
    {"serif", FlowFont::Roman},
    {"roman", FlowFont::Roman},
    {"cmr", FlowFont::Roman},
    {"book", FlowFont::Roman},
};

bool familyByName(const QString& name, FlowFont::Family* family)
{
    QString key = name.toLower();
    key.remove(QLatin1Char(' '));
    for (const NamedFamily& named : kNamedFamilies) {
        if (key.contains(QLatin1String(named.piece))) {
            *family = named.family;
            return true;
        }
    }
    return false;
}

// The PANOSE family kind (first digit) and serif style (second): Latin text with or without
// serifs, hand-written, decorative or symbols; proportion 9 is monospace.
bool familyByPanose(const QByteArray& panose, FlowFont::Family* family)
{
    if (panose.size() != 10)
        return false;
    switch (panose[0]) {
    case 2:
        if (panose[3] == 9)
            *family = FlowFont::Modern;
        else if (panose[1] >= 11 && panose[1] <= 15)
            *family = FlowFont::Swiss;
        else if (panose[1] >= 2 && panose[1] <= 10)
            *family = FlowFont::Roman;
        else
            return false;
        return true;
    case 3:
        *family = FlowFont::Script;
        return true;
    case 4:
    case 5:
        *family = FlowFont::Decorative;
        return true;
    default:
        return false;
    }
}

// The IBM font class in the OS/2 table: serif classes, sans serif, ornamentals, scripts, symbols.
bool familyByClass(int familyClass, FlowFont::Family* family)
{
    switch (familyClass >> 8) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 7:
        *family = FlowFont::Roman;
        return true;
    case 8:
        *family = FlowFont::Swiss;
        return true;
    case 9:
    case 12:
        *family = FlowFont::Decorative;
        return true;
    case 10:
        *family = FlowFont::Script;
        return true;
    default:
        return false;
    }
}

// The Windows character set of the code pages the OS/2 table names: a CJK set before the Latin
// one such fonts also cover, symbols, then the first of the alphabetic sets.
int charsetOf(const TT_OS2* os2)
{
    if (!os2 || os2->version < 1 || os2->ulCodePageRange1 == 0)
        return -1;
    const struct
    {
        int bit;
        int charset;
    } sets[] = {{17, 128}, {18, 134}, {19, 129}, {20, 136}, {21, 130}, {31, 2}, {0, 0}, {1, 238}, {2, 204}, {3, 161}, {4, 162}, {5, 177}, {6, 178}, {7, 186}, {8, 163}, {16, 222}};
    for (const auto& set : sets) {
        if (os2->ulCodePageRange1 & (1ul << set.bit))
            return set.charset;
    }
    return -1;
}

} // namespace

FlowFont fontFactsByName(const QString& family, bool monospace)
{
    FlowFont font;
    font.name = family;
    font.fixedPitch = monospace;
    if (monospace)
        font.family = FlowFont::Modern;
    else
        familyByName(family, &font.family);
    return font;
}

FlowFont fontFactsOf(fz_context* ctx, fz_font* font, const QString& family, bool monospace)
{
    FlowFont facts = fontFactsByName(family, monospace);
    FT_Face face = static_cast<FT_Face>(fz_font_ft_face(ctx, font));
    const fz_font_flags_t* flags = fz_font_flags(font);
    const bool embedded = face && flags && !flags->ft_substitute;
    const TT_OS2* os2 = embedded ? static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)) : nullptr;
    if (os2) {
        const QByteArray panose(reinterpret_cast<const char*>(os2->panose), 10);
        if (panose[0] != 0)
            facts.panose = panose;
        facts.charset = charsetOf(os2);
    }
    if (embedded && face->charmap && face->charmap->encoding == FT_ENCODING_MS_SYMBOL)
        facts.charset = 2;
    // What the file says of itself first, then what readers know of the name, then the PDF's
    // serif flag.
    if (monospace)
        return facts;
    if (!familyByPanose(facts.panose, &facts.family) && !(os2 && familyByClass(os2->sFamilyClass, &facts.family))
        && !familyByName(family, &facts.family))
        facts.family = fz_font_is_serif(ctx, font) ? FlowFont::Roman : FlowFont::Swiss;
    return facts;
}

void FontTable::learn(const FlowFont& font)
{
    auto known = m_fonts.find(font.name);
    if (known == m_fonts.end())
        m_fonts.insert(font.name, font);
    else if (known->panose.isEmpty() && !font.panose.isEmpty())
        *known = font;
}

QList<FlowFont> FontTable::fontsNamed(const QStringList& names) const
{
    QList<FlowFont> fonts;
    for (const QString& name : names)
        fonts.append(m_fonts.value(name, fontFactsByName(name, false)));
    return fonts;
}

} // namespace p2w
