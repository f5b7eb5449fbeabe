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

    // Kept for callers that log them after a failure; they carry no information.
    int errorCode() const { return 0; }
    QString errorMessage() const { return QString(); }

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
