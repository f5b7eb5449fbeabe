#include "ui/kit/ElidedLabel.h"

#include <QPainter>
#include <QResizeEvent>

ElidedLabel::ElidedLabel(QWidget* parent, Qt::WindowFlags flags)
    : QLabel(parent, flags)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent, Qt::WindowFlags flags)
    : QLabel(text, parent, flags)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

ElidedLabel::ElidedLabel(const QString& text, Qt::TextElideMode mode, QWidget* parent, Qt::WindowFlags flags)
    : QLabel(text, parent, flags)
    , m_elideMode(mode)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setText(const QString& text)
{
    QLabel::setText(text);
    updateElidedText(width());
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::updateElidedText(int width)
{
    m_elidedText = fontMetrics().elidedText(text(), m_elideMode, width, Qt::TextShowMnemonic);
}

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    updateElidedText(event->size().width());
}

void ElidedLabel::paintEvent(QPaintEvent* event)
{
    if (m_elideMode == Qt::ElideNone) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawText(QRect(0, 0, width(), height()), int(alignment()), m_elidedText);
}
