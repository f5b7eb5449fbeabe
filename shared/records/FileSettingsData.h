#pragma once

#include <QMetaType>
#include <QString>

// What the output PDF of one to-PDF task is called and which document properties it gets.
struct FileSettingsData
{
    QString fileName;  // base name of the output file; the workers append ".pdf"
    QString title;     // document title
    QString publisher; // written as the PDF author and producer
    QString password;  // empty: the PDF is not encrypted
};

Q_DECLARE_METATYPE(FileSettingsData)
