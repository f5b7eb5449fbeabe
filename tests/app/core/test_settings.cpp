#include "app/core/ImageQuality.h"
#include "app/core/Settings.h"
#include "app/core/StoredValues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

class SettingsTest : public QObject
{
    Q_OBJECT

    // The file as another program would write it: at its documented place, in INI format.
    static QSharedPointer<QSettings> file()
    {
        return QSharedPointer<QSettings>::create(StoredValues::configFilePath(QStringLiteral("settings.ini")),
                                                 QSettings::IniFormat);
    }

    void store(const QString& key, const QVariant& value)
    {
        file()->setValue(key, value);
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Zembrook"));
        QCoreApplication::setApplicationName(QStringLiteral("Zembrook PDF Converter"));
    }

    void init()
    {
        QFile::remove(StoredValues::configFilePath(QStringLiteral("settings.ini")));
    }

    void fileLivesInTheApplicationsConfigFolder()
    {
        const QString path = StoredValues::configFilePath(QStringLiteral("settings.ini"));
        QCOMPARE(path, qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Zembrook/Zembrook PDF Converter/settings.ini"));
    }

    void defaultsWithoutAFile()
    {
        Settings* settings = Settings::instance();
        QCOMPARE(settings->language(), QStringLiteral("en"));
        QCOMPARE(settings->defaultPublisher(), QStringLiteral("Zembrook PDF Converter"));
        const SaveMode mode = settings->saveMode();
        QCOMPARE(mode.mode, 0);
        // The test's home has no desktop folder: outputs go home.
        QCOMPARE(mode.path, QDir::homePath());
        QCOMPARE(settings->qualityImages(), 1);
        QCOMPARE(settings->ocrLanguage(), QStringLiteral("eng"));
        // Reading never creates the file.
        QVERIFY(!QFile::exists(StoredValues::configFilePath(QStringLiteral("settings.ini"))));
    }

    void oddStoredValues_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("expected");
        QTest::addColumn<double>("dpi");
        QTest::newRow("in range low") << QVariant(0) << 0 << 72.0;
        QTest::newRow("in range high") << QVariant(2) << 2 << 300.0;
        QTest::newRow("too high") << QVariant(7) << 1 << 150.0;
        QTest::newRow("negative") << QVariant(-1) << 1 << 150.0;
        QTest::newRow("not a number") << QVariant(QStringLiteral("best")) << 1 << 150.0;
    }

    // The stored number reads as a level, which gives the pages' resolution; a number of no level
    // handed on unread renders as Medium too.
    void oddStoredValues()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, expected);
        QFETCH(double, dpi);
        store(StoredValues::Keys::qualityImages(), stored);
        QCOMPARE(Settings::instance()->qualityImages(), expected);
        QCOMPARE(ImageQuality::dotsPerInch(Settings::instance()->qualityImages()), dpi);
        bool number = false;
        if (stored.toInt(&number) != expected && number)
            QCOMPARE(ImageQuality::dotsPerInch(stored.toInt()), 150.0);
    }

    // Both conversion directions take their output folder from this one rule.
    void saveModeFolders()
    {
        const QFileInfo source(QStringLiteral("/data/in/report.v2.pdf"));
        QCOMPARE(SaveMode::folderFor(SaveMode::SubFolder, source, "/chosen"), QStringLiteral("/data/in/report.v2"));
        QCOMPARE(SaveMode::folderFor(SaveMode::SourceFolder, source, "/chosen"), QStringLiteral("/data/in"));
        QCOMPARE(SaveMode::folderFor(SaveMode::ChosenFolder, source, "/chosen"), QStringLiteral("/chosen"));
        QVERIFY(SaveMode::folderFor(3, source, "/chosen").isEmpty());
        QVERIFY(SaveMode::folderFor(-1, source, "/chosen").isEmpty());
    }

    void emptyLanguageReadsAsEnglish()
    {
        store(StoredValues::Keys::language(), QString());
        QCOMPARE(Settings::instance()->language(), QStringLiteral("en"));
        store(StoredValues::Keys::language(), QStringLiteral("de"));
        QCOMPARE(Settings::instance()->language(), QStringLiteral("de"));
    }

    void writesAreSeenByTheNextRead()
    {
        {
            auto file = SettingsTest::file();
            file->beginGroup(StoredValues::Keys::saveModeGroup());
            file->setValue(StoredValues::Keys::saveModeMode(), 2);
            file->setValue(StoredValues::Keys::saveModePath(), QStringLiteral("/data/out %2"));
            file->endGroup();
            file->setValue(StoredValues::Keys::defaultPublisher(), QStringLiteral("Ünïcode Press"));
        }
        const SaveMode mode = Settings::instance()->saveMode();
        QCOMPARE(mode.mode, 2);
        QCOMPARE(mode.path, QStringLiteral("/data/out %2"));
        QCOMPARE(Settings::instance()->defaultPublisher(), QStringLiteral("Ünïcode Press"));
        QFile file(StoredValues::configFilePath(QStringLiteral("settings.ini")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("[SaveMode]"));
    }

    void notifyChangedEmits()
    {
        QSignalSpy spy(Settings::instance(), &Settings::changed);
        Settings::instance()->notifyChanged();
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "test_settings.moc"
