#pragma once

#include <QObject>
#include <QString>

// Where output files go: 0 a sub-folder named after the source file, 1 the source file's folder,
// 2 the chosen folder in path.
struct SaveMode
{
    int mode = 0;
    QString path;
};

// Reads the values of "settings.ini" that the conversion tabs share, and tells them when the
// settings panel has saved new ones. Every getter opens the file, reads and releases it.
class Settings : public QObject
{
    Q_OBJECT
public:
    static Settings* instance();

    QString defaultPublisher() const;
    // "en" when the stored value is missing or empty.
    QString language() const;
    SaveMode saveMode() const;
    // 0 to 2; a stored value outside that range reads as 1.
    int qualityImages() const;

    void notifyChanged();

signals:
    void changed();

private:
    Settings();
};
