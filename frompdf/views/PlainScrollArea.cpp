#include "frompdf/views/PlainScrollArea.h"

#include <QScrollArea>
#include <QScrollBar>

QScrollArea* makePlainScrollArea(QWidget* parent, const QString& name, const QString& verticalBarName)
{
    auto* area = new QScrollArea(parent);
    area->setObjectName(name);
    area->setFrameShape(QFrame::NoFrame);
    area->setFrameShadow(QFrame::Plain);
    area->setWidgetResizable(true);
    auto* vertical = new QScrollBar(Qt::Vertical, area);
    vertical->setObjectName(verticalBarName);
    area->setVerticalScrollBar(vertical);
    return area;
}
