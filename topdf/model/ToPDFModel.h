#pragma once

#include "FileSettingsData.h"
#include "LayoutSettingsData.h"
#include "ToPDFTask.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QSize>

// The task list of the "To PDF" tab, one row per source file in conversion order: number, file
// name (with the pixel size of a picture), source format, and the settings and remove buttons
// that the delegate paints. Rows move by dragging them inside the table and by moveUp/moveDown;
// the tab and the settings panel change tasks through the operations below (there is no setData).
class ToPDFModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        NumberColumn = 0,
        FileNameColumn = 1,
        FromColumn = 2,
        SettingsColumn = 3,
        RemoveColumn = 4,
        ColumnCount = 5
    };
    // "<width>x<height>" of a JPEG, PNG or BMP row.
    enum Role { ImageSizeRole = Qt::UserRole + 1 };

    static const char* rowListMimeType() { return "application/vnd.text.list"; }

    explicit ToPDFModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    // Only the file-name column sorts: by file name with its suffix, ignoring case.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    // Appends the tasks in one model reset and reads the pixel size of each picture.
    void addTasks(const QList<ToPDFTask>& tasks);
    void clear();
    bool isEmpty() const;
    ToPDFTask task(int row) const;
    QList<ToPDFTask> tasks() const;
    void setTask(int row, const ToPDFTask& task);
    // Swap the row with its neighbour; false at the first (last) row.
    bool moveUp(int row);
    bool moveDown(int row);

    void setFileSettings(int row, const FileSettingsData& settings);
    void setLayoutSettings(int row, const LayoutSettingsData& settings);
    // Publisher and password for every task; names and titles stay each task's own.
    void setFileSettingsForAll(const FileSettingsData& settings);
    void setLayoutSettingsForAll(const LayoutSettingsData& settings);
    void setFileSettingsEnabled(bool enabled);

private:
    bool isRow(int row) const { return row >= 0 && row < m_tasks.size(); }
    bool swap(int row, int other);

    QList<ToPDFTask> m_tasks;
    // Pixel sizes of the pictures by file path; read when a picture is added.
    QHash<QString, QSize> m_imageSizes;
};
