#pragma once

#include <QFrame>

class ElidedLabel;
class QGridLayout;
class QLabel;
class QPushButton;

// The 22-pixel title row of every frameless window: the program icon, the title centred and
// elided to its column (all the bar but two equal side columns as wide as the wider of the icon
// and the shown buttons), and minimise, maximise and close buttons. The bar never acts on the
// window; the window connects the signals it wants and hides the buttons it does not.
class WindowBar : public QFrame
{
    Q_OBJECT
public:
    explicit WindowBar(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const;
    void hideMaximizeButton(bool hide);
    void hideMinimizeButton(bool hide);

signals:
    void maximizeWindow();
    void minimizeWindow();
    void closeWindow();

public slots:
    // Switches the maximise button between its "maximise" and "restore" looks.
    void setMaximized(bool maximazed);

private slots:
    void onButtonMinimize();
    void onButtonClose();
    void onButtonMaximize();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void balanceColumns();

    QGridLayout* m_layout;
    QLabel* m_icon;
    ElidedLabel* m_title;
    QPushButton* m_minimize;
    QPushButton* m_maximize;
    QPushButton* m_close;
};
