#include "ui/kit/ButtonDescription.h"

#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

ButtonDescription::ButtonDescription(QWidget* parent)
    : Button(parent) {}

void ButtonDescription::initOption(QStyleOptionButton* option) const
{
    option->initFrom(this);
    option->features = isFlat() ? QStyleOptionButton::Flat : QStyleOptionButton::None;
    option->state &= ~(QStyle::State_Active | QStyle::State_Enabled | QStyle::State_Sunken | QStyle::State_On
                       | QStyle::State_Raised);
    if (window()->isActiveWindow()) option->state |= QStyle::State_Active;
    if (isEnabled()) option->state |= QStyle::State_Enabled;
    if (isDown()) option->state |= QStyle::State_Sunken;
    if (isChecked()) option->state |= QStyle::State_On;
    if (!isFlat() && !isDown()) option->state |= QStyle::State_Raised;
    option->iconSize = iconSize();
    option->text.clear();
    option->icon = QIcon();
}

void ButtonDescription::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    initOption(&option);
    drawFace(option, painter);

    const int state = option.state;
    const QFontMetrics metrics = fontMetrics();
    const QSize ts = metrics.size(Qt::TextShowMnemonic, text());
    const QSize ds = metrics.size(Qt::TextShowMnemonic, m_description);
    const QColor color = textColor(state);
    const QColor descriptionColor = colorForState(state, m_colorDescriptionNormal, m_colorDescriptionHover,
                                                  m_colorDescriptionPressed, m_colorDescriptionChecked,
                                                  m_colorDescriptionDisabled);
    const QString icon = iconPath(state);
    const QRect r = option.rect;
    const int l = r.left(), t = r.top(), rr = r.right(), b = r.bottom(), w = r.width();
    const int iw = iconSize().width(), ih = iconSize().height();
    const int pl = m_iconPaddingLeft, pr = m_iconPaddingRight;

    QRect textRect = r;
    QRect descriptionRect;
    if (!icon.isEmpty()) {
        QRect iconRect;
        int x = 0;
        if (iconAlignment() != Qt::Alignment()) {
            iconRect = QRect(l + pl, (t + b) / 2 - ih / 2, iw, ih);
            x = l + pl + iw + pr;
        } else {
            double total = iw + pl;
            if (!text().isEmpty()) total += ts.width();
            if (!m_description.isEmpty()) total += ds.width() + m_textPadding;
            const int iconX = int((l + rr) / 2 - total / 2);
            iconRect = QRect(iconX, (t + b) / 2 - ih / 2, iw, ih);
            x = iconX + iw + pr;
        }
        descriptionRect = QRect(x, (t + b) / 2 - ds.height() / 2, ds.width(), ds.height());
        const int textX = x + ds.width() + m_textPadding;
        textRect = QRect(textX, (t + b) / 2 - ts.height() / 2, w - textX, ts.height());
        painter.drawImage(iconRect, QImage(icon), QRect(0, 0, iw, ih));
    }

    if (!m_description.isEmpty() && descriptionRect.isValid()) {
        painter.save();
        painter.setPen(descriptionColor.isValid() ? descriptionColor : QColor(Qt::black));
        painter.drawText(descriptionRect, Qt::AlignLeft | Qt::AlignVCenter, m_description);
        painter.restore();
    }
    if (!text().isEmpty()) {
        painter.save();
        painter.setPen(color.isValid() ? color : QColor(Qt::black));
        const QString shown = painter.fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width());
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, shown);
        painter.restore();
    }
}

QSize ButtonDescription::sizeHint() const
{
    ensurePolished();
    int width = 10, height = 0;
    QStyleOptionButton option;
    initOption(&option);
    addIconSize(option, m_iconPaddingLeft, m_iconPaddingRight, width, height);
    addTextSize(width, height);
    if (!m_description.isEmpty()) {
        const QSize ds = fontMetrics().size(Qt::TextShowMnemonic, m_description);
        width += m_textPadding + ds.width();
        height = qMax(height, ds.height());
    }
    return finishSizeHint(option, width, height);
}
