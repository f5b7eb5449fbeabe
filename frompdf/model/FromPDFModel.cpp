#include "frompdf/model/FromPDFModel.h"

#include "app/core/Logger.h"
#include "app/core/Settings.h"
#include "frompdf/engine/FromPdfIntake.h"

FromPDFModel::FromPDFModel(QObject* parent)
    : TaskListModel(FileNameColumn, parent)
{
}

int FromPDFModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant FromPDFModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !isRow(index.row()))
        return QVariant();
    const FromPDFTask& task = m_tasks.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (index.column()) {
        case NumberColumn:
            return index.row() + 1;
        case FileNameColumn:
            return task.file.completeBaseName();
        case PagesColumn:
            if (!task.ranges.isEmpty())
                return pageRangeListText(task.ranges);
            return tr("All (%1)").arg(task.pageCount < 1 ? QStringLiteral("?") : QString::number(task.pageCount));
        case FormatColumn:
            return task.format;
        case SplitColumn:
            return FromPDFTask::isAlwaysSplitFormat(task.format) || task.split;
        default:
            return QVariant();
        }
    case Qt::TextAlignmentRole:
        if (index.column() == NumberColumn)
            return int(Qt::AlignHCenter | Qt::AlignVCenter);
        return QVariant();
    case NeedsPasswordRole:
        return task.needsPassword();
    case FilePathRole:
        return task.file.filePath();
    case PasswordRole:
        return task.password;
    case ForcedSplitRole:
        return FromPDFTask::isAlwaysSplitFormat(task.format);
    case OcrLanguageAppliesRole:
        return FromPDFTask::isDocumentFormat(task.format) || FromPDFTask::isTextFormat(task.format);
    default:
        return QVariant();
    }
}

QVariant FromPDFModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    if (role == Qt::TextAlignmentRole)
        return section == FileNameColumn ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter)) : QVariant();
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case NumberColumn:
        return QStringLiteral("#");
    case FileNameColumn:
        return tr("Filename");
    case PagesColumn:
        return tr("Pages");
    case FormatColumn:
        return tr("To");
    case SplitColumn:
        return tr("Split");
    case PasswordColumn:
        return tr("Password");
    default:
        return QVariant();
    }
}

void FromPDFModel::add(const FromPDFTaskList& tasks)
{
    Logger::instance()->log(QStringLiteral("void FromPDFModel::add(const FromPDFTaskList&)"), Logger::Debug);
    Logger::instance()->log(QStringLiteral("Task count:%1").arg(tasks.size()), Logger::Debug);
    appendTasks(tasks);
}

QString FromPDFModel::defaultOcrLanguage() const
{
    return m_defaultOcrLanguage ? m_defaultOcrLanguage() : QStringLiteral("EN");
}

// setOcrLanguage gives the language only to formats that can use OCR and leaves the others without.
void FromPDFModel::applyFormat(FromPDFTask* task, const QString& format, const QString& defaultLanguage)
{
    task->setFormat(format);
    task->setOcrLanguage(defaultLanguage);
}

void FromPDFModel::setFormat(int row, const QString& format)
{
    if (!isRow(row))
        return;
    applyFormat(&m_tasks[row], format, defaultOcrLanguage());
    notify();
}

void FromPDFModel::setFormatForAll(const QString& format)
{
    const QString language = defaultOcrLanguage();
    for (FromPDFTask& task : m_tasks)
        applyFormat(&task, format, language);
    notify();
}

void FromPDFModel::toggleSplit(int row)
{
    if (!isRow(row))
        return;
    m_tasks[row].split = !m_tasks[row].split;
    notify();
}

void FromPDFModel::setSplitForAll(bool on)
{
    for (FromPDFTask& task : m_tasks) {
        if (!FromPDFTask::isAlwaysSplitFormat(task.format))
            task.split = on;
    }
    notify();
}

void FromPDFModel::setPageRanges(int row, const PageRangeList& ranges)
{
    if (!isRow(row))
        return;
    m_tasks[row].ranges = ranges;
    m_tasks[row].rangesChosen = true;
    notify();
}

FromPDFTaskList FromPDFModel::tasks()
{
    const QString language = Settings::instance()->ocrLanguage();
    FromPDFTaskList result;
    bool skipAll = false;
    for (int row = 0; row < m_tasks.size(); ++row) {
        FromPDFTask task = m_tasks.at(row);
        task.setOcrLanguage(language);
        if (task.needsPassword()) {
            if (skipAll || !m_intake)
                continue;
            const FromPdfIntake::UnlockResult unlocked = m_intake->unlockOrSkip(&task);
            if (unlocked == FromPdfIntake::UnlockResult::SkippedAll)
                skipAll = true;
            if (unlocked != FromPdfIntake::UnlockResult::Unlocked)
                continue;
            // The row keeps the password, so the next conversion does not ask again.
            FromPDFTask stored = m_tasks.at(row);
            stored.password = task.password;
            stored.pageCount = task.pageCount;
            stored.scanned = task.scanned;
            stored.encrypted = task.encrypted;
            stored.passwordRequired = true;
            setTask(row, stored);
        }
        result << task;
    }
    for (FromPDFTask& task : result) {
        if (task.ranges.isEmpty())
            task.ranges << PageRange(1, task.pageCount);
    }
    return result;
}
