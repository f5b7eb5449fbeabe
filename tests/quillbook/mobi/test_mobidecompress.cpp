#include "quillbook/mobi/Decompress.h"
#include "quillbook/mobi/HuffCdicReader.h"
#include "tests/quillbook/mobi/MobiWriter.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace mobi;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b += char(v);
    return b;
}

// A realistic page of text with repeats, spaces before letters and non-ASCII characters.
QByteArray sampleText()
{
    QByteArray text;
    for (int i = 0; i < 120; ++i)
        text += QStringLiteral("<p>Paragraph %1: Grüße aus Köln, naïve café — the quick brown fox.</p>\n").arg(i).toUtf8();
    return text;
}

} // namespace

class MobiDecompressTest : public QObject
{
    Q_OBJECT

private slots:
    void palmDocCommands_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("space and letter") << bytes({0x41, 0x42, 0xC3}) << QByteArray("AB C");
        QTest::newRow("copy repeats its own output") << bytes({0x41, 0x80, 0x0A}) << QByteArray("AAAAAA");
        QTest::newRow("literal run ends on the last byte") << bytes({0x41, 0x02, 0xC3, 0xA9}) << QByteArray("A\xC3\xA9");
        QTest::newRow("back reference ends on the last byte") << bytes({0x61, 0x62, 0x63, 0x80, 0x18}) << QByteArray("abcabc");
        QTest::newRow("literal run past the end") << bytes({0x41, 0x03, 0xC3, 0xA9}) << QByteArray("A");
        QTest::newRow("back reference cut off") << bytes({0x41, 0x80}) << QByteArray("A");
        QTest::newRow("distance 0") << bytes({0x41, 0x80, 0x00, 0x42}) << QByteArray("A");
        QTest::newRow("distance before the start") << bytes({0x41, 0x80, 0x10, 0x42}) << QByteArray("A");
    }

    void palmDocCommands()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        QCOMPARE(palmDocDecompress(input, 4096), output);
    }

    void palmDocRoundTripAndLimit()
    {
        const QByteArray text = sampleText();
        const QByteArray packed = MobiWriter::palmDocCompress(text);
        QVERIFY(packed.size() < text.size() / 2);
        QCOMPARE(palmDocDecompress(packed, text.size()), text);
        QCOMPARE(palmDocDecompress(packed, 100), text.left(100));
        QCOMPARE(decompress(text, Compression::None, 10, nullptr), text.left(10));
        QCOMPARE(compressionFromValue(3), Compression::None);
    }

    void huffCdicRoundTrip()
    {
        // Two CDIC records; half the phrases are stored as codes and decode recursively.
        const MobiWriter::HuffCdic code({"the ", "quick ", "brown ", "fox", "<p>Paragraph ", "Grüße"});
        QCOMPARE(code.dictionaries.size(), 2);
        HuffCdicReader reader(code.huff, code.dictionaries);
        QVERIFY(reader.isLoaded());
        const QByteArray text = sampleText();
        QCOMPARE(reader.decompress(code.encode(text), text.size()), text);
        QVERIFY(reader.isValid());
        QCOMPARE(reader.decompress(code.encode(text), 50), text.left(50));
    }

    void huffCdicRefusesDamagedTables()
    {
        const MobiWriter::HuffCdic code({});
        QByteArray wideCodes = code.dictionaries.first();
        MobiWriter::putBe32(wideCodes, 12, 32);
        QByteArray tablesOutside = code.huff;
        MobiWriter::putBe32(tablesOutside, 20, quint32(tablesOutside.size() - 100));
        QByteArray offsetWraps = code.huff;
        MobiWriter::putBe32(offsetWraps, 16, 0xFFFFFFF0u);
        const QList<QPair<QByteArray, QList<QByteArray>>> damaged = {
            {code.huff, {wideCodes}}, {tablesOutside, code.dictionaries}, {offsetWraps, code.dictionaries}, {"HUFX" + code.huff.mid(4), code.dictionaries}, {code.huff, {}}, {code.huff.left(20), code.dictionaries}};
        for (const auto& books : damaged) {
            HuffCdicReader reader(books.first, books.second);
            QVERIFY(!reader.isLoaded());
            QVERIFY(reader.decompress(code.encode("text"), 100).isEmpty());
        }
    }

    void huffCdicStopsOnHostileDictionaries()
    {
        const MobiWriter::HuffCdic code({});
        // Symbols 256 and up name entries of a dictionary of the test's own making.
        const auto reader = [&code](const QList<QPair<QByteArray, bool>>& entries, int total) {
            return HuffCdicReader(code.huff, {code.dictionaries.first(), MobiWriter::HuffCdic::cdic(entries, total, 8)});
        };
        const QByteArray self = MobiWriter::HuffCdic::pack({'a', 256});
        HuffCdicReader selfReferencing = reader({{self, false}}, 257);
        QCOMPARE(selfReferencing.decompress(MobiWriter::HuffCdic::pack({256, 256}), 4096), QByteArray("aa"));
        QVERIFY(!selfReferencing.isValid());

        // Each entry expands to twice the next, 30 levels deep: 2^30 symbols, none of them text.
        QList<QPair<QByteArray, bool>> chain;
        for (int level = 0; level < 30; ++level)
            chain.append({MobiWriter::HuffCdic::pack({257 + level, 257 + level}), false});
        chain.append({QByteArray(), true});
        HuffCdicReader exponential = reader(chain, 256 + chain.size());
        QElapsedTimer timer;
        timer.start();
        QVERIFY(exponential.decompress(MobiWriter::HuffCdic::pack({256}), 4096).isEmpty());
        QVERIFY(!exponential.isValid());
        QVERIFY(timer.elapsed() < 2000);

        // The same with text at the bottom stops at the output limit.
        chain.last() = {QByteArray("bomb"), true};
        HuffCdicReader bomb = reader(chain, 256 + chain.size());
        QCOMPARE(bomb.decompress(MobiWriter::HuffCdic::pack({256}), 4096), QByteArray("bomb").repeated(1024));

        // A symbol that names a dictionary the book does not have.
        HuffCdicReader missing(code.huff, {code.dictionaries.first()});
        QCOMPARE(missing.decompress(MobiWriter::HuffCdic::pack({'x', 600, 'y'}), 100), QByteArray("x"));
        QVERIFY(!missing.isValid());
    }
};

QTEST_GUILESS_MAIN(MobiDecompressTest)
#include "test_mobidecompress.moc"
