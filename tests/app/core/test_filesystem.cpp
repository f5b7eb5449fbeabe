#include "app/core/FileSystem.h"
#include "app/core/WorkClaim.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

class FileSystemTest : public QObject
{
    Q_OBJECT

    QString m_work;

    static mode_t modeOf(const QString& path)
    {
        struct stat info;
        return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 0777) : 0;
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
    }

    void init()
    {
        m_work = TestFiles::sandbox() + QStringLiteral("/work");
        QDir(m_work).removeRecursively();
        QVERIFY(QDir().mkpath(m_work));
    }

    void uniqueNamesCountInFront()
    {
        QCOMPARE(FileSystem::uniqueFilePath(m_work, QStringLiteral("x.pdf")), m_work + QStringLiteral("/x.pdf"));
        QVERIFY(TestFiles::writeFile(m_work + QStringLiteral("/x.pdf"), "1"));
        QCOMPARE(FileSystem::uniqueFilePath(m_work, QStringLiteral("x.pdf")), m_work + QStringLiteral("/(1)x.pdf"));
        // A folder of that name is taken just like a file.
        QVERIFY(QDir().mkpath(m_work + QStringLiteral("/(1)x.pdf")));
        QCOMPARE(FileSystem::uniqueFilePath(m_work, QStringLiteral("x.pdf")), m_work + QStringLiteral("/(2)x.pdf"));
        // So is a dangling symbolic link: writing through it would create a file elsewhere.
        QVERIFY(QFile::link(m_work + QStringLiteral("/nowhere"), m_work + QStringLiteral("/(2)x.pdf")));
        QCOMPARE(FileSystem::uniqueFilePath(m_work, QStringLiteral("x.pdf")), m_work + QStringLiteral("/(3)x.pdf"));
    }

    void placeholdersInNamesStayPut()
    {
        const QString odd = m_work + QStringLiteral("/out %2 %3");
        QVERIFY(QDir().mkpath(odd));
        QVERIFY(TestFiles::writeFile(odd + QStringLiteral("/a%1.pdf"), "1"));
        QCOMPARE(FileSystem::uniqueFilePath(odd, QStringLiteral("a%1.pdf")), odd + QStringLiteral("/(1)a%1.pdf"));
    }

    // Dialogs and default outputs: the desktop folder the user's XDG settings name, when it
    // exists, else home.
    void desktopFolderExistsOrIsHome()
    {
        QCOMPARE(FileSystem::desktopFolder(), QDir::homePath());
        QVERIFY(QDir().mkpath(QDir::homePath() + QStringLiteral("/Desktop")));
        QCOMPARE(FileSystem::desktopFolder(), QDir::homePath() + QStringLiteral("/Desktop"));
        const QString named = QDir::homePath() + QStringLiteral("/Schreibtisch");
        QVERIFY(TestFiles::writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/user-dirs.dirs"),
                                     "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"));
        QCOMPARE(FileSystem::desktopFolder(), QDir::homePath());
        QVERIFY(QDir().mkpath(named));
        QCOMPARE(FileSystem::desktopFolder(), named);
    }

    void removeDirTakesEverythingInside()
    {
        const QString dir = m_work + QStringLiteral("/tree");
        QVERIFY(TestFiles::writeFile(dir + QStringLiteral("/.hidden"), "h"));
        QVERIFY(TestFiles::writeFile(dir + QStringLiteral("/plain.txt"), "p"));
        QVERIFY(TestFiles::writeFile(dir + QStringLiteral("/sub/.deep/file"), "d"));
        QVERIFY(::mkfifo(QFile::encodeName(dir + QStringLiteral("/pipe")).constData(), 0600) == 0);
        QVERIFY(FileSystem::removeDir(dir));
        QVERIFY(!QFileInfo::exists(dir));
        QVERIFY(FileSystem::removeDir(m_work + QStringLiteral("/never-was")));
    }

    void removeDirNeverFollowsLinksOut()
    {
        const QString outside = m_work + QStringLiteral("/precious");
        QVERIFY(TestFiles::writeFile(outside + QStringLiteral("/keep.txt"), "keep"));
        QVERIFY(TestFiles::writeFile(m_work + QStringLiteral("/precious.txt"), "keep"));
        const QString dir = m_work + QStringLiteral("/victim");
        QVERIFY(TestFiles::writeFile(dir + QStringLiteral("/own.txt"), "x"));
        QVERIFY(QFile::link(outside, dir + QStringLiteral("/link-to-folder")));
        QVERIFY(QFile::link(m_work + QStringLiteral("/precious.txt"), dir + QStringLiteral("/link-to-file")));
        QVERIFY(QFile::link(m_work + QStringLiteral("/gone"), dir + QStringLiteral("/.dangling")));

        QVERIFY(FileSystem::removeDir(dir));
        QVERIFY(!QFileInfo::exists(dir));
        QCOMPARE(TestFiles::readFile(outside + QStringLiteral("/keep.txt")), QByteArray("keep"));
        QCOMPARE(TestFiles::readFile(m_work + QStringLiteral("/precious.txt")), QByteArray("keep"));

        // A link handed over as the folder itself goes, its target stays.
        const QString link = m_work + QStringLiteral("/alias");
        QVERIFY(QFile::link(outside, link));
        QVERIFY(FileSystem::removeDir(link));
        QVERIFY(!QFileInfo(link).isSymLink());
        QCOMPARE(TestFiles::readFile(outside + QStringLiteral("/keep.txt")), QByteArray("keep"));
    }

    void removeFilesGoesOnAfterFailures()
    {
        QVERIFY(TestFiles::writeFile(m_work + QStringLiteral("/a"), "a"));
        QVERIFY(TestFiles::writeFile(m_work + QStringLiteral("/b"), "b"));
        FileSystem::removeFiles({m_work + QStringLiteral("/a"), m_work + QStringLiteral("/missing"), m_work + QStringLiteral("/b")});
        QVERIFY(TestFiles::entries(m_work).isEmpty());
    }

    void cacheFolderIsPrivate()
    {
        const QString root = QDir::tempPath() + QStringLiteral("/.Zembrook PDF Converter");
        const QString cache = FileSystem::cachePath();
        QCOMPARE(cache, root + QStringLiteral("/cache"));
        QVERIFY(QFileInfo(cache).isDir());
        QCOMPARE(modeOf(root), mode_t(0700));

        // Deleted while running: made again.
        QVERIFY(QDir(root).removeRecursively());
        QCOMPARE(FileSystem::cachePath(), cache);
        QVERIFY(QFileInfo(cache).isDir());

        // An existing folder with loose permissions of our own is tightened.
        QVERIFY(::chmod(QFile::encodeName(root).constData(), 0777) == 0);
        FileSystem::cachePath();
        QCOMPARE(modeOf(root), mode_t(0700));
    }

    void cacheFolderRefusesPlantedLinksAndForeignFolders()
    {
        const QString root = QDir::tempPath() + QStringLiteral("/.Zembrook PDF Converter");
        QDir(root).removeRecursively();
        const QString trap = m_work + QStringLiteral("/trap");
        QVERIFY(QDir().mkpath(trap));
        QVERIFY(QFile::link(trap, root));
        const QString cache = FileSystem::cachePath();
        QVERIFY2(!cache.startsWith(root + QLatin1Char('/')), qPrintable(cache));
        QVERIFY(TestFiles::entries(trap).isEmpty());
        QCOMPARE(modeOf(QFileInfo(cache).path()), mode_t(0700));
        QFile::remove(root);

        if (::geteuid() != 0)
            QSKIP("changing a folder's owner needs root");
        QVERIFY(QDir().mkpath(root));
        QVERIFY(::chown(QFile::encodeName(root).constData(), 65534, 65534) == 0);
        QVERIFY(!FileSystem::cachePath().startsWith(root + QLatin1Char('/')));
        QVERIFY(TestFiles::entries(root).isEmpty());
    }

    void tempDirsAndIds()
    {
        const QString id = FileSystem::createUniqueId();
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(id).hasMatch());
        QVERIFY(id != FileSystem::createUniqueId());
        const QString dir = FileSystem::createTempDir();
        QVERIFY(QFileInfo(dir).isDir());
        QVERIFY(QDir(dir).isEmpty());
        QCOMPARE(QFileInfo(dir).path(), FileSystem::cachePath());
        QVERIFY(FileSystem::createDir(dir + QStringLiteral("/a/b/c")));
        QVERIFY(FileSystem::createDir(dir + QStringLiteral("/a/b/c")));
    }

    // A folder that files cannot go into says why: below a file, on a file system that takes no
    // files, and one made immutable (chattr +i; root may still not write into it).
    void unwritableFoldersSayWhy()
    {
        const QString file = m_work + QStringLiteral("/plain.txt");
        QVERIFY(TestFiles::writeFile(file, "x"));
        QString reason;
        QVERIFY(!FileSystem::makeWritableFolder(file + QStringLiteral("/out/deeper"), &reason));
        QCOMPARE(reason, QStringLiteral("Not a directory"));
        QVERIFY(!FileSystem::makeWritableFolder(file, &reason));
        QCOMPARE(reason, QStringLiteral("Not a directory"));
        QVERIFY(!FileSystem::makeWritableFolder(QStringLiteral("/proc"), &reason));
        QVERIFY2(!reason.isEmpty() && !reason.contains(QLatin1String("Unknown")), qPrintable(reason));

        const QString fresh = m_work + QStringLiteral("/fresh/inner");
        QVERIFY(FileSystem::makeWritableFolder(fresh, &reason));
        QVERIFY(TestFiles::entries(fresh).isEmpty());

        const QString locked = m_work + QStringLiteral("/locked");
        QVERIFY(QDir().mkpath(locked));
        if (TestFiles::run(QStringLiteral("chattr"), {QStringLiteral("+i"), locked}) != 0)
            QSKIP("chattr +i is not allowed here");
        const bool written = FileSystem::makeWritableFolder(locked, &reason);
        TestFiles::run(QStringLiteral("chattr"), {QStringLiteral("-i"), locked});
        QVERIFY(!written);
        QCOMPARE(reason, QStringLiteral("Operation not permitted"));
    }

    // Leftovers of runs that have ended go with their stale locks; what a running process claims
    // and what another naming gives stay.
    void leftoversGoClaimsStay()
    {
        QByteArray pid;
        QCOMPARE(TestFiles::run(QStringLiteral("/bin/sh"), {"-c", "echo $$"}, &pid), 0);
        const QByteArray deadLock = pid.trimmed() + "\nquillbook\n" + QSysInfo::machineHostName().toUtf8() + "\n";
        const QString a = m_work + QStringLiteral("/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa");
        const QString b = m_work + QStringLiteral("/bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb");
        const QString c = m_work + QStringLiteral("/cccccccccccccccccccccccccccccccc");
        const QString d = m_work + QStringLiteral("/dddddddddddddddddddddddddddddddd");
        for (const QString& folder : {a, b, d, m_work + QStringLiteral("/notes")})
            TestFiles::writeFile(folder + QStringLiteral("/page.html"), "x");
        TestFiles::writeFile(c + QStringLiteral(".lock"), deadLock);
        TestFiles::writeFile(d + QStringLiteral(".lock"), deadLock);
        const WorkClaim running(b);
        QVERIFY(running.isHeld());
        QVERIFY(!WorkClaim(b).isHeld());

        QCOMPARE(WorkClaim::removeLeftovers(m_work, QRegularExpression(QStringLiteral("^[0-9a-f]{32}$"))), 2);
        QCOMPARE(TestFiles::entries(m_work),
                 QStringList({"bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb", "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.lock", "notes"}));
        QVERIFY(QFileInfo::exists(b + QStringLiteral("/page.html")));
    }
};

QTEST_GUILESS_MAIN(FileSystemTest)
#include "test_filesystem.moc"
