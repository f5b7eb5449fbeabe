#include "app/core/Logger.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

namespace {

QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

const QRegularExpression linePattern(
    QStringLiteral(R"(^\[2\.2\.6\]\[[^\]]+\]\[\d+\]\[32bit\]\[\d\d:\d\d:\d\d\.\d\d\d\] (DEBUG|ERROR|WARNING|INFO): (.*)$)"));

} // namespace

class LoggerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
        QCoreApplication::setApplicationVersion(QStringLiteral("2.2.6"));
    }

    void init()
    {
        QDir(QDir::homePath() + QStringLiteral("/.Zembrook PDF Converter")).removeRecursively();
    }

    void fileAndLineFormat()
    {
        Logger* logger = Logger::instance();
        const QString expectedFile = QDir::homePath() + QStringLiteral("/.Zembrook PDF Converter/log/log_")
                                     + QDate::currentDate().toString(QStringLiteral("yyyy_MM_dd")) + QStringLiteral(".txt");
        QCOMPARE(logger->filePath(), expectedFile);

        logger->log(QStringLiteral("first"), Logger::Error);
        logger->log(QStringLiteral("second"), Logger::Info);
        const QStringList lines = readLines(expectedFile);
        QCOMPARE(lines.size(), 2);
        const auto first = linePattern.match(lines[0]);
        QVERIFY2(first.hasMatch(), qPrintable(lines[0]));
        QCOMPARE(first.captured(1), QStringLiteral("ERROR"));
        QCOMPARE(first.captured(2), QStringLiteral("first"));
        QVERIFY(lines[0].contains(QStringLiteral("][%1][32bit]").arg(QCoreApplication::applicationPid())));
        QCOMPARE(linePattern.match(lines[1]).captured(1), QStringLiteral("INFO"));
    }

    // Placeholders inside the message must not be filled with the line's own fields.
    void messageKeptVerbatim()
    {
        const QString text = QStringLiteral("path C:/%1/%4%5/%7 and\nsecond line ünïcode");
        Logger::instance()->log(text, Logger::Warning);
        QFile file(Logger::instance()->filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString content = QString::fromUtf8(file.readAll());
        QVERIFY2(content.endsWith(QStringLiteral("WARNING: ") + text + QLatin1Char('\n')), qPrintable(content));
    }

    void folderRecreatedAndUnwritableFileTolerated()
    {
        Logger* logger = Logger::instance();
        logger->log(QStringLiteral("one"), Logger::Debug);
        QVERIFY(QDir(logger->folder()).removeRecursively());
        logger->log(QStringLiteral("two"), Logger::Debug);
        QCOMPARE(readLines(logger->filePath()).size(), 1);

        // A file that cannot be opened loses the line without any failure towards the caller.
        const QString path = logger->filePath();
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkpath(path)); // a folder where the file should be
        logger->log(QStringLiteral("lost"), Logger::Debug);
        QVERIFY(QFileInfo(path).isDir());
    }

    void unknownLevelWritesDebug()
    {
        Logger::instance()->log(QStringLiteral("odd"), 9);
        const QStringList lines = readLines(Logger::instance()->filePath());
        QCOMPARE(linePattern.match(lines.last()).captured(1), QStringLiteral("DEBUG"));
    }

    // With the handler, Qt's messages become log lines at their level, each once; the echo of
    // the log's own lines goes on to the handler that was there before.
    void qtMessagesReachTheLog()
    {
        static QStringList passedOn;
        passedOn.clear();
        const QtMessageHandler before = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& message) { passedOn << message; });
        Logger::installMessageHandler();
        Logger::installMessageHandler();

        qDebug("a debug line");
        qInfo("an info line");
        qWarning() << "Open link in suitable app failed:" << 3;
        qCritical("Render failed. Page number: 7");
        Logger::instance()->log(QStringLiteral("the log's own line"), Logger::Info);
        qInstallMessageHandler(before);

        QStringList levels;
        for (const QString& line : readLines(Logger::instance()->filePath())) {
            const auto match = linePattern.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            levels << match.captured(1) + ' ' + match.captured(2);
        }
        QCOMPARE(levels, QStringList({"DEBUG a debug line", "INFO an info line",
                                      "WARNING Open link in suitable app failed: 3",
                                      "ERROR Render failed. Page number: 7", "INFO the log's own line"}));
        // The echo of the log's own line went on to the handler before, once.
        QCOMPARE(passedOn.filter(QStringLiteral("INFO: the log's own line")).size(), 1);
    }

    void manyThreadsNeverTearLines()
    {
        const int threads = 8;
        const int perThread = 400;
        // A long message makes a torn write far more likely to show.
        const QString payload(300, QLatin1Char('x'));
        QList<QThread*> workers;
        for (int t = 0; t < threads; ++t) {
            workers << QThread::create([t, payload] {
                for (int i = 0; i < perThread; ++i)
                    Logger::instance()->log(QStringLiteral("t%1 i%2 %3").arg(t).arg(i).arg(payload), Logger::Info);
            });
            workers.last()->start();
        }
        for (QThread* worker : workers) {
            QVERIFY(worker->wait(60000));
            delete worker;
        }
        const QStringList lines = readLines(Logger::instance()->filePath());
        QCOMPARE(lines.size(), threads * perThread);
        QSet<QString> seen;
        for (const QString& line : lines) {
            const auto match = linePattern.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line.left(120)));
            QVERIFY(match.captured(2).endsWith(payload));
            seen.insert(match.captured(2).section(QLatin1Char(' '), 0, 1));
        }
        QCOMPARE(seen.size(), threads * perThread);
    }
};

QTEST_GUILESS_MAIN(LoggerTest)
#include "test_logger.moc"
