#pragma once

#include "ui/kit/Button.h"

// A Button that draws a second, differently coloured text (the description) in front of its
// main text, for instance "Last conversion:" before "Open folder". Its icon paddings are its own.
class ButtonDescription : public Button
{
    Q_OBJECT
    Q_PROPERTY(QColor colorDescriptionNormal READ colorDescriptionNormal WRITE setColorDescriptionNormal)
    Q_PROPERTY(QColor colorDescriptionHover READ colorDescriptionHover WRITE setColorDescriptionHover)
    Q_PROPERTY(QColor colorDescriptionPressed READ colorDescriptionPressed WRITE setColorDescriptionPressed)
    Q_PROPERTY(QColor colorDescriptionChecked READ colorDescriptionChecked WRITE setColorDescriptionChecked)
    Q_PROPERTY(QColor colorDescriptionDisabled READ colorDescriptionDisabled WRITE setColorDescriptionDisabled)
    Q_PROPERTY(QString description READ description WRITE setDescription)
    Q_PROPERTY(int textPadding READ textPadding WRITE setTextPadding)
    Q_PROPERTY(int iconPaddingLeft READ iconPaddingLeft WRITE setIconPaddingLeft)
    Q_PROPERTY(int iconPaddingRight READ iconPaddingRight WRITE setIconPaddingRight)

public:
    explicit ButtonDescription(QWidget* parent = nullptr);

    QString description() const { return m_description; }
    void setDescription(const QString& text) { m_description = text; }
    int textPadding() const { return m_textPadding; }
    void setTextPadding(int padding) { m_textPadding = padding; }

    QColor colorDescriptionNormal() const { return m_colorDescriptionNormal; }
    void setColorDescriptionNormal(const QColor& color) { m_colorDescriptionNormal = color; }
    QColor colorDescriptionHover() const { return m_colorDescriptionHover; }
    void setColorDescriptionHover(const QColor& color) { m_colorDescriptionHover = color; }
    QColor colorDescriptionPressed() const { return m_colorDescriptionPressed; }
    void setColorDescriptionPressed(const QColor& color) { m_colorDescriptionPressed = color; }
    QColor colorDescriptionChecked() const { return m_colorDescriptionChecked; }
    void setColorDescriptionChecked(const QColor& color) { m_colorDescriptionChecked = color; }
    QColor colorDescriptionDisabled() const { return m_colorDescriptionDisabled; }
    void setColorDescriptionDisabled(const QColor& color) { m_colorDescriptionDisabled = color; }

    int iconPaddingLeft() const { return m_iconPaddingLeft; }
    void setIconPaddingLeft(int padding) { m_iconPaddingLeft = padding; }
    int iconPaddingRight() const { return m_iconPaddingRight; }
    void setIconPaddingRight(int padding) { m_iconPaddingRight = padding; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void initOption(QStyleOptionButton* option) const;

    QString m_description;
    int m_textPadding = 5;
    QColor m_colorDescriptionNormal, m_colorDescriptionHover, m_colorDescriptionPressed, m_colorDescriptionChecked,
        m_colorDescriptionDisabled;
    int m_iconPaddingLeft = 0;
    int m_iconPaddingRight = 0;
};
