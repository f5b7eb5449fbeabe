#pragma once

#include <QColor>
#include <QRect>
#include <QSplashScreen>
#include <QTime>

#include <functional>

// The picture shown while the program starts: the splash image, the installed version at its
// lower right and an animated "Loading" line. It is placed on the screen that the per-user
// setting "mainview.screen" names (the primary screen by default).
class SplashScreen : public QSplashScreen
{
    Q_OBJECT
public:
    // The clock of the loading animation: the time of day, and a blocking sleep. Tests replace
    // both so that the animation runs without waiting.
    struct Clock
    {
        std::function<QTime()> now;
        std::function<void(int ms)> sleep;
    };
    static void setClock(const Clock& clock);

    explicit SplashScreen(const QPixmap& pixmap = QPixmap(), Qt::WindowFlags flags = Qt::WindowFlags());

    void setVersionText(const QString& text) { m_versionText = text; }
    QString versionText() const { return m_versionText; }
    // Shows "Loading." to "Loading..." in turn for about seconds, blocking the calling thread.
    void showLoading(int seconds);
    void setMessageRect(const QRect& rect, int alignment = Qt::AlignLeft);
    void showStatus(const QString& text, const QColor& colour = Qt::black);

    QString currentMessage() const { return m_message; }
    QColor messageColour() const { return m_colour; }

protected:
    void drawContents(QPainter* painter) override;
    void showEvent(QShowEvent* event) override;

private:
    QString m_message;
    int m_alignment = Qt::AlignLeft | Qt::AlignTop;
    QColor m_colour;
    QString m_versionText;
    QRect m_messageRect{QPoint(122, 120), QPoint(371, 219)};
};
