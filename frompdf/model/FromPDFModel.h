#pragma once

#include "app/core/TaskListModel.h"
#include "frompdf/engine/FromPDFTask.h"

#include <QStringList>

#include <functional>

class FromPdfIntake;

// The task table of the "From PDF" tab: one row of eight columns per PDF the user added. The tab
// edits rows through the operations below (there is no setData); rows move by dragging them
// inside the table; tasks() hands out what to convert, asking on the way for the password of
// every protected PDF that still lacks one.
class FromPDFModel : public TaskListModel<FromPDFTask>
{
    Q_OBJECT

public:
    enum Column {
        NumberColumn = 0,
        FileNameColumn = 1,
        PreviewColumn = 2,
        PagesColumn = 3,
        FormatColumn = 4,
        SplitColumn = 5,
        PasswordColumn = 6,
        RemoveColumn = 7,
        ColumnCount = 8
    };
    enum Role {
        NeedsPasswordRole = Qt::UserRole + 1,
        FilePathRole = Qt::UserRole + 2,
        PasswordRole = Qt::UserRole + 3,
        ForcedSplitRole = Qt::UserRole + 4,
        OcrLanguageAppliesRole = Qt::UserRole + 5
    };

    explicit FromPDFModel(QObject* parent = nullptr);

    // The intake that asks for passwords in tasks() (not owned); without one, tasks that still
    // need a password are left out.
    void setIntake(FromPdfIntake* intake) { m_intake = intake; }
    // The OCR language a task gets when its format changes to one that can use OCR; "EN" unless set.
    void setDefaultOcrLanguage(std::function<QString()> language) { m_defaultOcrLanguage = std::move(language); }

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void add(const FromPDFTaskList& tasks);
    void setFormat(int row, const QString& format);
    void setFormatForAll(const QString& format);
    void toggleSplit(int row);
    void setSplitForAll(bool on);
    void setPageRanges(int row, const PageRangeList& ranges);

    // The tasks to convert, in row order, each with the OCR language of the setting
    // "ocr_language" and at least one page range (the whole document when none was chosen).
    // Protected tasks without a password are asked for it; the skipped ones are left out.
    FromPDFTaskList tasks();

signals:
    void changed();
    void rowMoved(int row);
    void addFiles(QStringList urls);

protected:
    void rowDropped(int target) override { emit rowMoved(target); }

private:
    QString defaultOcrLanguage() const;
    static void applyFormat(FromPDFTask* task, const QString& format, const QString& defaultLanguage);

    FromPdfIntake* m_intake = nullptr;
    std::function<QString()> m_defaultOcrLanguage;
};
