#include "ui/widgets/DropArea.h"

#include "app/core/FileSystem.h"
#include "ui/kit/Button.h"
#include "ui/kit/StyleNames.h"
#include "ui/widgets/DroppedFiles.h"

#include <QDropEvent>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

DropArea::DropArea(QWidget* parent, OpenFilesDialog openFiles)
    : QFrame(parent)
    , m_filter(QStringLiteral("pdf"))
    , m_openFiles(std::move(openFiles))
{
    setAcceptDrops(true);
    setObjectName(StyleName::tableBox);

    m_addButton = namedButton(StyleName::buttonAddPreview, this);
    m_bigLabel = new QLabel(this);
    m_bigLabel->setObjectName(StyleName::bigLabel);
    m_bigLabel->setAlignment(Qt::AlignCenter);
    m_smallLabel = new QLabel(this);
    m_smallLabel->setObjectName(StyleName::smallLabel);
    m_smallLabel->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* centre = new QFrame(this);
    auto* centreRow = new QHBoxLayout(centre);
    centreRow->setContentsMargins(0, 0, 16, 0);
    centreRow->addStretch();
    centreRow->addWidget(m_addButton, 0, Qt::AlignVCenter);
    auto* captions = new QVBoxLayout;
    captions->setSpacing(0);
    captions->addStretch();
    captions->addWidget(m_bigLabel);
    captions->addWidget(m_smallLabel);
    captions->addStretch();
    centreRow->addLayout(captions);
    centreRow->addStretch();

    m_formatStrip = new QFrame(this);
    m_formatStrip->setFixedHeight(100);
    m_stripRow = new QHBoxLayout(m_formatStrip);

    layout->addStretch();
    layout->addWidget(centre, 0, Qt::AlignHCenter);
    layout->addStretch();
    layout->addWidget(m_formatStrip, 0, Qt::AlignHCenter);

    connect(m_addButton, SIGNAL(clicked()), this, SLOT(buttonAdd()));
    retranslate();
}

void DropArea::setTitle(const QString& title)
{
    m_title = title;
    m_bigLabel->setText(title);
}

void DropArea::addFormat(const QString& text, const QString& iconPath)
{
    auto* tile = new QFrame(m_formatStrip);
    auto* column = new QVBoxLayout(tile);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* icon = new QLabel(tile);
    const QPixmap picture(iconPath);
    icon->setPixmap(picture);
    icon->resize(picture.size());
    auto* caption = new QLabel(text, tile);
    caption->setObjectName(StyleName::descriptionFormat);
    column->addWidget(icon, 0, Qt::AlignHCenter);
    column->addWidget(caption, 0, Qt::AlignHCenter);
    column->addStretch();
    m_stripRow->addWidget(tile);
}

void DropArea::buttonAdd()
{
    const QString caption = tr("Select one or more files to open");
    const QString folder = FileSystem::desktopFolder();
    const QStringList files = m_openFiles ? m_openFiles(this, caption, folder, m_filter)
                                          : QFileDialog::getOpenFileNames(this, caption, folder, m_filter);
    emit droppedFiles(files, Chosen);
}

void DropArea::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    m_formatStrip->setFixedWidth(width());
}

void DropArea::dragEnterEvent(QDragEnterEvent* event)
{
    DroppedFiles::acceptUriList(event);
}

void DropArea::dragMoveEvent(QDragMoveEvent* event)
{
    event->acceptProposedAction();
}

void DropArea::dragLeaveEvent(QDragLeaveEvent* event)
{
    event->accept();
}

void DropArea::dropEvent(QDropEvent* event)
{
    const QStringList paths = DroppedFiles::localPaths(
        event->mimeData(), [this](const QString& suffix) { return m_suffixes.contains(suffix, Qt::CaseInsensitive); });
    if (!paths.isEmpty())
        emit droppedFiles(paths, Dropped);
}

void DropArea::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void DropArea::retranslate()
{
    m_bigLabel->setText(m_title.isEmpty() ? tr("Add file") : m_title);
    m_smallLabel->setText(tr("or drag & drop"));
}
