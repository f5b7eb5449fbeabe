#pragma once

#include "app/core/ImageQuality.h"
#include "frompdf/engine/FromPDFTask.h"

#include <QObject>
#include <QSharedPointer>

class DebenuDocument;
class DebenuService;
class IProgress;

// Turns the pages of a from-PDF task into image files: one file per page, or one tall image per
// page range made by stacking the page images with the program folder's image tool. Runs on the
// conversion thread; polls stop and pause on the progress between pages.
class PageImageExport : public QObject
{
    Q_OBJECT

public:
    enum Error {
        NoError = 0,
        RenderFailed = 901,
        RenderRefused = 902,
        JoinFailed = 903,
        UnknownFormat = 904 // the task's format is no format the library renders pages to
    };

    // progress may be null; it is not owned.
    PageImageExport(QSharedPointer<DebenuService> service, IProgress* progress, QObject* parent = nullptr);

    // An ImageQuality level: the resolution pages render at.
    void setImageQuality(int quality);
    // The run's progress range (1 .. totalPages), put back after the busy display of a join.
    void setRunPages(int totalPages);

    // Writes the task's pages into outputFolder and returns the task's error code (0 or one of
    // Error). A failure is also sent as the usage metric "err1". A file that does not open gives
    // no output and no error; a format the library does not render gives none and UnknownFormat.
    int exportTask(const FromPDFTask& task, const QString& outputFolder);

    // The last image written successfully by this exporter; empty when none.
    QString lastOutput() const { return m_lastOutput; }

    // The library's render-format code of a format name (OutputFormats, any case); -1 when the
    // library renders no such format.
    static int renderFormat(const QString& format);
    // Stacks the images "<folder>*.<format>" (folder ends with "/") in name order, one below the
    // other, into output with the program folder's image tool. True when the tool exits with 0.
    static bool mergeImages(const QString& folder, const QString& format, const QString& output);

signals:
    // One page is done (written or failed); the run adds it to its progress.
    void pageFinished();

private:
    int exportPages(DebenuDocument& document, const FromPDFTask& task, const QString& outputFolder, int digits);
    int exportRanges(DebenuDocument& document, const FromPDFTask& task, const QString& outputFolder, int digits);
    bool joinRange(const QString& pageFolder, const FromPDFTask& task, const PageRange& range,
                   const QString& outputFolder);

    QSharedPointer<DebenuService> m_service;
    IProgress* m_progress;
    int m_imageQuality = ImageQuality::Medium;
    int m_runPages = 0;
    QString m_lastOutput;
};
