#include "app/OcrLanguages.h"

#include <QDir>
#include <QFileInfo>

namespace {

// ISO 639-2 terminology codes (Tesseract's data names) and the ISO 639-1 code of the same
// language, then the data names that stand for themselves.
// clang-format off
const char* const tableRows[][2] = {
    {"aar", "aa"}, {"abk", "ab"}, {"afr", "af"}, {"aka", "ak"}, {"amh", "am"}, {"ara", "ar"}, {"arg", "an"},
    {"asm", "as"}, {"ava", "av"}, {"ave", "ae"}, {"aym", "ay"}, {"aze", "az"}, {"bak", "ba"}, {"bam", "bm"},
    {"bel", "be"}, {"ben", "bn"}, {"bih", "bh"}, {"bis", "bi"}, {"bod", "bo"}, {"bos", "bs"}, {"bre", "br"},
    {"bul", "bg"}, {"cat", "ca"}, {"ces", "cs"}, {"cha", "ch"}, {"che", "ce"}, {"chu", "cu"}, {"chv", "cv"},
    {"cor", "kw"}, {"cos", "co"}, {"cre", "cr"}, {"cym", "cy"}, {"dan", "da"}, {"deu", "de"}, {"div", "dv"},
    {"dzo", "dz"}, {"ell", "el"}, {"eng", "en"}, {"epo", "eo"}, {"est", "et"}, {"eus", "eu"}, {"ewe", "ee"},
    {"fao", "fo"}, {"fas", "fa"}, {"fij", "fj"}, {"fin", "fi"}, {"fra", "fr"}, {"fry", "fy"}, {"ful", "ff"},
    {"gla", "gd"}, {"gle", "ga"}, {"glg", "gl"}, {"glv", "gv"}, {"grn", "gn"}, {"guj", "gu"}, {"hat", "ht"},
    {"hau", "ha"}, {"heb", "he"}, {"her", "hz"}, {"hin", "hi"}, {"hmo", "ho"}, {"hrv", "hr"}, {"hun", "hu"},
    {"hye", "hy"}, {"ibo", "ig"}, {"ido", "io"}, {"iii", "ii"}, {"iku", "iu"}, {"ile", "ie"}, {"ina", "ia"},
    {"ind", "id"}, {"ipk", "ik"}, {"isl", "is"}, {"ita", "it"}, {"jav", "jv"}, {"jpn", "ja"}, {"kal", "kl"},
    {"kan", "kn"}, {"kas", "ks"}, {"kat", "ka"}, {"kau", "kr"}, {"kaz", "kk"}, {"khm", "km"}, {"kik", "ki"},
    {"kin", "rw"}, {"kir", "ky"}, {"kom", "kv"}, {"kon", "kg"}, {"kor", "ko"}, {"kua", "kj"}, {"kur", "ku"},
    {"lao", "lo"}, {"lat", "la"}, {"lav", "lv"}, {"lim", "li"}, {"lin", "ln"}, {"lit", "lt"}, {"ltz", "lb"},
    {"lub", "lu"}, {"lug", "lg"}, {"mah", "mh"}, {"mal", "ml"}, {"mar", "mr"}, {"mkd", "mk"}, {"mlg", "mg"},
    {"mlt", "mt"}, {"mon", "mn"}, {"mri", "mi"}, {"msa", "ms"}, {"mya", "my"}, {"nau", "na"}, {"nav", "nv"},
    {"nbl", "nr"}, {"nde", "nd"}, {"ndo", "ng"}, {"nep", "ne"}, {"nld", "nl"}, {"nno", "nn"}, {"nob", "nb"},
    {"nor", "no"}, {"nya", "ny"}, {"oci", "oc"}, {"oji", "oj"}, {"ori", "or"}, {"orm", "om"}, {"oss", "os"},
    {"pan", "pa"}, {"pli", "pi"}, {"pol", "pl"}, {"por", "pt"}, {"pus", "ps"}, {"que", "qu"}, {"roh", "rm"},
    {"ron", "ro"}, {"run", "rn"}, {"rus", "ru"}, {"sag", "sg"}, {"san", "sa"}, {"sin", "si"}, {"slk", "sk"},
    {"slv", "sl"}, {"sme", "se"}, {"smo", "sm"}, {"sna", "sn"}, {"snd", "sd"}, {"som", "so"}, {"sot", "st"},
    {"spa", "es"}, {"sqi", "sq"}, {"srd", "sc"}, {"srp", "sr"}, {"ssw", "ss"}, {"sun", "su"}, {"swa", "sw"},
    {"swe", "sv"}, {"tah", "ty"}, {"tam", "ta"}, {"tat", "tt"}, {"tel", "te"}, {"tgk", "tg"}, {"tgl", "tl"},
    {"tha", "th"}, {"tir", "ti"}, {"ton", "to"}, {"tsn", "tn"}, {"tso", "ts"}, {"tuk", "tk"}, {"tur", "tr"},
    {"twi", "tw"}, {"uig", "ug"}, {"ukr", "uk"}, {"urd", "ur"}, {"uzb", "uz"}, {"ven", "ve"}, {"vie", "vi"},
    {"vol", "vo"}, {"wln", "wa"}, {"wol", "wo"}, {"xho", "xh"}, {"yid", "yi"}, {"yor", "yo"}, {"zha", "za"},
    {"zho", "zh"}, {"zul", "zu"},
    {"chi_tra", "chi_tra"}, {"chi_sim", "chi_sim"}, {"dan-frak", "dan-frak"}, {"deu-frak", "deu-frak"},
    {"slk-frak", "slk-frak"}, {"swe-frak", "swe-frak"},
};
// clang-format on

} // namespace

const QMap<QString, QString>& OcrLanguages::table()
{
    static const QMap<QString, QString> rows = [] {
        QMap<QString, QString> map;
        for (const auto& row : tableRows)
            map.insert(QLatin1String(row[0]), QLatin1String(row[1]));
        return map;
    }();
    return rows;
}

void OcrLanguages::load(const QString& tessdataFolder)
{
    clear();
    const QFileInfoList files = QDir(tessdataFolder).entryInfoList({QStringLiteral("*.traineddata")}, QDir::Files);
    for (const QFileInfo& file : files) {
        const QString dataName = file.completeBaseName();
        const QString code = table().value(dataName);
        const QString offered = (code.isEmpty() ? dataName : code).toUpper();
        m_installed << offered;
        if (code.isEmpty())
            m_dataNames.insert(offered, dataName);
    }
    // Plain character-code order, as the list is shown.
    std::sort(m_installed.begin(), m_installed.end());
}

void OcrLanguages::clear()
{
    m_installed.clear();
    m_dataNames.clear();
}

QStringList OcrLanguages::installed() const
{
    return m_installed;
}

QString OcrLanguages::tesseractLanguage(const QString& code) const
{
    const QString lower = code.toLower();
    for (auto it = table().cbegin(); it != table().cend(); ++it) {
        if (it.value() == lower)
            return it.key();
    }
    // Data the table does not know is used under its own name when it is installed; only
    // otherwise does recognition fall back to English.
    const QString dataName = m_dataNames.value(code.toUpper());
    return dataName.isEmpty() ? QStringLiteral("eng") : dataName;
}

QString OcrLanguages::allLanguages() const
{
    QStringList names = {QStringLiteral("eng")};
    for (const QString& code : m_installed) {
        const QString name = tesseractLanguage(code);
        if (!names.contains(name) && name != QLatin1String("osd") && name != QLatin1String("equ"))
            names << name;
    }
    return names.join(QLatin1Char('+'));
}

QString OcrLanguages::defaultLanguage(const QString& interfaceLanguage) const
{
    if (m_installed.contains(interfaceLanguage, Qt::CaseInsensitive))
        return interfaceLanguage.toUpper();
    return QStringLiteral("EN");
}

bool OcrLanguages::canBuildParagraphs(const QString& code)
{
    for (const char* ending : {"chi_tra", "chi_sim", "ko"}) {
        if (code.endsWith(QLatin1String(ending), Qt::CaseInsensitive))
            return false;
    }
    return true;
}
