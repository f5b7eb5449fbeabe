#include "PlaceholderTab.h"

PlaceholderTab::PlaceholderTab(QWidget* parent)
    : QFrame(parent)
{
}

void PlaceholderTab::addFiles(const QStringList& files)
{
    m_files += files;
}
