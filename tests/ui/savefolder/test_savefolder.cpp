#include "ui/savefolder/SaveFolderDelegate.h"
#include "ui/savefolder/SaveFolderModel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QProxyStyle>
#include <QTranslator>
#include <QtTest>

namespace {

// German texts for the model's context, without a .qm file.
class GermanTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (qstrcmp(context, "SaveFolderModel") != 0)
            return QString();
        if (qstrcmp(source, "Sub folder") == 0)
            return QStringLiteral("Unterordner");
        return QString();
    }
};

// Records what an item view asks the style to draw.
class RecordingStyle : public QProxyStyle
{
public:
    struct Drawn
    {
        QString text;
        bool focus;
    };
    mutable QList<Drawn> items;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const override
    {
        if (element == CE_ItemViewItem) {
            const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option);
            items << Drawn{item->text, bool(item->state & State_HasFocus)};
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

QString text(const SaveFolderModel& model, int row, int column, int role = Qt::DisplayRole)
{
    return model.data(model.index(row, column), role).toString();
}

} // namespace

class SaveFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void tableAndChosenFolder()
    {
        SaveFolderModel model;
        // The test's home has no desktop folder: the chosen folder starts at home.
        const QString desktop = QDir::homePath();
        QCOMPARE(text(model, 2, 0, Qt::EditRole), desktop);
        QCOMPARE(text(model, 2, 1), QStringLiteral("Select folder..."));
        for (int row = 0; row < 3; ++row)
            QCOMPARE(model.data(model.index(row, 2)).userType(), int(QMetaType::Int));
        QCOMPARE(model.data(model.index(1, 2)).toInt(), 1);
        QVERIFY(!model.data(model.index(0, 0), Qt::DecorationRole).isValid());

        // Only row 2, column 0, edit role takes a folder.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(!model.setData(model.index(2, 1), QStringLiteral("/x"), Qt::EditRole));
        QVERIFY(!model.setData(model.index(2, 0), QStringLiteral("/x"), Qt::DisplayRole));
        QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("/x"), Qt::EditRole));
        QCOMPARE(text(model, 2, 0), desktop);
        QVERIFY(model.setData(model.index(2, 0), QStringLiteral("/home/u/out"), Qt::EditRole));
        QCOMPARE(text(model, 2, 0), QStringLiteral("/home/u/out"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().at(0).toModelIndex(), model.index(2, 0));

        // Texts are translated on every read.
        GermanTranslator german;
        QCoreApplication::installTranslator(&german);
        QCOMPARE(text(model, 0, 0), QStringLiteral("Unterordner"));
        QCoreApplication::removeTranslator(&german);
        QCOMPARE(text(model, 0, 0), QStringLiteral("Sub folder"));
    }

    // The closed combo shows the chosen folder; its list shows "Select folder..." without a
    // focus frame on any row.
    void comboShowsFolderAndListShowsChoice()
    {
        // The popup is a window of its own, so the recording style is the application's.
        RecordingStyle* style = new RecordingStyle;
        QApplication::setStyle(style);
        QComboBox combo;
        auto* model = new SaveFolderModel(&combo);
        auto* delegate = new SaveFolderDelegate(&combo);
        combo.setItemDelegate(delegate);
        combo.setModel(model);
        model->setData(model->index(2, 0), QStringLiteral("/srv/out"), Qt::EditRole);
        combo.setCurrentIndex(2);
        QCOMPARE(combo.currentText(), QStringLiteral("/srv/out"));

        combo.show();
        combo.showPopup();
        QAbstractItemView* list = combo.view();
        QTRY_VERIFY(list->isVisible());
        list->setCurrentIndex(model->index(2, 0));
        list->setFocus();
        style->items.clear();
        list->viewport()->grab();
        QStringList texts;
        for (const RecordingStyle::Drawn& drawn : style->items) {
            texts << drawn.text;
            QVERIFY(!drawn.focus);
        }
        QVERIFY2(texts.contains(QStringLiteral("Select folder...")), qPrintable(texts.join('|')));
        QVERIFY(texts.contains(QStringLiteral("Sub folder")));
        QVERIFY(!texts.contains(QStringLiteral("/srv/out")));
    }
};

QTEST_MAIN(SaveFolderTest)
#include "test_savefolder.moc"
