#include "StartWindow.h"

#include "Application.h"

#include <QIcon>

StartWindow::StartWindow(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(Application::instance()->productName());
    setWindowIcon(QIcon(QStringLiteral(":/style/images/AppIconPdf256.png")));
    resize(743, 540);
}
