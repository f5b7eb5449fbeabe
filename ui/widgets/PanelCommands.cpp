#include "ui/widgets/PanelCommands.h"

#include "ui/kit/Button.h"
#include "ui/kit/StyleNames.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>

PanelCommands makePanelCommands(QWidget* panel, const QString& boxName, int sideMargin, int saveMinimumWidth)
{
    PanelCommands commands;
    commands.box = new QFrame(panel);
    commands.box->setObjectName(boxName);
    commands.box->setFixedHeight(67);
    auto* layout = new QHBoxLayout(commands.box);
    layout->setContentsMargins(sideMargin, 1, sideMargin, 0);
    commands.cancelButton = namedButton(StyleName::buttonCancel, commands.box);
    commands.cancelButton->setFixedHeight(42);
    commands.cancelButton->setMinimumWidth(75);
    commands.saveButton = namedButton(StyleName::buttonSaveSettings, commands.box);
    commands.saveButton->setFixedHeight(42);
    commands.saveButton->setMinimumWidth(saveMinimumWidth);
    layout->addWidget(commands.cancelButton);
    layout->addStretch();
    layout->addWidget(commands.saveButton);
    return commands;
}
