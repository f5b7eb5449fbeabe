#include "topdf/views/PositionControl.h"

#include "ui/kit/StyleNames.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>

PositionControl::PositionControl(QWidget* parent)
    : QFrame(parent)
    , m_group(new QButtonGroup(this))
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(10);
    grid->setHorizontalSpacing(14);
    m_group->setExclusive(true);
    for (int id = 0; id < 9; ++id) {
        auto* box = new QCheckBox(this);
        box->setObjectName(StyleName::checkBoxSettings);
        box->setCursor(Qt::PointingHandCursor);
        grid->addWidget(box, id / 3, id % 3);
        m_group->addButton(box, id);
    }
    // The centre, before the group reports anything.
    m_group->button(LayoutSettingsData::Center)->click();
    connect(m_group, SIGNAL(buttonClicked(int)), this, SLOT(groupClicked(int)));
}

void PositionControl::groupClicked(int id)
{
    const auto position = LayoutSettingsData::Position(id);
    if (!m_programmatic) {
        emit layoutPositionChanged(position);
        return;
    }
    m_programmatic = false;
    emit activated(position);
}

void PositionControl::setPosition(int id)
{
    QAbstractButton* box = m_group->button(id);
    if (!box)
        return;
    m_programmatic = true;
    box->click();
}

int PositionControl::position() const
{
    return m_group->checkedId();
}
