#include "platform/pdf2word/engine/read/Scripts.h"

namespace p2w {

namespace {

// Each script: the names Tesseract's script detection gives it (the first is the log's) and the
// Tesseract languages whose models read it.
struct ScriptRow
{
    QChar::Script script;
    const char* names;
    const char* languages;
};

// clang-format off
const ScriptRow kScripts[] = {
    {QChar::Script_Latin, "Latin Fraktur",
     "eng deu fra spa ita por nld dan swe nor fin isl est lav lit pol ces slk slv hrv bos ron hun tur aze "
     "cat glg eus oci cos bre cym gle gla fry ltz mlt sqi lat epo afr swa ind msa jav sun tgl ceb vie yor "
     "hat que mri ton fao enm frm frk ita_old spa_old srp_latn uzb kmr fil deu-frak dan-frak swe-frak slk-frak"},
    {QChar::Script_Cyrillic, "Cyrillic", "rus ukr bel bul mkd srp kaz kir mon tat tgk uzb_cyrl aze_cyrl bak chv"},
    {QChar::Script_Greek, "Greek", "ell grc"},
    {QChar::Script_Arabic, "Arabic", "ara fas urd pus snd uig"},
    {QChar::Script_Hebrew, "Hebrew", "heb yid"},
    {QChar::Script_Syriac, "Syriac", "syr"},
    {QChar::Script_Thaana, "Thaana", "div"},
    {QChar::Script_Devanagari, "Devanagari", "hin mar nep san"},
    {QChar::Script_Bengali, "Bengali", "ben asm"},
    {QChar::Script_Gurmukhi, "Gurmukhi", "pan"},
    {QChar::Script_Gujarati, "Gujarati", "guj"},
    {QChar::Script_Oriya, "Oriya", "ori"},
    {QChar::Script_Tamil, "Tamil", "tam"},
    {QChar::Script_Telugu, "Telugu", "tel"},
    {QChar::Script_Kannada, "Kannada", "kan"},
    {QChar::Script_Malayalam, "Malayalam", "mal"},
    {QChar::Script_Sinhala, "Sinhala", "sin"},
    {QChar::Script_Thai, "Thai", "tha"},
    {QChar::Script_Lao, "Lao", "lao"},
    {QChar::Script_Tibetan, "Tibetan", "bod dzo"},
    {QChar::Script_Myanmar, "Myanmar", "mya"},
    {QChar::Script_Khmer, "Khmer", "khm"},
    {QChar::Script_Georgian, "Georgian", "kat kat_old"},
    {QChar::Script_Armenian, "Armenian", "hye"},
    {QChar::Script_Ethiopic, "Ethiopic", "amh tir"},
    {QChar::Script_Cherokee, "Cherokee", "chr"},
    {QChar::Script_Han, "Han Japanese Hiragana Katakana", "chi_sim chi_tra jpn chi_sim_vert chi_tra_vert jpn_vert"},
    {QChar::Script_Hangul, "Hangul", "kor kor_vert"},
};
// clang-format on

const ScriptRow* rowOf(QChar::Script script)
{
    for (const ScriptRow& row : kScripts) {
        if (row.script == script)
            return &row;
    }
    return nullptr;
}

QStringList split(const char* words)
{
    return QString::fromLatin1(words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

QChar::Script scriptOf(char32_t c)
{
    if (!QChar::isLetter(c))
        return QChar::Script_Unknown;
    const QChar::Script script = QChar::script(c);
    switch (script) {
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
        return QChar::Script_Han;
    case QChar::Script_Common:
    case QChar::Script_Inherited:
        return QChar::Script_Unknown;
    default:
        return script;
    }
}

QChar::Script scriptOfDetectedName(const QString& name)
{
    for (const ScriptRow& row : kScripts) {
        if (split(row.names).contains(name, Qt::CaseInsensitive))
            return row.script;
    }
    return QChar::Script_Unknown;
}

QString scriptName(QChar::Script script)
{
    const ScriptRow* row = rowOf(script);
    return row ? split(row->names).front() : QStringLiteral("unknown");
}

QString languagesForScript(QChar::Script script, const QStringList& given, const QStringList& installed)
{
    const ScriptRow* row = rowOf(script);
    if (!row)
        return QString();
    const QStringList readers = split(row->languages);
    QStringList fitting;
    for (const QString& language : given) {
        if (readers.contains(language) && !fitting.contains(language))
            fitting << language;
    }
    if (!fitting.isEmpty())
        return fitting.join(QLatin1Char('+'));
    for (const QString& language : readers) {
        if (installed.contains(language))
            return language;
    }
    return QString();
}

} // namespace p2w
