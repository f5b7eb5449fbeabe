#include "app/core/UserContext.h"

#include <QSignalSpy>
#include <QtTest>

class UserContextTest : public QObject
{
    Q_OBJECT

private slots:
    void initialState()
    {
        UserContext context;
        QVERIFY(context.saveToFolder().isEmpty());
        QVERIFY(context.lastConvertedFile(0).isEmpty());
        const FileSettingsData files = context.fileSettings();
        QVERIFY(files.fileName.isEmpty() && files.title.isEmpty() && files.publisher.isEmpty() && files.password.isEmpty());
        const LayoutSettingsData layout = context.layoutSettings();
        QCOMPARE(QVector<int>({layout.imageSize, layout.pageSize, layout.margin, layout.position, layout.rotate,
                               layout.orientation}),
                 QVector<int>({1, 2, 1, 4, 0, 0}));
    }

    void lastConvertedFileSides()
    {
        UserContext context;
        context.setLastConvertedFile(0, QStringLiteral("/out/a.docx"));
        context.setLastConvertedFile(1, QStringLiteral("/out/b.pdf"));
        context.setLastConvertedFile(2, QStringLiteral("/out/c.pdf"));
        context.setLastConvertedFile(-1, QStringLiteral("/out/d.pdf"));
        QCOMPARE(context.lastConvertedFile(0), QStringLiteral("/out/a.docx"));
        QCOMPARE(context.lastConvertedFile(1), QStringLiteral("/out/b.pdf"));
        QVERIFY(context.lastConvertedFile(2).isEmpty());
        QVERIFY(context.lastConvertedFile(-1).isEmpty());
    }

    void saveToFolderAlwaysSignals()
    {
        UserContext context;
        QSignalSpy spy(&context, &UserContext::saveToFolderChanged);
        context.setSaveToFolder(QStringLiteral("/home/u/Desktop"));
        context.setSaveToFolder(QStringLiteral("/home/u/Desktop"));
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("/home/u/Desktop"));
    }

    void settingsAreReplacedWhole()
    {
        UserContext context;
        LayoutSettingsData layout;
        layout.pageSize = LayoutSettingsData::A3;
        layout.rotate = 270;
        context.setLayoutSettings(layout);
        FileSettingsData files{QStringLiteral("out"), QStringLiteral("T"), QStringLiteral("P"), QStringLiteral("pw")};
        context.setFileSettings(files);
        QCOMPARE(context.layoutSettings().pageSize, int(LayoutSettingsData::A3));
        QCOMPARE(context.layoutSettings().rotate, 270);
        QCOMPARE(context.fileSettings().password, QStringLiteral("pw"));
    }

    void supportedFormats()
    {
        const QStringList formats = UserContext().supportedFormats();
        QCOMPARE(formats.size(), 17);
        QCOMPARE(formats.first(), QStringLiteral("doc"));
        QCOMPARE(formats.last(), QStringLiteral("tiff"));
        for (const char* absent : {"pdf", "rtf", "txt"})
            QVERIFY(!formats.contains(QLatin1String(absent)));
    }
};

QTEST_GUILESS_MAIN(UserContextTest)
#include "test_usercontext.moc"
