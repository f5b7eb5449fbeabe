#pragma once

#include "platform/process/ChildProcess.h"

#include <QString>

// One headless LibreOffice conversion: the program at sofficePath, a throw-away profile and a
// fresh output folder, both inside workFolder (a private folder of the caller's), and the
// converted file moved to the destination the caller names.
class LibreOfficeRunner
{
public:
    LibreOfficeRunner(const QString& sofficePath, const QString& workFolder);

    // The "--convert-to" value for a destination, chosen by its suffix (any case).
    static QString convertFilter(const QString& source, const QString& destination);
    // The PDF export filter for a source suffix, compared exactly (an upper-case suffix falls back
    // to the text document filter).
    static QString pdfFilterName(const QString& sourceSuffix);

    // A time-out that no sound conversion reaches: three minutes, plus one per megabyte of input.
    static int timeoutFor(const QString& source);

    // Converts source into the format that destination's suffix names and puts the result exactly
    // at destination. An existing destination is replaced only once a converted file is there.
    // The destination's folder must exist. False when LibreOffice failed, was stopped, ran past
    // the time-out or wrote nothing.
    bool saveAs(const QString& source, const QString& destination,
                const ChildProcess::StopRequest& stopRequested = ChildProcess::StopRequest()) const;

    // How the last saveAs() ended (its child process), for the caller's log.
    ChildProcess::Result lastRun() const { return m_lastRun; }
    // Why the last saveAs() failed, with the end of what LibreOffice printed; empty after a success.
    QString lastError() const { return m_lastError; }

private:
    bool fail(const QString& reason) const;

    QString m_soffice;
    QString m_workFolder;
    mutable ChildProcess::Result m_lastRun;
    mutable QString m_lastError;
};
