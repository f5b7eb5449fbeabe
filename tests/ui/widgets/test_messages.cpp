// Message view roles and return codes (a close by the window manager is a cancel), and the
// password prompt's answers.
#include "ui/kit/Button.h"
#include "ui/kit/WindowBar.h"
#include "ui/widgets/MessagePassword.h"
#include "ui/widgets/MessageView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {
// Runs dialog modally and does action once the loop runs; returns exec()'s answer.
int execWith(QDialog& dialog, const std::function<void()>& action)
{
    QTimer::singleShot(0, &dialog, action);
    return dialog.exec();
}

QPushButton* barClose(QDialog& dialog)
{
    return dialog.findChild<WindowBar*>()->findChild<QPushButton*>(QStringLiteral("windowClose"));
}
} // namespace

class TestMessages : public QObject
{
    Q_OBJECT

private slots:
    void messageAnswersWithButtonRoles()
    {
        std::unique_ptr<MessageView> ok(MessageView::createOkMessage(QStringLiteral("Done"), QStringLiteral("Converted")));
        auto* okButton = ok->findChild<Button*>(QStringLiteral("buttonOk"));
        QVERIFY(okButton && okButton->isDefault());
        QCOMPARE(okButton->size(), QSize(100, 42));
        QCOMPARE(execWith(*ok, [&] { okButton->click(); }), int(QDialogButtonBox::AcceptRole));

        auto* open = new QPushButton(QStringLiteral("OPEN FOLDER"));
        ok->addButton(open, QDialogButtonBox::HelpRole);
        QCOMPARE(execWith(*ok, [&] { open->click(); }), int(QDialogButtonBox::HelpRole));

        MessageView question(QStringLiteral("Save"), QStringLiteral("Save changes?"));
        auto* yes = new QPushButton(QStringLiteral("YES"));
        auto* no = new QPushButton(QStringLiteral("NO"));
        question.addButton(yes, QDialogButtonBox::YesRole);
        question.addButton(no, QDialogButtonBox::NoRole);
        QCOMPARE(execWith(question, [&] { yes->click(); }), int(QDialogButtonBox::YesRole));
        QCOMPARE(execWith(question, [&] { no->click(); }), int(QDialogButtonBox::NoRole));
    }

    void everyWayOutWithoutAButtonIsACancel()
    {
        std::unique_ptr<MessageView> m(MessageView::createOkMessage(QStringLiteral("t"), QStringLiteral("x")));
        QSignalSpy accepted(m.get(), &QDialog::accepted);
        QCOMPARE(execWith(*m, [&] { QTest::keyClick(m.get(), Qt::Key_Escape); }), int(QDialogButtonBox::RejectRole));
        QCOMPARE(execWith(*m, [&] { barClose(*m)->click(); }), int(QDialogButtonBox::RejectRole));
        // Closed by the window manager: must not read as the OK answer (AcceptRole 0).
        QCOMPARE(execWith(*m, [&] { m->close(); }), int(QDialogButtonBox::RejectRole));
        QCOMPARE(accepted.count(), 0);
        QVERIFY(!m->isVisible());
    }

    void messageWithoutParentStaysPut()
    {
        MessageView m(QStringLiteral("t"), QStringLiteral("x"));
        m.move(33, 44);
        m.show();
        QCOMPARE(m.pos(), QPoint(33, 44));
        m.setText(QStringLiteral("changed"));
        m.setTitle(QStringLiteral("New title"));
        QCOMPARE(m.findChild<WindowBar*>()->title(), QStringLiteral("New title"));
    }

    void passwordAnswers()
    {
        {
            MessagePassword prompt;
            QCOMPARE(execWith(prompt, [&] { barClose(prompt)->click(); }), int(QDialog::Rejected));
            QVERIFY(!prompt.isSkip() && !prompt.isSkipAll());
        }
        {
            MessagePassword prompt;
            prompt.setSkipVisible(true);
            prompt.setSkipAllVisible(true);
            auto skips = prompt.findChildren<Button*>(QStringLiteral("buttonSkip"));
            QCOMPARE(skips.size(), 2);
            QCOMPARE(execWith(prompt, [&] {
                         prompt.findChild<QLineEdit*>()->setText(QStringLiteral("ignored"));
                         skips.at(0)->click();
                     }),
                     int(QDialog::Accepted));
            QVERIFY(prompt.isSkip() && !prompt.isSkipAll());
        }
        {
            MessagePassword prompt;
            prompt.setSkipAllVisible(true);
            QCOMPARE(execWith(prompt, [&] { prompt.findChildren<Button*>(QStringLiteral("buttonSkip")).at(1)->click(); }),
                     int(QDialog::Accepted));
            QVERIFY(!prompt.isSkip() && prompt.isSkipAll());
        }
        {
            MessagePassword prompt;
            QCOMPARE(execWith(prompt, [&] { QTest::keyClick(prompt.findChild<QLineEdit*>(), Qt::Key_Return); }),
                     int(QDialog::Accepted));
            QVERIFY(!prompt.isSkip() && !prompt.isSkipAll());
            QCOMPARE(prompt.password(), QString());
        }
        {
            MessagePassword prompt;
            QCOMPARE(execWith(prompt, [&] {
                         QTest::keyClicks(prompt.findChild<QLineEdit*>(), QStringLiteral(" secret "));
                         prompt.findChild<Button*>(QStringLiteral("buttonOk"))->click();
                     }),
                     int(QDialog::Accepted));
            QCOMPARE(prompt.password(), QStringLiteral(" secret "));
        }
    }

    void passwordShowsOnlyOkByDefault()
    {
        MessagePassword prompt;
        prompt.setText(QStringLiteral("report.pdf"));
        prompt.show();
        QVERIFY(prompt.findChild<Button*>(QStringLiteral("buttonOk"))->isVisible());
        for (Button* skip : prompt.findChildren<Button*>(QStringLiteral("buttonSkip")))
            QVERIFY(!skip->isVisible());
        QCOMPARE(prompt.findChild<WindowBar*>()->title(), QStringLiteral("Enter password"));
        QCOMPARE(prompt.findChild<QLineEdit*>()->echoMode(), QLineEdit::Password);
    }
};

QTEST_MAIN(TestMessages)
#include "test_messages.moc"
