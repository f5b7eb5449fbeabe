#include "ui/widgets/SplashScreen.h"

#include "app/core/StoredValues.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QThread>

namespace {
SplashScreen::Clock& splashClock()
{
    static SplashScreen::Clock c{[] { return QTime::currentTime(); }, [](int ms) { QThread::msleep(ms); }};
    return c;
}
} // namespace

void SplashScreen::setClock(const Clock& c)
{
    splashClock().now = c.now ? c.now : [] { return QTime::currentTime(); };
    splashClock().sleep = c.sleep ? c.sleep : [](int ms) { QThread::msleep(ms); };
}

SplashScreen::SplashScreen(const QPixmap& pixmap, Qt::WindowFlags)
    : QSplashScreen(QPixmap(), Qt::WindowFlags())
{
    setObjectName(QStringLiteral("splashScreen"));
    setPixmap(pixmap);
}

void SplashScreen::showLoading(int seconds)
{
    const QTime end = splashClock().now().addSecs(seconds);
    // An end past midnight wraps to the small hours: there is nothing to wait for then.
    if (splashClock().now() > end)
        return;
    int count = 1;
    do {
        m_message = tr("Loading%1").arg(QString(count, QLatin1Char('.')));
        m_colour = Qt::white;
        showMessage(m_message, m_alignment, m_colour);
        splashClock().sleep(500);
        count = count == 3 ? 1 : count + 1;
    } while (!(splashClock().now() > end));
}

void SplashScreen::setMessageRect(const QRect& rect, int alignment)
{
    m_messageRect = rect;
    m_alignment = alignment;
}

void SplashScreen::showStatus(const QString& text, const QColor& colour)
{
    m_message = text;
    m_colour = colour;
    showMessage(text, m_alignment, colour);
}

void SplashScreen::drawContents(QPainter* painter)
{
    painter->setPen(m_colour);
    painter->drawText(m_messageRect, m_alignment, m_message);
    const QPixmap picture = pixmap();
    painter->drawText(QRect(QPoint(0, 0), QPoint(picture.width() - 21, picture.height() - 21)),
                      Qt::AlignRight | Qt::AlignBottom, m_versionText);
}

void SplashScreen::showEvent(QShowEvent* event)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                       QCoreApplication::applicationName());
    int index = settings.value(QLatin1String(StoredValues::Keys::mainViewScreen()), -1).toInt();
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (index > screens.size())
        index = -1;
    QScreen* screen = index >= 0 && index < screens.size() ? screens.at(index) : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = geometry();
        const QRect area = screen->geometry();
        frame.moveCenter(QPoint((area.left() + area.right()) / 2, (area.top() + area.bottom()) / 2));
        setGeometry(frame);
    }
    QSplashScreen::showEvent(event);
}
