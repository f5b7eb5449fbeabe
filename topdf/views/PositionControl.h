#pragma once

#include "shared/records/LayoutSettingsData.h"

#include <QFrame>

class QButtonGroup;

// Where a picture sits on its page: a 3 x 3 grid of check boxes, one checked, numbered row by
// row from the top left (LayoutSettingsData::Position). A user's click reports
// layoutPositionChanged; setPosition reports activated instead, so that loading a task's
// position does not count as an edit.
class PositionControl : public QFrame
{
    Q_OBJECT

public:
    explicit PositionControl(QWidget* parent = nullptr);

    // Checks the box of position id as if clicked; an id without a box does nothing.
    void setPosition(int id);
    // The checked box's position.
    int position() const;

signals:
    void layoutPositionChanged(LayoutSettingsData::Position position);
    void activated(LayoutSettingsData::Position position);

public slots:
    void groupClicked(int id);

private:
    QButtonGroup* m_group;
    bool m_programmatic = false;
};
