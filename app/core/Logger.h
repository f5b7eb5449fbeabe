#pragma once

#include <QString>

// The process-wide log writer. Each call of log() appends exactly one whole line to today's file
// "log_yyyy_MM_dd.txt" in "~/.<application name>/log" and echoes it to the debug output. The
// file is opened and closed for every line, so a line is on disk once log() returns. With the
// message handler installed, Qt's own messages become log lines too.
class Logger
{
public:
    enum Level {
        Debug = 0,
        Error = 1,
        Warning = 2,
        Info = 3
    };

    static Logger* instance();

    // level is one of Level; any other value is written as "DEBUG".
    void log(const QString& text, int level);

    // Routes Qt's messages (qDebug, qInfo, qWarning, qCritical, qFatal of any code) into the log
    // at their level (critical and fatal as ERROR). The log's own echo of its lines, and what Qt
    // says while a line is written, go on to the handler that was there before, which also still
    // ends the program on a fatal message. Installed once, at the start of each program.
    static void installMessageHandler();

    QString filePath() const;
    QString folder() const;

    // The line as log() writes it (without the clock and file); exposed for the crash report and tests.
    QString formatLine(const QString& time, const QString& levelName, const QString& text) const;

private:
    Logger();
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    void write(const QString& text, const QString& levelName);

    const QString m_systemText;
    const QString m_architectureText;
    const QString m_processIdText;
};
