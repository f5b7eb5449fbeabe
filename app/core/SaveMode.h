#pragma once

#include <QFileInfo>
#include <QString>

// Where the files of a conversion go: "Mode" (by its number) and "Path" of the "SaveMode" group of
// "settings.ini", one row each of the "Save to" combos.
struct SaveMode
{
    enum Mode {
        SubFolder = 0,    // a folder beside the source file, named after it
        SourceFolder = 1, // the source file's folder
        ChosenFolder = 2  // path
    };

    int mode = SubFolder;
    QString path;

    // The folder mode gives the outputs of source: for SubFolder the source's folder and its
    // complete base name, for ChosenFolder chosenFolder; empty for a number of no mode. The
    // folder is neither made nor checked.
    static QString folderFor(int mode, const QFileInfo& source, const QString& chosenFolder);
};
