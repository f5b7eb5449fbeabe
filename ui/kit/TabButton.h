#pragma once

#include "ui/kit/Button.h"

// A checkable Button that knows the position of its page in a TabWidget and reports clicks
// with it: beginClicked(index) on release, before the click is handled, then clicked(index).
class TabButton : public Button
{
    Q_OBJECT
public:
    explicit TabButton(QWidget* parent = nullptr);

    int index() const { return m_index; }
    void setIndex(int index) { m_index = index; }

signals:
    void clicked(int index);
    void beginClicked(int index);

private slots:
    void onClicked();

private:
    int m_index = 0;
};
