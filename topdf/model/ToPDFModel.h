#pragma once

#include "app/core/TaskListModel.h"
#include "shared/records/FileSettingsData.h"
#include "shared/records/LayoutSettingsData.h"
#include "shared/records/ToPDFTask.h"

#include <QHash>
#include <QList>
#include <QSize>

// The task list of the "To PDF" tab, one row per source file in conversion order: number, file
// name (with the pixel size of a picture), source format, and the settings and remove buttons
// that the delegate paints. Rows move by dragging them inside the table and by moveUp/moveDown;
// the tab and the settings panel change tasks through the operations below (there is no setData).
class ToPDFModel : public TaskListModel<ToPDFTask>
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
    enum Role {
        ImageSizeRole = Qt::UserRole + 1
    };

    explicit ToPDFModel(QObject* parent = nullptr);

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Appends the tasks in one model reset and reads the pixel size of each picture.
    void addTasks(const QList<ToPDFTask>& tasks);
    QList<ToPDFTask> tasks() const { return m_tasks; }
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
    // Pixel sizes of the pictures by file path; read when a picture is added.
    QHash<QString, QSize> m_imageSizes;
};
