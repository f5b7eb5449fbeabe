#pragma once

#include "ui/kit/StyleNames.h"
#include "ui/widgets/ProgressDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <functional>

// Answers the modal dialogs in the order they come, one scripted answer each, and keeps what
// each said. The "Add files" progress dialog is no question and is left alone.
class DialogScript : public QObject
{
public:
    using Answer = std::function<void(QWidget* dialog)>;

    DialogScript()
    {
        connect(&m_timer, &QTimer::timeout, this, &DialogScript::poll);
        m_timer.start(20);
    }

    void add(const Answer& answer) { m_answers << answer; }
    int pending() const { return m_answers.size(); }
    QStringList seen;

private:
    void poll()
    {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible() || qobject_cast<ProgressDialog*>(dialog) || dialog == m_last)
            return;
        m_last = dialog;
        QStringList texts;
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (!label->text().isEmpty())
                texts << label->text();
        }
        seen << QString::fromLatin1(dialog->metaObject()->className()) + QStringLiteral(": ") + texts.join(QStringLiteral(" | "));
        if (m_answers.isEmpty()) {
            qWarning("unexpected dialog: %s", qPrintable(seen.last()));
            static_cast<QDialog*>(dialog)->reject();
            return;
        }
        m_answers.takeFirst()(dialog);
    }

    QTimer m_timer;
    QPointer<QWidget> m_last;
    QList<Answer> m_answers;
};

inline DialogScript::Answer click(const QString& buttonName)
{
    return [buttonName](QWidget* dialog) {
        auto* button = dialog->findChild<QAbstractButton*>(buttonName);
        QVERIFY2(button && button->isVisible(), qPrintable(buttonName));
        button->click();
    };
}

// Presses a tab's "CONVERT" and waits for the end of its run and for every scripted answer.
template <class View>
void pressConvert(View* view, DialogScript& script, int timeoutMs = 240000)
{
    QSignalSpy finished(view, &View::finished);
    QPushButton* convertButton = view->template findChild<QPushButton*>(StyleName::buttonConvert);
    QVERIFY(convertButton->isVisible());
    convertButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, timeoutMs);
    QTRY_COMPARE(script.pending(), 0);
    QVERIFY(!view->isRunning());
}
