#pragma once

#include <QColor>
#include <QPushButton>
#include <QSize>
#include <QString>

class QStyleOptionButton;

// A push button whose icon, text colour and optional menu icon follow its state (normal, hover,
// pressed, checked, disabled). The style sheet fills the properties with "qproperty-" rules;
// the style draws only the background and frame, the button paints the rest itself.
class Button : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(QString iconNormal READ iconNormal WRITE setIconNormal)
    Q_PROPERTY(QString iconHover READ iconHover WRITE setIconHover)
    Q_PROPERTY(QString iconPressed READ iconPressed WRITE setIconPressed)
    Q_PROPERTY(QString iconChecked READ iconChecked WRITE setIconChecked)
    Q_PROPERTY(QString iconDisabled READ iconDisabled WRITE setIconDisabled)
    Q_PROPERTY(Qt::Alignment iconAlignment READ iconAlignment WRITE setIconAlignment)
    Q_PROPERTY(QColor colorTextNormal READ colorTextNormal WRITE setColorTextNormal)
    Q_PROPERTY(QColor colorTextHover READ colorTextHover WRITE setColorTextHover)
    Q_PROPERTY(QColor colorTextPressed READ colorTextPressed WRITE setColorTextPressed)
    Q_PROPERTY(QColor colorTextChecked READ colorTextChecked WRITE setColorTextChecked)
    Q_PROPERTY(QColor colorTextDisabled READ colorTextDisabled WRITE setColorTextDisabled)
    Q_PROPERTY(int iconPaddingLeft READ iconPaddingLeft WRITE setIconPaddingLeft)
    Q_PROPERTY(int iconPaddingRight READ iconPaddingRight WRITE setIconPaddingRight)
    Q_PROPERTY(QString menuIconNormal READ menuIconNormal WRITE setMenuIconNormal)
    Q_PROPERTY(QString menuIconHover READ menuIconHover WRITE setMenuIconHover)
    Q_PROPERTY(QString menuIconPressed READ menuIconPressed WRITE setMenuIconPressed)
    Q_PROPERTY(QString menuIconChecked READ menuIconChecked WRITE setMenuIconChecked)
    Q_PROPERTY(QString menuIconDisabled READ menuIconDisabled WRITE setMenuIconDisabled)
    Q_PROPERTY(int menuIconPaddingRight READ menuIconPaddingRight WRITE setMenuIconPaddingRight)
    Q_PROPERTY(QSize menuIconSize READ menuIconSize WRITE setMenuIconSize)

public:
    explicit Button(QWidget* parent = nullptr);

    QString iconNormal() const { return m_iconNormal; }
    void setIconNormal(const QString& path) { m_iconNormal = path; }
    QString iconHover() const { return m_iconHover; }
    void setIconHover(const QString& path) { m_iconHover = path; }
    QString iconPressed() const { return m_iconPressed; }
    void setIconPressed(const QString& path) { m_iconPressed = path; }
    QString iconChecked() const { return m_iconChecked; }
    void setIconChecked(const QString& path) { m_iconChecked = path; }
    QString iconDisabled() const { return m_iconDisabled; }
    void setIconDisabled(const QString& path) { m_iconDisabled = path; }

    QColor colorTextNormal() const { return m_colorTextNormal; }
    void setColorTextNormal(const QColor& color) { m_colorTextNormal = color; }
    QColor colorTextHover() const { return m_colorTextHover; }
    void setColorTextHover(const QColor& color) { m_colorTextHover = color; }
    QColor colorTextPressed() const { return m_colorTextPressed; }
    void setColorTextPressed(const QColor& color) { m_colorTextPressed = color; }
    QColor colorTextChecked() const { return m_colorTextChecked; }
    void setColorTextChecked(const QColor& color) { m_colorTextChecked = color; }
    QColor colorTextDisabled() const { return m_colorTextDisabled; }
    void setColorTextDisabled(const QColor& color) { m_colorTextDisabled = color; }

    Qt::Alignment iconAlignment() const { return m_iconAlignment; }
    void setIconAlignment(Qt::Alignment alignment) { m_iconAlignment = alignment; }
    int iconPaddingLeft() const { return m_iconPaddingLeft; }
    void setIconPaddingLeft(int padding) { m_iconPaddingLeft = padding; }
    int iconPaddingRight() const { return m_iconPaddingRight; }
    void setIconPaddingRight(int padding) { m_iconPaddingRight = padding; }

    QString menuIconNormal() const { return m_menuIconNormal; }
    void setMenuIconNormal(const QString& path) { m_menuIconNormal = path; }
    QString menuIconHover() const { return m_menuIconHover; }
    void setMenuIconHover(const QString& path) { m_menuIconHover = path; }
    QString menuIconPressed() const { return m_menuIconPressed; }
    void setMenuIconPressed(const QString& path) { m_menuIconPressed = path; }
    QString menuIconChecked() const { return m_menuIconChecked; }
    void setMenuIconChecked(const QString& path) { m_menuIconChecked = path; }
    QString menuIconDisabled() const { return m_menuIconDisabled; }
    void setMenuIconDisabled(const QString& path) { m_menuIconDisabled = path; }
    int menuIconPaddingRight() const { return m_menuIconPaddingRight; }
    void setMenuIconPaddingRight(int padding) { m_menuIconPaddingRight = padding; }
    QSize menuIconSize() const { return m_menuIconSize; }
    void setMenuIconSize(const QSize& size) { m_menuIconSize = size; }

    QSize sizeHint() const override;

    // The value for the state flags of a style option: hover, then pressed, then checked
    // override the normal value in this order; a disabled button takes the disabled value
    // (for a path only when it is set).
    static QString pathForState(int state, const QString& normal, const QString& hover, const QString& pressed,
                                const QString& checked, const QString& disabled);
    static QColor colorForState(int state, const QColor& normal, const QColor& hover, const QColor& pressed,
                                const QColor& checked, const QColor& disabled);

protected:
    void paintEvent(QPaintEvent* event) override;

    QString iconPath(int state) const;
    QColor textColor(int state) const;
    // Draws the sheet's background and frame for option, without text and focus frame.
    void drawFace(QStyleOptionButton& option, QPainter& painter);
    // The size of "text" as the button lays it out: "XXXX" stands in for an empty text.
    QSize textSize() const;
    // The size-hint steps both button kinds share.
    void addIconSize(const QStyleOptionButton& option, int paddingLeft, int paddingRight, int& width, int& height) const;
    void addTextSize(int& width, int& height) const;
    QSize finishSizeHint(QStyleOptionButton& option, int width, int height) const;

private:
    QString m_iconNormal, m_iconHover, m_iconPressed, m_iconChecked, m_iconDisabled;
    QColor m_colorTextNormal, m_colorTextHover, m_colorTextPressed, m_colorTextChecked, m_colorTextDisabled;
    Qt::Alignment m_iconAlignment;
    int m_iconPaddingLeft = 0;
    int m_iconPaddingRight = 0;
    QString m_menuIconNormal, m_menuIconHover, m_menuIconPressed, m_menuIconChecked, m_menuIconDisabled;
    int m_menuIconPaddingRight = 0;
    QSize m_menuIconSize{-1, -1};
};

// A plain push button that the style sheet draws by its object name, with the pointing-hand
// cursor of everything clickable.
QPushButton* namedButton(const QString& objectName, QWidget* parent);
