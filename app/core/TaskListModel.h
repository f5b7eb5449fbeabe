#pragma once

#include "app/core/Logger.h"

#include <QAbstractTableModel>
#include <QList>
#include <QMimeData>
#include <QStringList>

#include <algorithm>

// The drag format of a row of a task table: its row number followed by "|", once per dragged cell.
inline const char* taskRowMimeType()
{
    return "application/vnd.text.list";
}

// What the task tables of both conversion tabs share: one task a row (a Task has a QFileInfo
// `file`), a row moved by dragging it onto another row of the same table, sorting by file name,
// removal and the whole-list changes. The subclass gives the columns and what they show.
template <class Task>
class TaskListModel : public QAbstractTableModel
{
public:
    static const char* rowListMimeType() { return taskRowMimeType(); }

    TaskListModel(int fileNameColumn, QObject* parent)
        : QAbstractTableModel(parent)
        , m_fileNameColumn(fileNameColumn)
    {
    }

    int rowCount(const QModelIndex& = QModelIndex()) const override { return m_tasks.size(); }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        const Qt::ItemFlags base = QAbstractTableModel::flags(index) | Qt::ItemIsDropEnabled;
        return index.isValid() ? base | Qt::ItemIsDragEnabled : base;
    }

    Qt::DropActions supportedDropActions() const override
    {
        return Qt::CopyAction | Qt::MoveAction | Qt::TargetMoveAction;
    }

    QStringList mimeTypes() const override { return {QLatin1String(rowListMimeType())}; }

    QMimeData* mimeData(const QModelIndexList& indexes) const override
    {
        QString text;
        for (const QModelIndex& index : indexes) {
            if (index.isValid())
                text += QString::number(index.row()) + QLatin1Char('|');
        }
        auto* data = new QMimeData;
        data->setData(QLatin1String(rowListMimeType()), text.toUtf8());
        return data;
    }

    // The row named first in the drag moves onto the row it was dropped on (parent's row).
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int, int, const QModelIndex& parent) override
    {
        log(QStringLiteral("Begin drop mime data"));
        if (action == Qt::IgnoreAction)
            return true;
        if (!data || !data->hasFormat(QLatin1String(rowListMimeType())))
            return false;
        const QString text = QString::fromUtf8(data->data(QLatin1String(rowListMimeType())));
        if (text.isEmpty())
            return false;
        const QStringList parts = text.split(QLatin1Char('|'));
        bool isNumber = false;
        const int source = parts.first().toInt(&isNumber);
        const int target = parent.row();
        log(QStringLiteral("Source row:%1").arg(parts.first()));
        log(QStringLiteral("Drop Mime Data:%1").arg(parts.join(QLatin1Char(','))));
        log(QStringLiteral("Target row id%1").arg(target));
        // A drag from elsewhere, or one whose rows changed while it was under way, may name any row.
        if (!isNumber || !isRow(source) || !isRow(target) || target == source)
            return false;
        if (target == source + 1) {
            swapRows(source, target);
        } else {
            // Views count the destination before the move: one further down for a downward move.
            beginMoveRows(QModelIndex(), source, source, QModelIndex(), target > source ? target + 1 : target);
            m_tasks.move(source, target);
            endMoveRows();
        }
        rowDropped(target);
        return true;
    }

    // Only the file-name column sorts: by the file's name with its suffix, ignoring case.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override
    {
        if (column != m_fileNameColumn)
            return;
        beginResetModel();
        std::sort(m_tasks.begin(), m_tasks.end(), [order](const Task& a, const Task& b) {
            const int compared = a.file.fileName().compare(b.file.fileName(), Qt::CaseInsensitive);
            return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
        });
        endResetModel();
    }

    bool removeRows(int row, int count, const QModelIndex& = QModelIndex()) override
    {
        if (count < 1 || !isRow(row))
            return false;
        const int last = std::min(row + count, m_tasks.size()) - 1;
        beginRemoveRows(QModelIndex(), row, last);
        m_tasks.erase(m_tasks.begin() + row, m_tasks.begin() + last + 1);
        endRemoveRows();
        return true;
    }

    void clear()
    {
        beginResetModel();
        m_tasks.clear();
        endResetModel();
    }

    bool isEmpty() const { return m_tasks.isEmpty(); }
    Task task(int row) const { return isRow(row) ? m_tasks.at(row) : Task(); }

    void setTask(int row, const Task& task)
    {
        if (!isRow(row))
            return;
        m_tasks[row] = task;
        notify();
    }

protected:
    bool isRow(int row) const { return row >= 0 && row < m_tasks.size(); }

    // Swaps two tasks (row takes the other's first); false when either is no row.
    bool swapRows(int row, int other)
    {
        if (!isRow(row) || !isRow(other))
            return false;
        const Task moved = m_tasks.at(row);
        setTask(row, m_tasks.at(other));
        setTask(other, moved);
        return true;
    }

    // Appends the tasks in one model reset.
    void appendTasks(const QList<Task>& tasks)
    {
        beginResetModel();
        m_tasks.append(tasks);
        endResetModel();
    }

    // Every view repaints.
    void notify() { emit dataChanged(QModelIndex(), QModelIndex(), {}); }

    // After a dropped row moved to target.
    virtual void rowDropped(int target) { Q_UNUSED(target); }

    QList<Task> m_tasks;

private:
    static void log(const QString& text) { Logger::instance()->log(text, Logger::Debug); }

    int m_fileNameColumn;
};
