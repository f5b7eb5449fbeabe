#include "ui/mainwindow/SettingsView.h"

#include "app/Application.h"
#include "app/core/ImageQuality.h"
#include "app/core/Settings.h"
#include "app/core/StoredValues.h"
#include "app/core/ToolPaths.h"
#include "resources/translations/LanguageName.h"
#include "services/metrics/MetricSender.h"
#include "ui/kit/StyleNames.h"
#include "ui/mainwindow/AnalyticsSwitch.h"
#include "ui/savefolder/SaveFolderDelegate.h"
#include "ui/savefolder/SaveFolderModel.h"
#include "ui/widgets/TableHeader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSettings>
#include <QShowEvent>
#include <QTranslator>
#include <QVBoxLayout>

using namespace StoredValues;

namespace {

const QSize fieldSize(354, 37);

QLabel* rowLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(StyleName::title);
    label->setFixedHeight(42);
    label->setFixedWidth(160);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return label;
}

QComboBox* fieldCombo(QWidget* parent, bool itemDelegate)
{
    auto* combo = new QComboBox(parent);
    combo->setFixedSize(fieldSize);
    if (itemDelegate)
        combo->setItemDelegate(new ComboBoxItemDelegate(combo));
    return combo;
}

QHBoxLayout* row(const QMargins& margins)
{
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(margins);
    return layout;
}

} // namespace

SettingsView::SettingsView(QWidget* parent)
    : QFrame(parent, Qt::FramelessWindowHint)
    , m_analytics(new AnalyticsSwitch(this))
{
    setObjectName(StyleName::settingsViewContent);
    buildLayout();
    fillLanguages();
    fillOcrLanguages();

    connect(m_saveButton, SIGNAL(clicked()), this, SLOT(saveSettings()));
    connect(m_closeButton, SIGNAL(clicked()), this, SLOT(cancel()));
    connect(m_backButton, SIGNAL(clicked()), this, SLOT(cancel()));
    connect(m_cancelButton, SIGNAL(clicked()), this, SLOT(cancel()));
    connect(m_saveCombo, SIGNAL(activated(int)), this, SLOT(onChangeSaveMode(int)));

    retranslate();
}

void SettingsView::buildLayout()
{
    m_saveLabel = rowLabel(this);
    m_saveCombo = fieldCombo(this, false);
    m_saveModel = new SaveFolderModel(m_saveCombo);
    m_saveCombo->setItemDelegate(new SaveFolderDelegate(m_saveCombo));
    m_saveCombo->setModel(m_saveModel);
    m_saveCombo->setModelColumn(SaveFolderModel::ShownColumn);
    m_languageLabel = rowLabel(this);
    m_languageCombo = fieldCombo(this, true);
    m_ocrLabel = rowLabel(this);
    m_ocrCombo = fieldCombo(this, true);
    m_publisherLabel = rowLabel(this);
    m_publisherEdit = new QLineEdit(this);
    m_publisherEdit->setObjectName(StyleName::inputEdit);
    m_publisherEdit->setFixedSize(fieldSize);
    m_updateCheck = new QCheckBox(this);
    m_updateCheck->setObjectName(StyleName::settingsCheckbox);
    m_analyticsCheck = new QCheckBox(this);
    m_analyticsCheck->setObjectName(StyleName::settingsCheckbox);
    m_qualityLabel = rowLabel(this);
    m_qualityCombo = fieldCombo(this, true);
    m_titleLabel = new QLabel(this);
    m_titleLabel->setObjectName(StyleName::settingsLabel);
    m_backButton = new QPushButton(this);
    m_backButton->setObjectName(StyleName::buttonNavigateBack);
    m_saveButton = new QPushButton(this);
    m_saveButton->setObjectName(StyleName::buttonSaveSettings);
    m_saveButton->setFixedHeight(42);
    m_saveButton->setMinimumWidth(116);
    m_cancelButton = new QPushButton(this);
    m_cancelButton->setObjectName(StyleName::buttonCancel);
    m_cancelButton->setFixedHeight(42);
    m_cancelButton->setMinimumWidth(75);
    m_closeButton = new QPushButton(this);
    m_closeButton->setObjectName(StyleName::buttonCloseSettings);
    m_versionLabel = new QLabel(this);
    m_versionLabel->setObjectName(StyleName::labelVersion);

    auto* header = row(QMargins(20, 0, 20, 0));
    header->addStretch();
    header->addWidget(m_versionLabel);
    header->addStretch();
    header->addWidget(m_closeButton);

    auto* titleRow = row(QMargins(20, 0, 20, 0));
    titleRow->addWidget(m_backButton);
    titleRow->addWidget(m_titleLabel);
    titleRow->addStretch();

    auto* formFrame = new QFrame(this);
    auto* form = new QFormLayout(formFrame);
    form->setSpacing(0);
    form->setContentsMargins(0, 0, 0, 0);
    form->setVerticalSpacing(12);
    form->setHorizontalSpacing(8);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->addRow(m_publisherLabel, m_publisherEdit);
    form->addRow(m_qualityLabel, m_qualityCombo);
    form->addRow(m_ocrLabel, m_ocrCombo);
    auto* separator = new QFrame(formFrame);
    separator->setFixedHeight(1);
    form->addRow(separator);
    form->addRow(m_saveLabel, m_saveCombo);
    form->addRow(m_languageLabel, m_languageCombo);
    form->addRow(new QLabel(formFrame), m_updateCheck);
    form->addRow(new QLabel(formFrame), m_analyticsCheck);

    auto* formRow = row(QMargins(0, 0, 20, 0));
    formRow->setSpacing(0);
    formRow->addStretch();
    formRow->addWidget(formFrame);

    auto* content = new QVBoxLayout;
    content->setContentsMargins(0, 0, 0, 0);
    content->addLayout(header);
    content->addSpacing(6);
    content->addLayout(titleRow);
    content->addSpacing(6);
    content->addLayout(formRow);
    content->addStretch();

    auto* commandBox = new QFrame(this);
    commandBox->setObjectName(StyleName::settingsViewCommadBox);
    commandBox->setFixedHeight(67);
    auto* commands = new QHBoxLayout(commandBox);
    commands->setContentsMargins(20, 1, 20, 0);
    commands->addWidget(m_cancelButton);
    commands->addStretch();
    commands->addWidget(m_saveButton);

    auto* panel = new QVBoxLayout(this);
    panel->setContentsMargins(0, 1, 0, 0);
    panel->addLayout(content);
    panel->addStretch();
    panel->addWidget(commandBox);
}

// One entry per installed translation, named in its own language; fixed for the panel's life.
void SettingsView::fillLanguages()
{
    const QString folder = ToolPaths::path(ToolPaths::Translations);
    const QStringList files = QDir(folder).entryList({QStringLiteral("quillpress_*.qm")}, QDir::Files,
                                                     QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files) {
        QString code = file.mid(file.indexOf(QLatin1Char('_')) + 1);
        code.chop(3);
        QTranslator translator;
        translator.load(file, folder);
        m_languageCombo->addItem(translator.translate(languageNameContext(), languageNameSource()), code);
    }
}

void SettingsView::fillOcrLanguages()
{
    m_ocrCombo->clear();
    for (const QString& code : Application::instance()->ocrLanguages())
        m_ocrCombo->addItem(code, code);
}

void SettingsView::fillQuality()
{
    const int current = m_qualityCombo->currentIndex();
    m_qualityCombo->clear();
    m_qualityCombo->addItem(tr("Low"), ImageQuality::Low);
    m_qualityCombo->addItem(tr("Medium"), ImageQuality::Medium);
    m_qualityCombo->addItem(tr("High"), ImageQuality::High);
    m_qualityCombo->setCurrentIndex(current);
}

void SettingsView::retranslate()
{
    m_titleLabel->setText(tr("Settings"));
    m_saveButton->setText(tr("SAVE SETTINGS"));
    m_cancelButton->setText(tr("CANCEL"));
    m_saveLabel->setText(tr("Save to"));
    m_languageLabel->setText(tr("Language"));
    m_publisherLabel->setText(tr("Default publisher"));
    m_qualityLabel->setText(tr("Quality images"));
    m_ocrLabel->setText(tr("OCR Language"));
    m_updateCheck->setText(tr("Check for the updates automatically"));
    m_analyticsCheck->setText(tr("Send anonymous analytics"));
    m_versionLabel->setText(tr("Version %1").arg(Application::instance()->currentVersion()));
    fillQuality();
}

void SettingsView::load()
{
    const SaveMode saveMode = Settings::instance()->saveMode();
    if (saveMode.mode == SaveFolderModel::ChosenFolderRow)
        m_saveModel->setData(m_saveModel->index(SaveFolderModel::ChosenFolderRow, SaveFolderModel::ShownColumn),
                             saveMode.path, Qt::EditRole);
    m_saveCombo->setCurrentIndex(saveMode.mode >= 0 && saveMode.mode < m_saveCombo->count() ? saveMode.mode : -1);

    QSharedPointer<QSettings> settings = Application::instance()->settings();
    QString language = settings->value(QLatin1String(Keys::language())).toString();
    if (language.isEmpty())
        language = QLocale::system().name().left(2);
    int languageIndex = m_languageCombo->findData(language, Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive);
    // No translation of the stored or system language: show English, not whichever translation
    // sorts first, so that saving other settings does not switch the interface to it.
    if (languageIndex < 0)
        languageIndex = m_languageCombo->findData(QStringLiteral("en"), Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_languageCombo->setCurrentIndex(languageIndex);

    m_publisherEdit->setText(
        settings->value(QLatin1String(Keys::defaultPublisher()), Application::instance()->defaultPublisher()).toString());

    m_qualityCombo->setCurrentIndex(m_qualityCombo->findData(Settings::instance()->qualityImages()));

    QString ocr = settings->value(QLatin1String(Keys::ocrLanguage()), Application::instance()->defaultOcrLanguage()).toString();
    if (ocr.isEmpty())
        ocr = QStringLiteral("EN");
    m_ocrCombo->setCurrentIndex(m_ocrCombo->findData(ocr, Qt::UserRole, Qt::MatchExactly | Qt::MatchCaseSensitive));

    m_updateCheck->setChecked(settings->value(QLatin1String(Keys::autoUpdateEnabled()), true).toBool());
    m_analyticsCheck->setChecked(MetricSender::isEnabled());

    m_lastSaveIndex = m_saveCombo->currentIndex();
}

void SettingsView::saveSettings()
{
    const int row = m_saveCombo->currentIndex();
    const int mode = m_saveModel->index(row, SaveFolderModel::ModeColumn).data().toInt();
    const QString path = mode == SaveFolderModel::ChosenFolderRow
                             ? m_saveModel->index(row, SaveFolderModel::ShownColumn).data().toString()
                             : QString();
    QString language = m_languageCombo->currentData().toString();
    // Translations exist but none is chosen (no English one either): English, the built-in texts.
    if (language.isEmpty() && m_languageCombo->count() > 0)
        language = QStringLiteral("en");
    const QString publisher = m_publisherEdit->text();
    const int quality = m_qualityCombo->currentData().toInt();
    QString ocr = m_ocrCombo->currentData().toString();
    if (ocr.isEmpty())
        ocr = QStringLiteral("EN");

    {
        QSharedPointer<QSettings> settings = Application::instance()->settings();
        const QString oldLanguage = settings->value(QLatin1String(Keys::language()), QStringLiteral("en")).toString();

        settings->beginGroup(QLatin1String(Keys::saveModeGroup()));
        settings->setValue(QLatin1String(Keys::saveModeMode()), mode);
        settings->setValue(QLatin1String(Keys::saveModePath()), path);
        settings->endGroup();
        settings->setValue(QLatin1String(Keys::language()), language);
        settings->setValue(QLatin1String(Keys::defaultPublisher()), publisher);
        settings->setValue(QLatin1String(Keys::qualityImages()), quality);
        settings->setValue(QLatin1String(Keys::ocrLanguage()), ocr);
        settings->setValue(QLatin1String(Keys::autoUpdateEnabled()), m_updateCheck->isChecked());
        settings->sync();

        Application::instance()->loadTranslator();
        if (oldLanguage != language)
            MetricSender::sendMetrics({{QStringLiteral("chlan"), language, oldLanguage}});
    }
    m_analytics->apply(m_analyticsCheck->isChecked());

    emit onHideWindow();
    Settings::instance()->notifyChanged();
}

void SettingsView::cancel()
{
    emit onHideWindow();
}

void SettingsView::onClose()
{
    emit onHideWindow();
}

void SettingsView::onChangeSaveMode(int index)
{
    const int mode = m_saveModel->index(index, SaveFolderModel::ModeColumn).data().toInt();
    if (mode == SaveFolderModel::ChosenFolderRow) {
        const QString start = m_saveModel->index(index, SaveFolderModel::ShownColumn).data().toString();
        const QString folder = QFileDialog::getExistingDirectory(this, tr("Select destination folder"), start,
                                                                 QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
        if (folder.isEmpty()) {
            m_saveCombo->setCurrentIndex(m_lastSaveIndex);
            return;
        }
        m_saveModel->setData(m_saveModel->index(index, SaveFolderModel::ShownColumn), folder, Qt::EditRole);
    }
    m_lastSaveIndex = index;
}

void SettingsView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        emit onHideWindow();
}

void SettingsView::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    // Each visit starts from the stored values; a window restored from the taskbar keeps the
    // edits in progress.
    if (!event->spontaneous())
        load();
}

void SettingsView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}
