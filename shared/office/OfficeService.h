#pragma once

#include "platform/process/ChildProcess.h"

#include <QMutex>
#include <QString>

// Converts one document into another format with the program folder's LibreOffice, run headless
// with a throw-away profile. Callable from any worker thread; conversions run one at a time.
class OfficeService
{
public:
    static OfficeService& instance();

    // Converts source into the format that destination's suffix names (doc, docx, odt, rtf, pdf)
    // and puts the result exactly at destination, replacing a file there. The destination's folder
    // must exist. True when the converted file arrived at destination. A stop request (polled
    // while LibreOffice runs) or the time-out ends LibreOffice and fails the call.
    bool saveDocAs(const QString& source, const QString& destination,
                   const ChildProcess::StopRequest& stopRequested = ChildProcess::StopRequest());

    // Why the calling thread's last saveDocAs() failed, for its log: what went wrong, with the
    // last line LibreOffice printed, and LibreOffice's exit code (-1 when it did not end by
    // itself). Empty and 0 after a success. Each thread reads its own, so a conversion that
    // another thread ran in between does not replace it.
    int errorCode() const;
    QString errorMessage() const;

    // The "--convert-to" value for a destination, chosen by its suffix (any case).
    static QString convertFilter(const QString& source, const QString& destination);
    // The PDF export filter for a source suffix, compared exactly (an upper-case suffix falls back
    // to the text document filter).
    static QString pdfFilterName(const QString& sourceSuffix);

private:
    OfficeService() = default;
    OfficeService(const OfficeService&) = delete;
    OfficeService& operator=(const OfficeService&) = delete;

    QMutex m_mutex;
};
