#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QString sourceDir = QStringLiteral(QP_SOURCE_DIR);

QStringList translationSources()
{
    return QDir(sourceDir + QStringLiteral("/resources/translations")).entryList({QStringLiteral("quillpress_*.ts")}, QDir::Files, QDir::Name);
}

// "context: source" of every message whose translation is missing, empty or unfinished.
QStringList untranslated(const QByteArray& ts)
{
    QStringList problems;
    QXmlStreamReader xml(ts);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const bool unfinished = !xml.attributes().value(QLatin1String("type")).isEmpty();
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (unfinished || (text.trimmed().isEmpty() && !source.trimmed().isEmpty()))
                problems << context + QStringLiteral(": ") + source;
        }
    }
    if (xml.hasError())
        problems << QStringLiteral("XML error: ") + xml.errorString();
    return problems;
}

} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTextOfTheSourcesIsTranslated_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString& file : translationSources())
            QTest::newRow(qPrintable(file)) << file;
    }

    // Collects the texts of today's sources into a copy of each translation source: every text
    // must already be there and translated.
    void everyTextOfTheSourcesIsTranslated()
    {
        QFETCH(QString, file);
        const QString copy = TestFiles::sandbox() + QStringLiteral("/ts/") + file;
        QVERIFY(TestFiles::writeFile(copy, TestFiles::readFile(sourceDir + QStringLiteral("/resources/translations/") + file)));
        QByteArray err;
        QCOMPARE(TestFiles::run(sourceDir + QStringLiteral("/scripts/update-translations"), {copy}, nullptr, &err), 0);
        const QStringList problems = untranslated(TestFiles::readFile(copy));
        QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("run scripts/update-translations and translate in %1:\n  %2")
                                                    .arg(file, problems.join(QStringLiteral("\n  ")))));
    }

    void everyBuiltTranslationNamesItsLanguage()
    {
        const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
        QStringList names;
        for (const QString& ts : translationSources()) {
            const QString qm = QString(ts).replace(QStringLiteral(".ts"), QStringLiteral(".qm"));
            QTranslator translator;
            QVERIFY2(translator.load(qm, folder), qPrintable(qm));
            names << translator.translate("SettingsView", "English");
        }
        QVERIFY(names.contains(QStringLiteral("English")));
        QVERIFY(names.contains(QStringLiteral("Deutsch")));
        QVERIFY(!names.contains(QString()));
    }
};

QTEST_GUILESS_MAIN(TranslationsTest)
#include "test_translations.moc"
