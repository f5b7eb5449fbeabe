#include "ui/kit/Button.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

Button::Button(QWidget* parent)
    : QPushButton(parent)
{
    setAttribute(Qt::WA_Hover);
}

namespace {
template <typename T>
T forState(int state, const T& normal, const T& hover, const T& pressed, const T& checked, const T& disabled,
           bool useDisabled)
{
    T value = normal;
    if (state & QStyle::State_MouseOver) value = hover;
    if (state & QStyle::State_Sunken) value = pressed;
    if (state & QStyle::State_On) value = checked;
    if (!(state & QStyle::State_Enabled) && useDisabled) value = disabled;
    return value;
}
} // namespace

QString Button::pathForState(int state, const QString& normal, const QString& hover, const QString& pressed,
                             const QString& checked, const QString& disabled)
{
    return forState(state, normal, hover, pressed, checked, disabled, !disabled.isEmpty());
}

QColor Button::colorForState(int state, const QColor& normal, const QColor& hover, const QColor& pressed,
                             const QColor& checked, const QColor& disabled)
{
    return forState(state, normal, hover, pressed, checked, disabled, true);
}

QString Button::iconPath(int state) const
{
    return pathForState(state, m_iconNormal, m_iconHover, m_iconPressed, m_iconChecked, m_iconDisabled);
}

QColor Button::textColor(int state) const
{
    return colorForState(state, m_colorTextNormal, m_colorTextHover, m_colorTextPressed, m_colorTextChecked,
                         m_colorTextDisabled);
}

void Button::drawFace(QStyleOptionButton& option, QPainter& painter)
{
    option.state &= ~QStyle::State_HasFocus;
    option.text.clear();
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
}

// "XXXX" stands in for an empty text, so an empty button still gets a text line's height.
QSize Button::textSize() const
{
    const QString shown = text().isEmpty() ? QStringLiteral("XXXX") : text();
    return fontMetrics().size(Qt::TextShowMnemonic, shown);
}

void Button::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    drawFace(option, painter);

    const int state = option.state;
    const QColor color = textColor(state);
    const QString icon = iconPath(state);
    const QSize ts = fontMetrics().size(Qt::TextShowMnemonic, text());
    const double tw = ts.width(), th = ts.height();
    const QRect r = option.rect;
    const int l = r.left(), t = r.top(), rr = r.right(), b = r.bottom(), w = r.width(), h = r.height();
    const int iw = iconSize().width(), ih = iconSize().height();
    const int pl = m_iconPaddingLeft, pr = m_iconPaddingRight;
    const bool leftAligned = m_iconAlignment != Qt::Alignment();

    QRectF textRect;
    if (!icon.isEmpty()) {
        double total = tw + iw + pl + pr;
        if (pl != 0 && pr != 0) total += 5;
        QPointF iconPos;
        if (leftAligned) {
            iconPos = QPointF(l + pl, h / 2.0 - ih / 2.0);
            const double x = l + pl + iw + pr;
            textRect = QRectF(x, int(h / 2) - th / 2, w - x, th);
        } else {
            const double iconX = int((l + rr) / 2) - total / 2;
            iconPos = QPointF(int(iconX), int(h / 2.0 - ih / 2.0));
            textRect = QRectF(iconX + iw + 5 + pr, int((t + b) / 2) - th / 2, tw, th);
        }
        painter.drawImage(QPoint(int(iconPos.x()), int(iconPos.y())), QImage(icon));
    } else {
        textRect = r;
        if (leftAligned)
            textRect.adjust(pl + pr, 0, 0, 0);
    }

    if (!text().isEmpty()) {
        const QPen previous = painter.pen();
        QPen pen(color.isValid() ? color : QColor(Qt::black), previous.widthF(), Qt::SolidLine, Qt::SquareCap,
                 Qt::BevelJoin);
        painter.setPen(pen);
        painter.drawText(textRect, Qt::AlignCenter, text());
        painter.setPen(previous);
    }

    const QString menuIcon = pathForState(state, m_menuIconNormal, m_menuIconHover, m_menuIconPressed,
                                          m_menuIconChecked, m_menuIconDisabled);
    if (!menuIcon.isEmpty()) {
        const int mw = m_menuIconSize.width(), mh = m_menuIconSize.height();
        painter.drawImage(QRect(rr - m_menuIconPaddingRight - mw, int(h / 2) - int(mh / 2), mw, mh), QImage(menuIcon),
                          QRect(0, 0, mw, mh));
    }
}

QSize Button::finishSizeHint(QStyleOptionButton& option, int width, int height) const
{
    option.rect.setSize(QSize(width, height));
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, QSize(width, height), this).expandedTo(QApplication::globalStrut());
}

void Button::addIconSize(const QStyleOptionButton& option, int paddingLeft, int paddingRight, int& width,
                         int& height) const
{
    if (iconPath(option.state).isEmpty())
        return;
    width += option.iconSize.width() + paddingLeft + paddingRight;
    height = qMax(height, option.iconSize.height());
}

void Button::addTextSize(int& width, int& height) const
{
    const QSize ts = textSize();
    if (!text().isEmpty()) {
        width += ts.width();
        height = qMax(height, ts.height());
    } else {
        if (width == 0) width += ts.width();
        if (height == 0) height = ts.height();
    }
}

QSize Button::sizeHint() const
{
    ensurePolished();
    int width = 10, height = 10;
    QStyleOptionButton option;
    initStyleOption(&option);
    addIconSize(option, m_iconPaddingLeft, m_iconPaddingRight, width, height);
    const QString menuIcon = pathForState(option.state, m_menuIconNormal, m_menuIconHover, m_menuIconPressed,
                                          m_menuIconChecked, m_menuIconDisabled);
    if (!menuIcon.isEmpty()) {
        width += m_menuIconPaddingRight + m_menuIconSize.width();
        height = qMax(height, m_menuIconSize.height());
    }
    addTextSize(width, height);
    return finishSizeHint(option, width, height);
}

QPushButton* namedButton(const QString& objectName, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(objectName);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}
