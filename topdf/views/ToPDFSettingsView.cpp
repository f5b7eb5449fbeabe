#include "topdf/views/ToPDFSettingsView.h"

#include "topdf/model/ToPdfFiles.h"
#include "topdf/views/PositionControl.h"
#include "topdf/views/PreviewControl.h"
#include "ui/kit/Button.h"
#include "ui/kit/Style.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/TabButton.h"
#include "ui/kit/TabWidget.h"
#include "ui/widgets/MessageView.h"
#include "ui/widgets/PanelCommands.h"
#include "ui/widgets/TableHeader.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegExpValidator>
#include <QScopedPointer>
#include <QVBoxLayout>

namespace {

const char* const context = "ToPDFSettingsView";

// The items of a layout combo: text and the LayoutSettingsData value it stands for.
struct ComboItem
{
    const char* text;
    int value;
};

const ComboItem imageSizes[] = {{QT_TRANSLATE_NOOP("ToPDFSettingsView", "Original"), LayoutSettingsData::Original},
                                {QT_TRANSLATE_NOOP("ToPDFSettingsView", "Scale to fit"), LayoutSettingsData::ScaleToFit}};
const ComboItem pageSizes[] = {{QT_TRANSLATE_NOOP("ToPDFSettingsView", "Letter"), LayoutSettingsData::Letter},
                               {QT_TRANSLATE_NOOP("ToPDFSettingsView", "A3"), LayoutSettingsData::A3},
                               {QT_TRANSLATE_NOOP("ToPDFSettingsView", "A4"), LayoutSettingsData::A4},
                               {QT_TRANSLATE_NOOP("ToPDFSettingsView", "A5"), LayoutSettingsData::A5},
                               {QT_TRANSLATE_NOOP("ToPDFSettingsView", "B5"), LayoutSettingsData::B5},
                               {QT_TRANSLATE_NOOP("ToPDFSettingsView", "Fit image"), LayoutSettingsData::FitImage}};
const ComboItem margins[] = {{QT_TRANSLATE_NOOP("ToPDFSettingsView", "None"), LayoutSettingsData::NoMargin},
                             {QT_TRANSLATE_NOOP("ToPDFSettingsView", "Small (1 cm)"), LayoutSettingsData::Small},
                             {QT_TRANSLATE_NOOP("ToPDFSettingsView", "Big (2 cm)"), LayoutSettingsData::Big}};
const ComboItem orientations[] = {{QT_TRANSLATE_NOOP("ToPDFSettingsView", "Portrait"), LayoutSettingsData::Portrait},
                                  {QT_TRANSLATE_NOOP("ToPDFSettingsView", "Landscape"), LayoutSettingsData::Landscape}};

template <size_t N>
void fill(QComboBox* combo, const ComboItem (&items)[N])
{
    combo->clear();
    for (const ComboItem& item : items)
        combo->addItem(QCoreApplication::translate(context, item.text), item.value);
}

void select(QComboBox* combo, int value)
{
    combo->setCurrentIndex(combo->findData(value));
}

QLabel* caption(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(StyleName::title);
    label->setFixedHeight(39);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit* inputEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(StyleName::inputEdit);
    edit->setFixedSize(387, 37);
    return edit;
}

QFormLayout* formLayout(QWidget* frame, int horizontalSpacing, int verticalSpacing)
{
    auto* form = new QFormLayout(frame);
    form->setContentsMargins(0, 0, 0, 0);
    form->setSpacing(0);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setHorizontalSpacing(horizontalSpacing);
    form->setVerticalSpacing(verticalSpacing);
    return form;
}

} // namespace

ToPDFSettingsView::ToPDFSettingsView(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(StyleName::settingsViewContent);

    m_closeButton = namedButton(StyleName::buttonCloseSettings, this);
    m_backButton = namedButton(StyleName::buttonNavigateBack, this);
    m_caption = new QLabel(this);
    m_caption->setObjectName(StyleName::settingsLabel);
    m_tabs = new TabWidget(StyleName::fileSettingsTab, StyleName::fileSettingsTabBar, this);
    m_fileTab = new TabButton(m_tabs);
    m_fileTab->setObjectName(StyleName::tabButtonFileSettings);
    m_fileTab->setMinimumWidth(117);
    m_layoutTab = new TabButton(m_tabs);
    m_layoutTab->setObjectName(StyleName::tabButtonLayoutSettings);
    m_layoutTab->setMinimumWidth(143);
    m_tabs->insertTab(buildFilePage(), FilePage, m_fileTab);
    m_layoutPageWidget = buildLayoutPage();
    m_tabs->insertTab(m_layoutPageWidget, LayoutPage, m_layoutTab);
    m_tabs->setCurrentIndex(FilePage);

    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(14, 0, 14, 0);
    inner->setSpacing(0);
    inner->addWidget(m_closeButton, 0, Qt::AlignRight);
    inner->addSpacing(8);
    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    header->addWidget(m_backButton);
    header->addWidget(m_caption);
    header->addStretch();
    inner->addLayout(header);
    inner->addSpacing(6);
    inner->addWidget(m_tabs, 1);

    auto* panel = new QVBoxLayout(this);
    panel->setContentsMargins(0, 1, 0, 0);
    panel->setSpacing(0);
    panel->addLayout(inner, 1);
    panel->addSpacing(5);
    panel->addWidget(buildCommandBox());

    retranslate();
    makeConnections();
    fillCombos();
}

QWidget* ToPDFSettingsView::buildFilePage()
{
    auto* page = new QFrame;
    page->setObjectName(StyleName::settingBox);
    auto* layout = new QVBoxLayout(page);
    layout->setAlignment(Qt::AlignRight);
    layout->setContentsMargins(0, 15, 16, 0);
    layout->setSpacing(0);
    auto* formFrame = new QFrame(page);
    formFrame->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    QFormLayout* form = formLayout(formFrame, 11, 16);

    m_fileNameBox = new QFrame(formFrame);
    m_fileNameBox->setObjectName(StyleName::inputBox);
    m_fileNameBox->setFixedSize(387, 37);
    auto* nameRow = new QHBoxLayout(m_fileNameBox);
    // The name's text starts where the other edits' texts do.
    nameRow->setContentsMargins(0, 2, 12, 2);
    nameRow->setSpacing(0);
    m_fileNameEdit = new QLineEdit(m_fileNameBox);
    m_fileNameEdit->setObjectName(StyleName::cleanEdit);
    // Words of characters a file name may hold, single blanks or runs of them between words.
    m_fileNameEdit->setValidator(
        new QRegExpValidator(QRegExp(QStringLiteral("^[^ \\/:*?<>|]+([ ]+[^ \\/:*?<>|]+)*$")), m_fileNameEdit));
    m_extensionLabel = new QLabel(QStringLiteral(".pdf"), m_fileNameBox);
    m_extensionLabel->setObjectName(StyleName::labelExtension);
    nameRow->addWidget(m_fileNameEdit, 1);
    nameRow->addWidget(m_extensionLabel);

    m_titleEdit = inputEdit(formFrame);
    m_publisherEdit = inputEdit(formFrame);
    m_passwordEdit = inputEdit(formFrame);
    m_fileNameLabel = caption(formFrame);
    m_titleLabel = caption(formFrame);
    m_publisherLabel = caption(formFrame);
    m_passwordLabel = caption(formFrame);
    for (QLabel* label : {m_fileNameLabel, m_titleLabel, m_publisherLabel, m_passwordLabel})
        label->setFixedWidth(100);
    form->addRow(m_fileNameLabel, m_fileNameBox);
    form->addRow(m_titleLabel, m_titleEdit);
    form->addRow(m_publisherLabel, m_publisherEdit);
    form->addRow(m_passwordLabel, m_passwordEdit);
    layout->addWidget(formFrame);
    layout->addStretch();
    return page;
}

QWidget* ToPDFSettingsView::buildLayoutPage()
{
    auto* page = new QFrame;
    page->setObjectName(StyleName::settingBox);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 13, 16, 0);
    layout->setSpacing(0);

    auto* itemDelegate = new ComboBoxItemDelegate(this);
    auto combo = [page, itemDelegate] {
        auto* box = new QComboBox(page);
        box->setFixedSize(135, 39);
        box->setItemDelegate(itemDelegate);
        return box;
    };
    auto layoutCaption = [page] {
        QLabel* label = caption(page);
        label->setMaximumWidth(180);
        return label;
    };
    auto column = [page](QFormLayout** form, bool stretch) {
        auto* frame = new QFrame(page);
        auto* columnLayout = new QVBoxLayout(frame);
        columnLayout->setContentsMargins(0, 0, 0, 0);
        columnLayout->setSpacing(0);
        auto* formFrame = new QFrame(frame);
        *form = formLayout(formFrame, 15, 15);
        columnLayout->addWidget(formFrame, 1, Qt::AlignRight);
        if (stretch)
            columnLayout->addStretch();
        return frame;
    };

    m_imageSizeCombo = combo();
    m_pageSizeCombo = combo();
    m_marginCombo = combo();
    m_rotateCombo = combo();
    m_orientationCombo = combo();
    m_position = new PositionControl(page);
    m_position->setFixedSize(90, 83);
    m_preview = new PreviewControl(page);
    m_imageSizeLabel = layoutCaption();
    m_pageSizeLabel = layoutCaption();
    m_marginLabel = layoutCaption();
    m_positionLabel = layoutCaption();
    m_rotateLabel = layoutCaption();
    m_orientationLabel = layoutCaption();
    m_previewLabel = layoutCaption();

    QFormLayout* left = nullptr;
    QFormLayout* right = nullptr;
    layout->addWidget(column(&left, true));
    layout->addSpacing(5);
    layout->addWidget(column(&right, false));
    left->addRow(m_imageSizeLabel, m_imageSizeCombo);
    left->addRow(m_pageSizeLabel, m_pageSizeCombo);
    left->addRow(m_marginLabel, m_marginCombo);
    left->addRow(m_positionLabel, m_position);
    right->addRow(m_rotateLabel, m_rotateCombo);
    right->addRow(m_orientationLabel, m_orientationCombo);
    right->addRow(m_previewLabel, m_preview);
    return page;
}

QWidget* ToPDFSettingsView::buildCommandBox()
{
    const PanelCommands commands = makePanelCommands(this, StyleName::settingsViewCommadBox, 14, 152);
    m_cancelButton = commands.cancelButton;
    m_saveButton = commands.saveButton;
    return commands.box;
}

void ToPDFSettingsView::makeConnections()
{
    connect(m_closeButton, &QPushButton::clicked, this, &ToPDFSettingsView::cancel);
    connect(m_backButton, &QPushButton::clicked, this, &ToPDFSettingsView::cancel);
    connect(m_tabs, &TabWidget::beginIndexChanged, this, &ToPDFSettingsView::onBeginPageChange);
    connect(m_tabs, &TabWidget::currentIndexChanged, this, [this](int index) {
        if (index == FilePage)
            onFileSettingsChanged();
        else
            onLayoutSettingsChanged();
    });
    connect(m_pageSizeCombo, SIGNAL(activated(int)), this, SLOT(onPageSizeChanged(int)));
    connect(m_orientationCombo, SIGNAL(activated(int)), this, SLOT(onOrientationChanged(int)));
    connect(m_marginCombo, SIGNAL(activated(int)), this, SLOT(onMarginChanged(int)));
    connect(m_rotateCombo, SIGNAL(activated(int)), this, SLOT(onRotateChanged(int)));
    connect(m_imageSizeCombo, SIGNAL(activated(int)), this, SLOT(onImageSizeChanged(int)));
    // Only the user's clicks change the buffer; a loaded position reports activated().
    connect(m_position, &PositionControl::layoutPositionChanged, &m_layout, &LayoutSettings::setPosition);
    connect(m_saveButton, &QPushButton::clicked, this, &ToPDFSettingsView::onButtonSave);
    connect(m_cancelButton, &QPushButton::clicked, this, &ToPDFSettingsView::onButtonCancel);
    connect(m_fileNameEdit, &QLineEdit::textEdited, &m_file, &FileSettings::setFileName);
    connect(m_titleEdit, &QLineEdit::textEdited, &m_file, &FileSettings::setTitle);
    connect(m_publisherEdit, &QLineEdit::textEdited, &m_file, &FileSettings::setPublisher);
    connect(m_passwordEdit, &QLineEdit::textEdited, this, &ToPDFSettingsView::onEditPasswordChanged);
    connect(&m_file, SIGNAL(changed()), this, SLOT(onFileSettingsChanged()));
    connect(&m_layout, &LayoutSettings::changed, this, &ToPDFSettingsView::onLayoutSettingsChanged);
}

void ToPDFSettingsView::retranslate()
{
    m_fileTab->setText(tr("File settings"));
    m_layoutTab->setText(tr("Layout settings"));
    m_fileNameLabel->setText(tr("Filename"));
    m_titleLabel->setText(tr("Title"));
    m_publisherLabel->setText(tr("Publisher"));
    m_passwordLabel->setText(tr("Password"));
    m_imageSizeLabel->setText(tr("Image Size"));
    m_pageSizeLabel->setText(tr("Page Size"));
    m_marginLabel->setText(tr("Margin"));
    m_positionLabel->setText(tr("Position"));
    m_rotateLabel->setText(tr("Rotate"));
    m_orientationLabel->setText(tr("Orientation"));
    m_previewLabel->setText(tr("Preview"));
    // A word-wrapped caption asks for less than its width: a word that fits stays on its line.
    for (QLabel* label : {m_imageSizeLabel, m_pageSizeLabel, m_marginLabel, m_positionLabel, m_rotateLabel,
                          m_orientationLabel, m_previewLabel}) {
        label->ensurePolished();
        label->setMinimumWidth(std::min(label->maximumWidth(), label->fontMetrics().horizontalAdvance(label->text()) + 1));
    }
}

void ToPDFSettingsView::fillCombos()
{
    fill(m_imageSizeCombo, imageSizes);
    select(m_imageSizeCombo, LayoutSettingsData::ScaleToFit);
    fill(m_pageSizeCombo, pageSizes);
    fill(m_marginCombo, margins);
    m_rotateCombo->clear();
    for (int degrees : {0, 90, 180, 270})
        m_rotateCombo->addItem(QStringLiteral("%1%2").arg(degrees).arg(QChar(0x00B0)), degrees);
    fill(m_orientationCombo, orientations);
}

void ToPDFSettingsView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        fillCombos();
        // The refilled combos show the values being edited again.
        showLayoutSettings();
        onFileSettingsChanged();
        onLayoutSettingsChanged();
    }
    QFrame::changeEvent(event);
}

void ToPDFSettingsView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        cancel();
        return;
    }
    QFrame::keyPressEvent(event);
}

int ToPDFSettingsView::currentPage() const
{
    return m_tabs->currentIndex();
}

void ToPDFSettingsView::setLayoutPageEnabled(bool enabled)
{
    m_layoutTab->setEnabled(enabled);
    m_layoutPageWidget->setEnabled(enabled);
}

void ToPDFSettingsView::editTask(int id, ToPDFTask task, int editMode)
{
    m_id = id;
    m_file.load(task.fileSettings);
    m_layout.load(task.layoutSettings);
    m_editMode = editMode;
    m_fileSettingsEnabled = task.fileSettingsEnabled;

    m_caption->ensurePolished();
    const QString name = m_caption->fontMetrics().elidedText(task.file.fileName(), Qt::ElideMiddle, 200);
    QString text = tr("%1 - PDF Settings").arg(name);
    if (editMode == 1 || editMode == 2) {
        text = editMode == 1 ? tr("For ALL - PDF Settings") : tr("General - PDF Settings");
        m_tabs->setCurrentIndex(FilePage);
        setLayoutPageEnabled(true);
    } else if (editMode == 0) {
        const bool image = ToPdfFiles::isImage(task.file.filePath());
        // A merged task has no file settings of its own: its layout is what can be edited.
        if (!m_fileSettingsEnabled)
            m_tabs->setCurrentIndex(LayoutPage);
        if (!image)
            m_tabs->setCurrentIndex(FilePage);
        setLayoutPageEnabled(image);
    }
    m_caption->setText(text);
    m_preview->loadImage(task.file.filePath());
    showFileSettings();
    onFileSettingsChanged();
    showLayoutSettings();
    onLayoutSettingsChanged();
}

void ToPDFSettingsView::showFileSettings()
{
    const FileSettingsData data = m_file.data();
    m_fileNameEdit->setText(data.fileName);
    m_passwordEdit->setText(data.password);
    m_titleEdit->setText(data.title);
    m_publisherEdit->setText(data.publisher);
    // A long name shows its beginning.
    for (QLineEdit* edit : {m_fileNameEdit, m_passwordEdit, m_titleEdit, m_publisherEdit})
        edit->setCursorPosition(0);
}

void ToPDFSettingsView::showLayoutSettings()
{
    const LayoutSettingsData data = m_layout.data();
    select(m_imageSizeCombo, data.imageSize);
    select(m_pageSizeCombo, data.pageSize);
    select(m_marginCombo, data.margin);
    select(m_rotateCombo, data.rotate);
    select(m_orientationCombo, data.orientation);
    m_position->setPosition(data.position);
}

void ToPDFSettingsView::onFileSettingsChanged()
{
    if (m_tabs->currentIndex() != FilePage)
        return;
    const bool nameAndTitle = m_editMode == 1 ? false : m_fileSettingsEnabled;
    // For all files the name and the title stay each file's own; publisher and password apply.
    const bool properties = m_editMode == 1 ? true : m_fileSettingsEnabled;
    for (QWidget* field : std::initializer_list<QWidget*>{m_fileNameBox, m_fileNameEdit, m_titleEdit})
        field->setEnabled(nameAndTitle);
    m_publisherEdit->setEnabled(properties);
    m_passwordEdit->setEnabled(properties);

    m_saveButton->setText(tr("SAVE FILE SETTINGS"));
    m_cancelButton->setText(m_file.isModified() ? tr("CANCEL") : tr("CLOSE"));
    m_saveButton->setEnabled(m_file.isModified());
    for (QWidget* widget : std::initializer_list<QWidget*>{m_saveButton, m_titleEdit, m_fileNameEdit, m_publisherEdit, m_passwordEdit})
        repolish(widget);
}

void ToPDFSettingsView::onLayoutSettingsChanged()
{
    if (m_tabs->currentIndex() != LayoutPage)
        return;
    m_preview->setLayoutSettings(m_layout.data());
    m_saveButton->setText(tr("APPLY LAYOUT SETTINGS"));
    m_cancelButton->setText(m_layout.isModified() ? tr("CANCEL") : tr("CLOSE"));
    m_saveButton->setEnabled(m_layout.isModified());
    repolish(m_saveButton);
}

void ToPDFSettingsView::onPageSizeChanged(int index)
{
    m_layout.setPageSize(m_pageSizeCombo->itemData(index).toInt());
}

void ToPDFSettingsView::onOrientationChanged(int index)
{
    m_layout.setOrientation(m_orientationCombo->itemData(index).toInt());
}

void ToPDFSettingsView::onMarginChanged(int index)
{
    m_layout.setMargin(m_marginCombo->itemData(index).toInt());
}

void ToPDFSettingsView::onRotateChanged(int index)
{
    m_layout.setRotate(m_rotateCombo->itemData(index).toInt());
}

void ToPDFSettingsView::onImageSizeChanged(int index)
{
    m_layout.setImageSize(m_imageSizeCombo->itemData(index).toInt());
}

void ToPDFSettingsView::onEditPasswordChanged(QString text)
{
    m_file.setPassword(text);
}

void ToPDFSettingsView::onButtonSave()
{
    if (m_tabs->currentIndex() == FilePage)
        saveFileSettings();
    else
        saveLayoutSettings();
}

void ToPDFSettingsView::saveFileSettings()
{
    // A single file and the merged file need a name; for all files the names stay as they are.
    const QString name = m_file.data().fileName;
    if (m_editMode != 1 && name.trimmed().isEmpty()) {
        QScopedPointer<MessageView> message(MessageView::createOkMessage(
            tr("Validation error", "msg_validate_title"), tr("Check input field", "msg_validate_message"), window()));
        message->exec();
        return;
    }
    // The name may still end in the blanks typed before a next word.
    if (m_editMode != 1 && name != name.trimmed()) {
        m_file.setFileName(name.trimmed());
        m_fileNameEdit->setText(name.trimmed());
    }
    m_file.save();
    emit updateFileSettings(m_id, m_file.data(), m_editMode);
}

void ToPDFSettingsView::saveLayoutSettings()
{
    m_layout.save();
    emit updateLayoutSettings(m_id, m_layout.data(), m_editMode);
}

void ToPDFSettingsView::onButtonCancel()
{
    if (m_tabs->currentIndex() == FilePage) {
        if (!m_file.isModified()) {
            emit onHideWindow();
            return;
        }
        m_file.revert();
        showFileSettings();
        return;
    }
    if (!m_layout.isModified()) {
        emit onHideWindow();
        return;
    }
    m_layout.revert();
    showLayoutSettings();
}

void ToPDFSettingsView::cancel()
{
    emit onHideWindow();
}

void ToPDFSettingsView::onBeginPageChange(int index)
{
    if (index == LayoutPage && m_file.isModified()) {
        if (askToSave(tr("file settings"))) {
            saveFileSettings();
        } else {
            m_file.revert();
            showFileSettings();
        }
    } else if (index == FilePage && m_layout.isModified()) {
        if (askToSave(tr("layout settings"))) {
            saveLayoutSettings();
        } else {
            m_layout.revert();
            showLayoutSettings();
        }
    }
}

bool ToPDFSettingsView::askToSave(const QString& what)
{
    // Parented to the window: inside the dark panel the style sheet would give it the panel's
    // white texts.
    MessageView question(tr("The %1 have been modified").arg(what), tr("Save changes?"), window());
    for (auto [name, text, role] : {std::make_tuple(StyleName::buttonYes, tr("YES"), QDialogButtonBox::YesRole),
                                    std::make_tuple(StyleName::buttonCancel, tr("NO"), QDialogButtonBox::NoRole)}) {
        auto* button = new QPushButton(text, &question);
        button->setObjectName(name);
        button->setMinimumWidth(75);
        button->setFixedHeight(42);
        question.addButton(button, role);
    }
    return question.exec() == QDialogButtonBox::YesRole;
}
