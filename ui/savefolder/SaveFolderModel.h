#pragma once

#include "app/core/SaveMode.h"

#include <QAbstractTableModel>
#include <QString>

// The three places a "Save to" combo offers for the output of a conversion, one row per save
// mode (the row number is the mode id stored under "SaveMode"/"Mode"):
//
//   row  column 0 (closed combo)   column 1 (popup list)   column 2
//   0    "Sub folder"              "Sub folder"            0
//   1    "Original folder"         "Original folder"       1
//   2    the chosen folder         "Select folder..."      2
//
// The chosen folder starts as the user's Desktop; owners change it with setData on row 2,
// column 0. Texts are translated on every read, so a language switch shows on the next repaint.
class SaveFolderModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        ShownColumn = 0,
        ListColumn = 1,
        ModeColumn = 2
    };
    enum Row {
        SubFolderRow = SaveMode::SubFolder,
        OriginalFolderRow = SaveMode::SourceFolder,
        ChosenFolderRow = SaveMode::ChosenFolder
    };

    explicit SaveFolderModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Accepts only the chosen folder: row 2, column 0, edit role.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    QString m_customPath;
};
