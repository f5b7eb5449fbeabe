#include "ui/mainwindow/MainView.h"

#include "app/Application.h"
#include "app/core/StoredValues.h"
#include "app/core/UserContext.h"
#include "frompdf/views/PageRangesView.h"
#include "services/metrics/MetricSender.h"
#include "services/metrics/UsageStatistics.h"
#include "services/update/UpdateChecker.h"
#include "topdf/views/PreviewControl.h"
#include "topdf/views/ToPDFSettingsView.h"
#include "ui/kit/Button.h"
#include "ui/kit/ButtonDescription.h"
#include "ui/kit/Style.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/TabButton.h"
#include "ui/kit/TabWidget.h"
#include "ui/kit/WindowBar.h"
#include "ui/mainwindow/MessageUpdate.h"
#include "ui/mainwindow/SettingsView.h"
#include "ui/mainwindow/SiteLinks.h"
#include "ui/widgets/StartView.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>
#include <QSettings>
#include <QVBoxLayout>

namespace {

const QSize windowSize(743, 540);
const QRect innerGeometry(20, 20, 703, 500);
constexpr int fadeMs = 100;
constexpr int slideMs = 300;
constexpr qreal fadeOpacity = 0.6;

// "set" carries 1 for the first opening of the settings in this process, 0 afterwards.
bool g_settingsOpened = false;

} // namespace

MainView::MainView(QWidget* parent)
    : QFrame(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    buildChildren();
    runUpdateChecker();
    makeConnections();
    retranslate();
    setFixedSize(windowSize);
}

void MainView::buildChildren()
{
    auto* shadow = new QFrame(this);
    shadow->setObjectName(StyleName::mainViewShadow);
    shadow->setGeometry(QRect(QPoint(0, 0), windowSize));
    shadow->setFixedSize(windowSize);

    m_inner = new QWidget(this);
    m_inner->setObjectName(StyleName::mainView);
    // A plain QWidget paints its style-sheet background only with this attribute.
    m_inner->setAttribute(Qt::WA_StyledBackground);
    m_inner->setGeometry(innerGeometry);
    m_inner->setFixedSize(innerGeometry.size());
    auto* layout = new QVBoxLayout(m_inner);
    layout->setContentsMargins(9, 1, 9, 9);
    layout->setSpacing(0);

    m_fade = new QFrame(m_inner);
    m_fade->setObjectName(StyleName::boxFade);
    m_fade->hide();

    m_settingsView = new SettingsView(m_inner);
    addSidePanel(m_settingsView);
    m_pageRangesView = new PageRangesView(m_inner);
    addSidePanel(m_pageRangesView);
    m_pdfSettingsView = new ToPDFSettingsView(m_inner);
    // The preview measures a picture as the image worker will.
    m_pdfSettingsView->preview()->setPdfService(Application::instance()->debenuService());
    addSidePanel(m_pdfSettingsView);

    m_windowBar = new WindowBar(m_inner);
    m_windowBar->hideMaximizeButton(true);

    m_tabWidget = new TabWidget(m_inner);
    m_tabFromPdf = new TabButton(m_tabWidget);
    m_tabFromPdf->setObjectName(StyleName::buttonTabFromPDF);
    m_tabFromPdf->setMinimumWidth(107);
    m_tabToPdf = new TabButton(m_tabWidget);
    m_tabToPdf->setObjectName(StyleName::buttonTabToPDF);
    m_tabToPdf->setMinimumWidth(95);
    m_fromPdfView = new FromPDFView(this);
    m_toPdfView = new ToPDFView(this);
    m_tabWidget->insertTab(buildStartPage(), StartPage, nullptr);
    m_tabWidget->insertTab(m_fromPdfView, FromPdfTab, m_tabFromPdf);
    m_tabWidget->insertTab(m_toPdfView, ToPdfTab, m_tabToPdf);
    m_siteButton = new Button(m_tabWidget);
    m_siteButton->setObjectName(StyleName::buttonNavigateToSite);
    m_tabWidget->addBarWidget(m_siteButton, Qt::AlignTop);
    m_tabWidget->setCurrentIndex(StartPage);

    QWidget* bottomBar = buildBottomBar();

    layout->addWidget(m_windowBar);
    layout->addSpacing(15);
    auto* tabRow = new QHBoxLayout;
    tabRow->setContentsMargins(0, 0, 0, 0);
    tabRow->setSpacing(0);
    tabRow->addWidget(m_tabWidget);
    layout->addLayout(tabRow);
    layout->addWidget(bottomBar);

    setWindowIcon(QIcon(QStringLiteral(":/style/images/quillpress.ico")));
    // Without a compositing manager the transparent shadow margin would show black.
    keepOpaqueWithoutCompositor(this, m_inner);
}

QWidget* MainView::buildStartPage()
{
    m_startView = new StartView(this);
    m_startView->setSupportedFormats(Application::instance()->userContext()->supportedFormats());
    auto* layout = new QVBoxLayout(m_startView);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addSpacing(93);
    m_startLogo = new QLabel(m_startView);
    m_startLogo->setPixmap(QPixmap::fromImage(QImage(QStringLiteral(":/style/images/logo.png"))));
    layout->addWidget(m_startLogo, 0, Qt::AlignHCenter);
    layout->addSpacing(30);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_startFromPdf = new Button(m_startView);
    m_startFromPdf->setObjectName(StyleName::buttonInitFromPDF);
    buttons->addWidget(m_startFromPdf);
    buttons->addSpacing(30);
    m_startToPdf = new Button(m_startView);
    m_startToPdf->setObjectName(StyleName::buttonInitToPDF);
    buttons->addWidget(m_startToPdf);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addStretch();
    return m_startView;
}

QWidget* MainView::buildBottomBar()
{
    auto* bar = new QFrame(m_inner);
    bar->setMinimumHeight(33);
    m_lastFolderButton = new ButtonDescription(bar);
    m_lastFolderButton->setObjectName(StyleName::buttonLastFolder);
    m_lastFolderButton->hide();
    m_helpButton = new Button(bar);
    m_helpButton->setObjectName(StyleName::buttonHelp);
    m_settingsButton = new Button(bar);
    m_settingsButton->setObjectName(StyleName::buttonSettings);

    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addSpacing(3);
    layout->addWidget(m_lastFolderButton);
    layout->addStretch();
    layout->addWidget(m_helpButton);
    layout->addWidget(m_settingsButton);
    layout->addSpacing(9);
    return bar;
}

template <class SidePanel>
void MainView::addSidePanel(SidePanel* panel)
{
    panel->stackUnder(m_fade);
    panel->hide();
    connect(panel, &SidePanel::onHideWindow, this, [this, panel] { hidePanel(panel); });
}

void MainView::makeConnections()
{
    connect(m_windowBar, SIGNAL(minimizeWindow()), this, SLOT(onMinimize()));
    connect(m_windowBar, SIGNAL(closeWindow()), this, SLOT(close()));
    connect(m_settingsButton, &QPushButton::clicked, this, &MainView::onSettingsClicked);
    connect(m_siteButton, &QPushButton::clicked, this, [] { Application::instance()->openLink(SiteLinks::homePage()); });
    connect(m_helpButton, &QPushButton::clicked, this, [] { Application::instance()->openLink(SiteLinks::manual()); });
    connect(m_lastFolderButton, &QPushButton::clicked, this, &MainView::onLastFolderClicked);
    connect(m_fromPdfView, &FromPDFView::selectRanges, this, [this](int id, const FromPDFTask& task) {
        m_pageRangesView->setTask(id, task);
        showPanel(m_pageRangesView);
    });
    connect(m_pageRangesView, &PageRangesView::commit, m_fromPdfView, &FromPDFView::setPageRanges);
    connect(m_startFromPdf, &QPushButton::clicked, this, [this] { m_tabWidget->setCurrentIndex(FromPdfTab); });
    connect(m_startToPdf, &QPushButton::clicked, this, [this] { m_tabWidget->setCurrentIndex(ToPdfTab); });
    connect(m_fromPdfView, &FromPDFView::finished, this, [this] { onRunFinished(UserContext::FromPdf); });
    connect(m_fromPdfView, &FromPDFView::started, this, &MainView::onRunStarted);
    connect(m_toPdfView, &ToPDFView::started, this, &MainView::onRunStarted);
    connect(m_toPdfView, &ToPDFView::finished, this, [this] { onRunFinished(UserContext::ToPdf); });
    connect(m_toPdfView, &ToPDFView::edit, this, [this](int id, const ToPDFTask& task, int editMode) {
        m_pdfSettingsView->editTask(id, task, editMode);
        showPanel(m_pdfSettingsView);
    });
    connect(m_pdfSettingsView, &ToPDFSettingsView::updateFileSettings, m_toPdfView, &ToPDFView::updateFileSettings);
    connect(m_pdfSettingsView, &ToPDFSettingsView::updateLayoutSettings, m_toPdfView, &ToPDFView::updateLayoutSettings);
    connect(m_startView, &StartView::droppedPdfFiles, this, [this](const QStringList& files) { handOver(FromPdfTab, files); });
    connect(m_startView, &StartView::droppedMediaFiles, this, [this](const QStringList& files) { handOver(ToPdfTab, files); });
    connect(m_tabWidget, &TabWidget::currentIndexChanged, this, &MainView::onPageChanged);
}

void MainView::retranslate()
{
    const QString title = Application::instance()->productName();
    setWindowTitle(title);
    m_windowBar->setTitle(title);
    m_helpButton->setText(tr("Help"));
    m_settingsButton->setText(tr("Settings"));
    m_startFromPdf->setText(tr("From PDF"));
    m_startToPdf->setText(tr("To PDF"));
    m_siteButton->setText(SiteLinks::siteName());
    m_tabToPdf->setText(tr("To PDF"));
    m_tabFromPdf->setText(tr("From PDF"));
    m_lastFolderButton->setDescription(tr("Last conversion:"));
    m_lastFolderButton->setText(tr("Open folder"));
}

void MainView::onMinimize()
{
    setWindowState(Qt::WindowMinimized);
}

void MainView::onDragWindow(QPoint newPos)
{
    move(newPos);
}

void MainView::runUpdateChecker()
{
    Application* app = Application::instance();
    if (!app->settings()->value(QLatin1String(StoredValues::Keys::autoUpdateEnabled()), true).toBool())
        return;
    auto* checker = new UpdateChecker(app->productId(), app->currentVersion(), this);
    connect(checker, SIGNAL(newVersionAvalible(QString)), this, SLOT(onNewVersion(QString)), Qt::QueuedConnection);
    checker->checkUpdates();
}

void MainView::onNewVersion(QString version)
{
    const QString key = QLatin1String(StoredValues::Keys::lastShowVersion());
    {
        QSharedPointer<QSettings> settings = Application::instance()->settings();
        if (settings->value(key, QStringLiteral("0.0")).toString() == version)
            return;
        // Remembered before the dialog opens: however it ends, this version is not offered again.
        settings->setValue(key, version);
        settings->sync();
    }
    MessageUpdate message(version, SiteLinks::changeLog(), SiteLinks::download(), this);
    message.exec();
}

void MainView::onSettingsClicked()
{
    MetricSender::sendMetricNumber(QStringLiteral("set"), g_settingsOpened ? 0 : 1);
    g_settingsOpened = true;
    showPanel(m_settingsView);
}

void MainView::onLastFolderClicked()
{
    const int page = m_tabWidget->currentIndex();
    if (page != FromPdfTab && page != ToPdfTab)
        return;
    const int side = page == FromPdfTab ? UserContext::FromPdf : UserContext::ToPdf;
    Application::instance()->openLinkInExplorer(Application::instance()->userContext()->lastConvertedFile(side));
}

// While a run lasts the user can neither switch tabs nor open the settings or the last folder.
void MainView::setRunControlsEnabled(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{m_tabFromPdf, m_tabToPdf, m_lastFolderButton, m_settingsButton})
        control->setEnabled(enabled);
}

void MainView::onRunStarted()
{
    setRunControlsEnabled(false);
}

void MainView::onRunFinished(int side)
{
    setRunControlsEnabled(true);
    // A path assigned by the run, even an empty one, shows the button; none since start-up hides it.
    m_lastFolderButton->setVisible(!Application::instance()->userContext()->lastConvertedFile(side).isNull());
}

void MainView::onPageChanged(int index)
{
    QString path;
    if (index == FromPdfTab)
        path = Application::instance()->userContext()->lastConvertedFile(UserContext::FromPdf);
    else if (index == ToPdfTab)
        path = Application::instance()->userContext()->lastConvertedFile(UserContext::ToPdf);
    m_lastFolderButton->setVisible(!path.isEmpty());
}

void MainView::handOver(int page, const QStringList& files)
{
    setAddSource(1);
    if (page == FromPdfTab)
        m_fromPdfView->addFiles(files);
    else
        m_toPdfView->addFiles(files);
    m_tabWidget->setCurrentIndex(page);
}

// A panel's rectangle in the inner frame, from left to right inclusive, given relative to the
// inner frame's right edge in window coordinates; full height.
QRect MainView::panelRect(int fromRight, int toRight) const
{
    const QRect inner = m_inner->geometry();
    const int right = inner.x() + inner.width() - 1;
    return QRect(QPoint(right + fromRight, 0), QPoint(right + toRight, inner.height() - 1));
}

// Fade the whole inner frame, then slide the panel in from beyond its right edge.
void MainView::showPanel(QWidget* panel)
{
    m_fade->setGeometry(m_inner->rect());
    m_fade->show();
    m_fade->raise();
    const QRect start = panelRect(20, 566);
    panel->setGeometry(start);
    panel->show();
    panel->raise();

    auto* effect = new QGraphicsOpacityEffect(m_fade);
    m_fade->setGraphicsEffect(effect);
    auto* fade = new QPropertyAnimation(effect, "opacity");
    fade->setDuration(fadeMs);
    fade->setStartValue(0.0);
    fade->setEndValue(fadeOpacity);
    auto* slide = new QPropertyAnimation(panel, "geometry");
    slide->setDuration(slideMs);
    slide->setStartValue(start);
    slide->setEndValue(panelRect(-566, -20));

    // Once the panel is in place the overlay needs to cover only what the panel leaves free:
    // an overlay with an opacity effect under the panel would be painted over the panel's own
    // ground wherever one of the panel's children repaints.
    connect(slide, &QPropertyAnimation::finished, m_fade, [this, panel] {
        m_fade->setGeometry(0, 0, panel->x(), m_inner->height());
    });

    auto* group = new QSequentialAnimationGroup(this);
    group->addAnimation(fade);
    group->addAnimation(slide);
    group->start(QAbstractAnimation::DeleteWhenStopped);
    panel->setFocus(Qt::OtherFocusReason);
}

// Slide the panel out, then fade the window back.
void MainView::hidePanel(QWidget* panel)
{
    m_fade->setGeometry(m_inner->rect());
    auto* effect = new QGraphicsOpacityEffect(m_fade);
    effect->setOpacity(fadeOpacity);
    m_fade->setGraphicsEffect(effect);
    auto* fade = new QPropertyAnimation(effect, "opacity");
    fade->setDuration(fadeMs);
    fade->setStartValue(fadeOpacity);
    fade->setEndValue(0.0);
    connect(fade, &QPropertyAnimation::finished, m_fade, &QWidget::hide);

    auto* slide = new QPropertyAnimation(panel, "geometry");
    slide->setDuration(slideMs);
    slide->setStartValue(panel->geometry());
    slide->setEndValue(panelRect(21, 567));
    connect(slide, &QPropertyAnimation::finished, panel, &QWidget::hide);

    auto* group = new QSequentialAnimationGroup(this);
    group->addAnimation(slide);
    group->addAnimation(fade);
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void MainView::mousePressEvent(QMouseEvent* event)
{
    m_dragger.press(this, event);
}

void MainView::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragger.release(event);
}

void MainView::mouseMoveEvent(QMouseEvent* event)
{
    m_dragger.move(this, event);
}

void MainView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}
