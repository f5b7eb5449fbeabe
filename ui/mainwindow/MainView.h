#pragma once

#include "frompdf/views/FromPDFView.h"
#include "topdf/views/ToPDFView.h"
#include "ui/kit/WindowDragger.h"

#include <QFrame>
#include <QPoint>

class Button;
class PageRangesView;
class ButtonDescription;
class QLabel;
class SettingsView;
class ToPDFSettingsView;
class StartView;
class TabButton;
class TabWidget;
class WindowBar;

// The program's main window: frameless, translucent and of fixed size, with its own shadow and
// title bar. It holds the start page and the two conversion tabs, slides the side panels in over
// a dimmed window, keeps the tab buttons, "Settings" and "Open folder" locked while a conversion
// runs, and starts the update check. It owns no conversion logic.
class MainView : public QFrame
{
    Q_OBJECT
public:
    enum Page {
        StartPage = 0,
        FromPdfTab = 1,
        ToPdfTab = 2
    };

    explicit MainView(QWidget* parent = nullptr);

public slots:
    void onMinimize();
    void onDragWindow(QPoint newPos);
    void runUpdateChecker();
    void onNewVersion(QString version);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildChildren();
    QWidget* buildStartPage();
    QWidget* buildBottomBar();
    // A side panel: a hidden child of the inner frame below the overlay, closed on its
    // onHideWindow() signal.
    template <class SidePanel>
    void addSidePanel(SidePanel* panel);
    void makeConnections();
    void retranslate();

    QRect panelRect(int fromRight, int toRight) const;
    void showPanel(QWidget* panel);
    void hidePanel(QWidget* panel);

    void onSettingsClicked();
    void onLastFolderClicked();
    void setRunControlsEnabled(bool enabled);
    void onRunStarted();
    void onRunFinished(int side);
    void onPageChanged(int index);
    void handOver(int page, const QStringList& files);

    WindowBar* m_windowBar = nullptr;
    TabWidget* m_tabWidget = nullptr;
    TabButton* m_tabFromPdf = nullptr;
    TabButton* m_tabToPdf = nullptr;
    Button* m_siteButton = nullptr;
    Button* m_helpButton = nullptr;
    Button* m_settingsButton = nullptr;
    ButtonDescription* m_lastFolderButton = nullptr;
    QLabel* m_startLogo = nullptr;
    Button* m_startFromPdf = nullptr;
    Button* m_startToPdf = nullptr;
    SettingsView* m_settingsView = nullptr;
    PageRangesView* m_pageRangesView = nullptr;
    ToPDFSettingsView* m_pdfSettingsView = nullptr;
    QFrame* m_fade = nullptr;
    QWidget* m_inner = nullptr;
    FromPDFView* m_fromPdfView = nullptr;
    ToPDFView* m_toPdfView = nullptr;
    StartView* m_startView = nullptr;
    WindowDragger m_dragger;
};
