#pragma once

#include <QString>

class QFrame;
class QPushButton;
class QWidget;

// The box at the foot of the side panels that the main window slides in (page ranges, PDF
// settings): 67 px high, the cancel button at the left and the save button at the right, both
// 42 px high. The panel sets their texts and connects them.
struct PanelCommands
{
    QFrame* box;
    QPushButton* cancelButton;
    QPushButton* saveButton;
};

// boxName is the box's object name for the style sheet; sideMargin the space left and right of
// the buttons.
PanelCommands makePanelCommands(QWidget* panel, const QString& boxName, int sideMargin, int saveMinimumWidth);
