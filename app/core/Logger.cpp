#include "app/core/Logger.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QSysInfo>
#include <QTextStream>

namespace {

// Lines of different threads may come in any order but never mix: the open-append-close of one
// line is done under this lock.
QMutex& fileLock()
{
    static QMutex mutex;
    return mutex;
}

QtMessageHandler previousHandler = nullptr;

// True while this thread writes a log line: its echo, and anything Qt says about the writing,
// must not come back into the log.
thread_local bool writingLine = false;

int levelOf(QtMsgType type)
{
    switch (type) {
    case QtInfoMsg:
        return Logger::Info;
    case QtWarningMsg:
        return Logger::Warning;
    case QtCriticalMsg:
    case QtFatalMsg:
        return Logger::Error;
    case QtDebugMsg:
        break;
    }
    return Logger::Debug;
}

void routeMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!writingLine)
        Logger::instance()->log(message, levelOf(type));
    if ((writingLine || type == QtFatalMsg) && previousHandler)
        previousHandler(type, context, message);
}

} // namespace

void Logger::installMessageHandler()
{
    // Made first: a message said while the logger is made must find it made.
    instance();
    QtMessageHandler previous = qInstallMessageHandler(routeMessage);
    // Installed twice, the handler keeps the one that was there before it.
    if (previous != routeMessage)
        previousHandler = previous;
}

Logger* Logger::instance()
{
    static Logger logger;
    return &logger;
}

Logger::Logger()
    : m_systemText(QSysInfo::productVersion() + QLatin1Char(' ') + QSysInfo::kernelVersion())
    , m_architectureText(QStringLiteral("32bit"))
    , m_processIdText(QString::number(QCoreApplication::applicationPid()))
{
}

QString Logger::folder() const
{
    const QString path = QDir::toNativeSeparators(QDir::homePath() + QStringLiteral("/.")
                                                  + QCoreApplication::applicationName() + QStringLiteral("/log"));
    if (!QFile::exists(path))
        QDir().mkpath(path);
    return path;
}

QString Logger::filePath() const
{
    const QString date = QDateTime::currentDateTime().toString(QStringLiteral("yyyy_MM_dd"));
    return QDir::toNativeSeparators(folder() + QLatin1Char('/') + QStringLiteral("log_%1.txt").arg(date));
}

void Logger::log(const QString& text, int level)
{
    static const QString names[4] = {QStringLiteral("DEBUG"), QStringLiteral("ERROR"), QStringLiteral("WARNING"),
                                     QStringLiteral("INFO")};
    write(text, names[(level >= 0 && level < 4) ? level : 0]);
}

QString Logger::formatLine(const QString& time, const QString& levelName, const QString& text) const
{
    // All seven placeholders are filled in one pass, so "%4" inside the text stays as it is.
    return QStringLiteral("[%5][%4][%7][%6][%1] %2: %3\n")
        .arg(time, levelName, text, m_systemText, QCoreApplication::applicationVersion(), m_architectureText,
             m_processIdText);
}

void Logger::write(const QString& text, const QString& levelName)
{
    const bool nested = writingLine;
    writingLine = true;
    const QDateTime now = QDateTime::currentDateTime();
    const QString line = formatLine(now.toString(QStringLiteral("hh:mm:ss.zzz")), levelName, text);
    {
        QMutexLocker locker(&fileLock());
        QFile file(filePath());
        if (file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Text)) {
            QTextStream stream(&file);
            stream.setCodec("UTF-8");
            stream << line;
            stream.flush();
            file.close();
        }
    }
    qDebug("%s", line.toLocal8Bit().constData());
    writingLine = nested;
}
