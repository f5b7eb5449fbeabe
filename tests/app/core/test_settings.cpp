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
        QTest::newRow("in range low") << QVariant(0) << 0;
        QTest::newRow("in range high") << QVariant(2) << 2;
        QTest::newRow("too high") << QVariant(7) << 1;
        QTest::newRow("negative") << QVariant(-1) << 1;
        QTest::newRow("not a number") << QVariant(QStringLiteral("best")) << 1;
    }

    void oddStoredValues()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, expected);
        store(StoredValues::Keys::qualityImages(), stored);
        QCOMPARE(Settings::instance()->qualityImages(), expected);
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
