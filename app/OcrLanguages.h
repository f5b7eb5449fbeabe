#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// The OCR languages of the program: the table from Tesseract data names to the language codes
// the user sees, and the languages whose data files are installed.
class OcrLanguages
{
public:
    // Lists the "*.traineddata" files of tessdataFolder. Each file is offered under the code the
    // table gives its name, or under its own name when the table has none; upper case, sorted.
    void load(const QString& tessdataFolder);
    void clear();

    QStringList installed() const;

    // The Tesseract data name for a code: the table's name for it, else the installed data file
    // offered under that code, else "eng".
    QString tesseractLanguage(const QString& code) const;

    // Every installed language as Tesseract reads several at once ("eng+deu"), English first, for
    // text whose language is not known; the data that is no language (orientation, equations)
    // left out. "eng" when nothing is installed.
    QString allLanguages() const;

    // interfaceLanguage upper-cased when it is installed (compared without case), else "EN".
    QString defaultLanguage(const QString& interfaceLanguage) const;

    // False for the scripts whose recognised text must not be joined into paragraphs (codes
    // ending in "chi_tra", "chi_sim" or "ko", without regard to case).
    static bool canBuildParagraphs(const QString& code);

    // Tesseract data name -> language code, 190 rows.
    static const QMap<QString, QString>& table();

private:
    QStringList m_installed;
    // Installed code -> the data file's own base name, for data the table does not know.
    QMap<QString, QString> m_dataNames;
};
