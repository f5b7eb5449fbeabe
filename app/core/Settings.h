#pragma once

#include "app/core/SaveMode.h"

#include <QObject>
#include <QSharedPointer>
#include <QString>

class QSettings;

// Reads the values of "settings.ini" that the conversion tabs share, and tells them when the
// settings panel has saved new ones. Every getter opens the file, reads and releases it.
//
// openFile() is the one place that opens "settings.ini"; the rest of the program reaches the raw
// file through Application::settings(), which hands out what openFile() makes.
class Settings : public QObject
{
    Q_OBJECT
public:
    static Settings* instance();

    QString defaultPublisher() const;
    // "en" when the stored value is missing or empty.
    QString language() const;
    SaveMode saveMode() const;
    // An ImageQuality level; a stored number of no level reads as Medium.
    int qualityImages() const;
    // "ocr_language", the OCR language of every task of a from-PDF run; "eng" when missing.
    QString ocrLanguage() const;

    void notifyChanged();

signals:
    void changed();

private:
    friend class Application;

    Settings();
    // A new QSettings over "settings.ini" in INI format, written back when its last holder lets go.
    static QSharedPointer<QSettings> openFile();
};
