#pragma once

#include <QLabel>

// A label that paints its text cut with an ellipsis to its current width (right by default;
// Qt::ElideNone paints like a plain QLabel). Layouts give it the width they have: it never
// widens its window for a long text.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    explicit ElidedLabel(const QString& text, QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ElidedLabel(const QString& text, Qt::TextElideMode mode, QWidget* parent = nullptr,
                Qt::WindowFlags flags = Qt::WindowFlags());

    void setText(const QString& text);
    void updateElidedText(int width);

    Qt::TextElideMode elideMode() const { return m_elideMode; }
    QString elidedText() const { return m_elidedText; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Qt::TextElideMode m_elideMode = Qt::ElideRight;
    QString m_elidedText;
};
