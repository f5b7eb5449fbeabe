#pragma once

// Scripts (writing systems) of characters and of Tesseract's models: text without a Unicode map
// is read only with a model made for its script, so that letters of one script never come out
// as letters of another.

#include <QChar>
#include <QString>
#include <QStringList>

namespace p2w {

// The script of a letter, with Hiragana and Katakana counted as Han (Japanese mixes the three);
// QChar::Script_Unknown for digits, punctuation, marks and spaces, which every script shares.
QChar::Script scriptOf(char32_t c);

// The script Tesseract's script detection names ("Latin", "Arabic", "Japanese"); unknown for a
// name it does not know.
QChar::Script scriptOfDetectedName(const QString& name);

// The script's name as the log says it ("Arabic").
QString scriptName(QChar::Script script);

// Of the given Tesseract languages ("eng", "ara", "chi_sim"), those whose model reads script,
// joined as Tesseract takes them ("eng+deu"). Where none of them does, one of the installed
// languages that does: the first in the script's own order (its most used language first), so
// that a document in a script the user did not choose is still read. Empty when no installed
// model reads it.
QString languagesForScript(QChar::Script script, const QStringList& given, const QStringList& installed = QStringList());

} // namespace p2w
