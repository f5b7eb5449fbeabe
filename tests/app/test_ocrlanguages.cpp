#include "app/OcrLanguages.h"
#include "tests/support/TestFiles.h"

#include <QSet>
#include <QtTest>

class OcrLanguagesTest : public QObject
{
    Q_OBJECT

private:
    static QString tessdata(const QString& name, const QStringList& dataNames)
    {
        const QString folder = TestFiles::sandbox() + QStringLiteral("/tessdata-") + name;
        for (const QString& dataName : dataNames)
            TestFiles::writeFile(folder + QLatin1Char('/') + dataName + QStringLiteral(".traineddata"), "x");
        TestFiles::writeFile(folder + QStringLiteral("/pdf.ttf"), "not a language");
        return folder;
    }

private slots:
    void tableMapsDataNamesToDistinctCodes()
    {
        const QMap<QString, QString>& table = OcrLanguages::table();
        QCOMPARE(table.size(), 190);
        const QList<QString> codes = table.values();
        QCOMPARE(QSet<QString>(codes.begin(), codes.end()).size(), 190);
        QCOMPARE(table.value(QStringLiteral("deu")), QStringLiteral("de"));
        QCOMPARE(table.value(QStringLiteral("bih")), QStringLiteral("bh"));
        QCOMPARE(table.value(QStringLiteral("deu-frak")), QStringLiteral("deu-frak"));
    }

    void installedDataIsListedUnderItsCodes()
    {
        OcrLanguages languages;
        languages.load(tessdata(QStringLiteral("mixed"), {"eng", "deu", "chi_sim", "deu-frak", "osd"}));
        QCOMPARE(languages.installed(), QStringList({"CHI_SIM", "DE", "DEU-FRAK", "EN", "OSD"}));
        // Text of an unknown language is read in all of them, English first, without orientation data.
        QCOMPARE(languages.allLanguages(), QStringLiteral("eng+chi_sim+deu+deu-frak"));

        OcrLanguages none;
        none.load(TestFiles::sandbox() + QStringLiteral("/no-such-folder"));
        QVERIFY(none.installed().isEmpty());
        QCOMPARE(none.allLanguages(), QStringLiteral("eng"));
        QCOMPARE(none.defaultLanguage(QStringLiteral("de")), QStringLiteral("EN"));
    }

    void codesMapToTesseractNames()
    {
        OcrLanguages languages;
        languages.load(tessdata(QStringLiteral("names"), {"eng", "osd", "Fraktur"}));
        QCOMPARE(languages.tesseractLanguage(QStringLiteral("EN")), QStringLiteral("eng"));
        QCOMPARE(languages.tesseractLanguage(QStringLiteral("nb")), QStringLiteral("nob"));
        QCOMPARE(languages.tesseractLanguage(QStringLiteral("ne")), QStringLiteral("nep"));
        QCOMPARE(languages.tesseractLanguage(QStringLiteral("zh")), QStringLiteral("zho"));
        QCOMPARE(languages.tesseractLanguage(QStringLiteral("CHI_SIM")), QStringLiteral("chi_sim"));
        QCOMPARE(languages.tesseractLanguage(QStringLiteral("DEU-FRAK")), QStringLiteral("deu-frak"));
        QCOMPARE(languages.tesseractLanguage(QString()), QStringLiteral("eng"));
        // Data the table does not know is recognised with its own file, not as English.
        QCOMPARE(languages.tesseractLanguage(QStringLiteral("OSD")), QStringLiteral("osd"));
        QCOMPARE(languages.tesseractLanguage(QStringLiteral("FRAKTUR")), QStringLiteral("Fraktur"));
        QCOMPARE(languages.tesseractLanguage(QStringLiteral("XYZ")), QStringLiteral("eng"));
    }

    void defaultFollowsTheInterfaceLanguageWhenInstalled()
    {
        OcrLanguages withGerman;
        withGerman.load(tessdata(QStringLiteral("de"), {"eng", "deu"}));
        QCOMPARE(withGerman.defaultLanguage(QStringLiteral("de")), QStringLiteral("DE"));
        QCOMPARE(withGerman.defaultLanguage(QStringLiteral("fr")), QStringLiteral("EN"));

        OcrLanguages withoutGerman;
        withoutGerman.load(tessdata(QStringLiteral("en"), {"eng"}));
        QCOMPARE(withoutGerman.defaultLanguage(QStringLiteral("de")), QStringLiteral("EN"));
    }

    void paragraphsDependOnTheCodesEnding()
    {
        QVERIFY(!OcrLanguages::canBuildParagraphs(QStringLiteral("KO")));
        QVERIFY(!OcrLanguages::canBuildParagraphs(QStringLiteral("CHI_SIM")));
        QVERIFY(!OcrLanguages::canBuildParagraphs(QStringLiteral("chi_tra")));
        QVERIFY(OcrLanguages::canBuildParagraphs(QStringLiteral("KOR")));
        QVERIFY(OcrLanguages::canBuildParagraphs(QStringLiteral("JA")));
        QVERIFY(OcrLanguages::canBuildParagraphs(QStringLiteral("EN")));
    }
};

QTEST_GUILESS_MAIN(OcrLanguagesTest)
#include "test_ocrlanguages.moc"
