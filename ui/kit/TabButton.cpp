#include "ui/kit/TabButton.h"

TabButton::TabButton(QWidget* parent)
    : Button(parent)
{
    connect(this, SIGNAL(clicked()), this, SLOT(onClicked()));
    setCheckable(true);
    connect(this, &QAbstractButton::released, this, [this] { emit beginClicked(m_index); });
}

void TabButton::onClicked()
{
    emit clicked(m_index);
}
