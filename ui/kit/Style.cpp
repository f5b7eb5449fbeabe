#include "ui/kit/Style.h"

#include "resources/Resources.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QGraphicsDropShadowEffect>
#include <QPointer>
#include <QStyle>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>

void loadStyleSheet()
{
    initStyleResources();
    QFile file(QStringLiteral(":/style/appstyle.css"));
    if (file.open(QIODevice::ReadOnly)) {
        const QString sheet = QString::fromUtf8(file.readAll());
        file.close();
        qApp->setStyleSheet(sheet);
    }
    QFont font = QApplication::font();
    font.setStyleStrategy(QFont::PreferAntialias);
    QApplication::setFont(font);
}

void repolish(QWidget* widget)
{
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
    widget->update();
}

void addDropShadow(QWidget* window, QWidget* frame)
{
    window->setAttribute(Qt::WA_TranslucentBackground);
    auto* effect = new QGraphicsDropShadowEffect(window);
    effect->setOffset(0, 0);
    effect->setBlurRadius(20.0);
    frame->setGraphicsEffect(effect);
    keepOpaqueWithoutCompositor(window, frame);
}

namespace {

// Follows the frame and cuts the window to it.
class FrameMask : public QObject
{
public:
    FrameMask(QWidget* window, QWidget* frame)
        : QObject(frame)
        , m_window(window)
        , m_frame(frame)
    {
        frame->installEventFilter(this);
        update();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_frame && (event->type() == QEvent::Resize || event->type() == QEvent::Move || event->type() == QEvent::Show))
            update();
        return false;
    }

private:
    void update()
    {
        if (!m_window || !m_frame)
            return;
        const QPoint origin = m_frame == m_window ? QPoint() : m_frame->mapTo(m_window, QPoint(0, 0));
        m_window->setMask(QRegion(QRect(origin, m_frame->size())));
    }

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_frame;
};

bool x11CompositorRunning()
{
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    bool running = false;
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData()), nullptr);
    if (atom) {
        xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
        running = owner && owner->owner != XCB_NONE;
        std::free(owner);
        std::free(atom);
    }
    xcb_disconnect(connection);
    return running;
}

} // namespace

bool hasCompositor()
{
    static const bool answer = QGuiApplication::platformName() != QLatin1String("xcb") || x11CompositorRunning();
    return answer;
}

void keepOpaqueWithoutCompositor(QWidget* window, QWidget* frame)
{
    if (hasCompositor())
        return;
    new FrameMask(window, frame);
}
