#include "platform/pdf2word/engine/read/FontNames.h"

#include <QRegularExpression>
#include <QStringList>

namespace p2w {

namespace {

// TeX's fonts by the letters after "cm" (Computer Modern) or "lm" (its Latin Modern successor),
// and after "sf" (the EC fonts of cm-super): the family and the style the letters stand for.
struct TexFont
{
    const char* letters;
    const char* family;
    bool bold;
    bool italic;
};
const TexFont kTexFonts[] = {
    {"bxti", "Latin Modern Roman", true, true},
    {"bxsl", "Latin Modern Roman", true, true},
    {"ssbx", "Latin Modern Sans", true, false},
    {"ssi", "Latin Modern Sans", false, true},
    {"ss", "Latin Modern Sans", false, false},
    {"itt", "Latin Modern Mono", false, true},
    {"sltt", "Latin Modern Mono", false, true},
    {"tt", "Latin Modern Mono", false, false},
    {"bx", "Latin Modern Roman", true, false},
    {"b", "Latin Modern Roman", true, false},
    {"ti", "Latin Modern Roman", false, true},
    {"sl", "Latin Modern Roman", false, true},
    {"mib", "Latin Modern Math", true, true},
    {"mi", "Latin Modern Math", false, true},
    {"sy", "Latin Modern Math", false, false},
    {"ex", "Latin Modern Math", false, false},
    {"csc", "Latin Modern Roman Caps", false, false},
    {"r", "Latin Modern Roman", false, false},
    {"u", "Latin Modern Roman", false, true},
    {"dunh", "Latin Modern Roman Dunhill", false, false},
};
// The EC names of the same faces.
const TexFont kEcFonts[] = {
    {"bx", "Latin Modern Roman", true, false},
    {"ti", "Latin Modern Roman", false, true},
    {"sl", "Latin Modern Roman", false, true},
    {"ss", "Latin Modern Sans", false, false},
    {"tt", "Latin Modern Mono", false, false},
    {"rm", "Latin Modern Roman", false, false},
    {"cc", "Latin Modern Roman Caps", false, false},
};

bool texName(const QString& name, FontName* font)
{
    const QString lower = name.toLower();
    // Latin Modern's own names: "LMRoman10-Bold", "LMSans12-Oblique", "LMMono10-Regular".
    static const QRegularExpression latinModern(QStringLiteral("^lm(roman|sans|mono|math)(caps|dunh|slant|quot)?\\d*(-(.*))?$"));
    const QRegularExpressionMatch lm = latinModern.match(lower);
    if (lm.hasMatch()) {
        const QString kind = lm.captured(1);
        font->family = QStringLiteral("Latin Modern ") + kind.left(1).toUpper() + kind.mid(1);
        const QString style = lm.captured(4);
        font->bold = style.contains(QLatin1String("bold")) || style.contains(QLatin1String("demi"));
        font->italic = style.contains(QLatin1String("italic")) || style.contains(QLatin1String("oblique")) || lm.captured(2) == QLatin1String("slant");
        return true;
    }
    // "cmbx12", "lmr10", "rm-lmr10", "sfbx1200".
    static const QRegularExpression texShort(QStringLiteral("^(?:[a-z]+-)?(cm|lm|sf)([a-z]+)(\\d+)$"));
    const QRegularExpressionMatch tex = texShort.match(lower);
    if (!tex.hasMatch())
        return false;
    const QString letters = tex.captured(2);
    const bool ec = tex.captured(1) == QLatin1String("sf");
    for (const TexFont& known : ec ? QVector<TexFont>(std::begin(kEcFonts), std::end(kEcFonts))
                                   : QVector<TexFont>(std::begin(kTexFonts), std::end(kTexFonts))) {
        if (letters == QLatin1String(known.letters)) {
            font->family = QLatin1String(known.family);
            font->bold = known.bold;
            font->italic = known.italic;
            return true;
        }
    }
    return false;
}

// Words of a style at the end of a name, and what they say; a maker's marks ("MT", "PS") go too.
// "Roman", "Pro" and "Std" stay: they are part of names people know ("Times New Roman").
struct StyleWord
{
    const char* word;
    bool bold;
    bool italic;
};
const StyleWord kStyleWords[] = {
    {"BoldItalic", true, true},
    {"BoldOblique", true, true},
    {"BoldIt", true, true},
    {"SemiboldItalic", true, true},
    {"Italic", false, true},
    {"Oblique", false, true},
    {"Slanted", false, true},
    {"It", false, true},
    {"Semibold", true, false},
    {"SemiBold", true, false},
    {"Demibold", true, false},
    {"DemiBold", true, false},
    {"Demi", true, false},
    {"ExtraBold", true, false},
    {"Bold", true, false},
    {"Black", true, false},
    {"Heavy", true, false},
    {"Bd", true, false},
    {"Regular", false, false},
    {"Book", false, false},
    {"Medium", false, false},
    {"Light", false, false},
    {"Normal", false, false},
    {"Plain", false, false},
    {"PSMT", false, false},
    {"MT", false, false},
    {"PS", false, false},
};

} // namespace

FontName fontNameOf(const QString& postScriptName, const QString& fileFamily)
{
    FontName font;
    QString name = postScriptName;
    static const QRegularExpression subset(QStringLiteral("^[A-Z]{6}\\+"));
    name.remove(subset);
    if (texName(name, &font))
        return font;
    // The style: after the hyphen ("Minion-BoldIt"), or run on ("LinuxLibertineOBold").
    QString base = name.section(QLatin1Char('-'), 0, 0);
    QString style = name.section(QLatin1Char('-'), 1);
    for (bool cut = true; cut;) {
        cut = false;
        for (const StyleWord& word : kStyleWords) {
            const QLatin1String ending(word.word);
            if (base.size() > ending.size() + 2 && base.endsWith(ending)) {
                // "It" and "Bd" only after a lower-case letter: "MinionIt", not "Split".
                if (ending.size() == 2 && !base[base.size() - 3].isLower())
                    continue;
                base.chop(ending.size());
                style.prepend(QLatin1String(word.word));
                cut = true;
            }
        }
    }
    for (const StyleWord& word : kStyleWords) {
        if (style.contains(QLatin1String(word.word))) {
            font.bold = font.bold || word.bold;
            font.italic = font.italic || word.italic;
        }
    }
    // A family with spaces in the file is the name people know ("Times New Roman").
    if (fileFamily.contains(QLatin1Char(' '))) {
        font.family = fileFamily;
        return font;
    }
    // Adobe's own faces carry an "A" before the name ("ACaslon", "AGaramond").
    static const QRegularExpression adobe(QStringLiteral("^A([A-Z][a-z]{3,})$"));
    const QRegularExpressionMatch maker = adobe.match(base);
    if (maker.hasMatch())
        base = QStringLiteral("Adobe") + maker.captured(1);
    QString spaced;
    for (int i = 0; i < base.size(); ++i) {
        if (i > 0 && base[i].isUpper() && base[i - 1].isLower())
            spaced += QLatin1Char(' ');
        spaced += base[i];
    }
    font.family = spaced.isEmpty() ? fileFamily : spaced;
    return font;
}

} // namespace p2w
