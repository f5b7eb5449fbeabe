// Gallery pictures of the look kit: window bar, buttons in their states, the tab widget inside
// a window-like frame, and the frameless dialog body.
#include "tools/gallery/Gallery.h"
#include "ui/kit/Button.h"
#include "ui/kit/ButtonDescription.h"
#include "ui/kit/FramelessDialog.h"
#include "ui/kit/StyleNames.h"
#include "ui/kit/TabButton.h"
#include "ui/kit/TabWidget.h"
#include "ui/kit/WindowBar.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Gallery", text);
}

enum class State {
    Normal,
    Hover,
    Pressed,
    Disabled,
    Checked
};

// Shows a button in a state without a mouse: hover and pressed are forced through the flags
// that the style reads.
template <typename T>
T* inState(T* button, State state)
{
    switch (state) {
    case State::Hover: button->setAttribute(Qt::WA_UnderMouse, true); break;
    case State::Pressed: button->setDown(true); break;
    case State::Disabled: button->setEnabled(false); break;
    case State::Checked:
        button->setCheckable(true);
        button->setChecked(true);
        break;
    case State::Normal: break;
    }
    return button;
}

Button* button(const QString& name, const QString& text, State state = State::Normal)
{
    auto* b = new Button;
    b->setObjectName(name);
    b->setText(text);
    return inState(b, state);
}

QWidget* box(QBoxLayout::Direction direction, const QList<QWidget*>& widgets, int spacing)
{
    auto* frame = new QWidget;
    auto* layout = new QBoxLayout(direction, frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget* w : widgets)
        layout->addWidget(w);
    layout->addStretch();
    return frame;
}

QWidget* row(const QList<QWidget*>& widgets, int spacing = 12)
{
    return box(QBoxLayout::LeftToRight, widgets, spacing);
}

QWidget* column(const QList<QWidget*>& widgets, int spacing = 12)
{
    return box(QBoxLayout::TopToBottom, widgets, spacing);
}

QWidget* windowBar(const QString& title, bool maximized)
{
    auto* bar = new WindowBar;
    bar->setTitle(title);
    bar->setMaximized(maximized);
    return bar;
}

ButtonDescription* lastFolderButton(State state)
{
    auto* b = new ButtonDescription;
    b->setObjectName(StyleName::buttonLastFolder);
    b->setDescription(tr("Last conversion:"));
    b->setText(tr("Open folder"));
    return inState(b, state);
}

// The main window's frame as the gallery imagines it around the tab widget, to judge the whole.
QWidget* mockMainView(int page)
{
    auto* view = new QFrame;
    view->setObjectName(StyleName::mainView);
    view->setFixedSize(703, 500);
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(9, 1, 9, 9);
    layout->setSpacing(0);
    auto* bar = new WindowBar(view);
    bar->setTitle(tr("Zembrook PDF Converter"));
    bar->hideMaximizeButton(true);
    layout->addWidget(bar);
    layout->addSpacing(15);

    auto* tabs = new TabWidget(view);
    auto* start = new QFrame;
    start->setObjectName(StyleName::initialView);
    fillStartPage(start, 56);
    tabs->insertTab(start, 0, nullptr);

    for (int i = 1; i <= 2; ++i) {
        auto* tab = new TabButton;
        tab->setObjectName(i == 1 ? StyleName::buttonTabFromPDF : StyleName::buttonTabToPDF);
        tab->setText(i == 1 ? tr("From PDF") : tr("To PDF"));
        tab->setMinimumWidth(i == 1 ? 107 : 95);
        auto* box = new QFrame;
        box->setObjectName(StyleName::tableBox);
        tabs->insertTab(box, i, tab);
    }
    auto* site = button(StyleName::buttonNavigateToSite, QStringLiteral("zembrook.com"));
    tabs->addBarWidget(site, Qt::AlignTop);
    tabs->setCurrentIndex(page);
    layout->addWidget(tabs, 1);

    auto* bottom = new QFrame;
    bottom->setMinimumHeight(33);
    auto* bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addSpacing(3);
    auto* last = lastFolderButton(State::Normal);
    last->setVisible(page != 0);
    bottomLayout->addWidget(last);
    bottomLayout->addStretch();
    bottomLayout->addWidget(button(StyleName::buttonHelp, tr("Help")));
    bottomLayout->addWidget(button(StyleName::buttonSettings, tr("Settings")));
    bottomLayout->addSpacing(9);
    layout->addWidget(bottom);
    return view;
}

class SampleDialog : public FramelessDialog
{
public:
    SampleDialog()
        : FramelessDialog({StyleName::messageBox, QSize(450, 190), QMargins(9, 5, 8, 15)}, nullptr)
    {
        windowBar()->setTitle(tr("Zembrook PDF Converter"));
        auto* text = new QLabel(tr("Conversion completed. 3 files were converted."), frame());
        text->setAlignment(Qt::AlignCenter);
        text->setWordWrap(true);
        contentLayout()->addStretch();
        contentLayout()->addWidget(text);
        contentLayout()->addStretch();
        auto* ok = button(StyleName::buttonOk, tr("OK"));
        ok->setFixedSize(100, 42);
        contentLayout()->addWidget(ok, 0, Qt::AlignHCenter);
    }
};

} // namespace

void fillStartPage(QWidget* page, int topSpacing)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addSpacing(topSpacing);
    auto* logo = new QLabel;
    logo->setPixmap(QPixmap::fromImage(QImage(QStringLiteral(":/style/images/logo.png"))));
    layout->addWidget(logo, 0, Qt::AlignHCenter);
    layout->addSpacing(30);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button(StyleName::buttonInitFromPDF, tr("From PDF")));
    buttons->addSpacing(30);
    buttons->addWidget(button(StyleName::buttonInitToPDF, tr("To PDF"), State::Hover));
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addStretch();
}

QList<GalleryItem> kitItems()
{
    QList<GalleryItem> items;
    items << GalleryItem{QStringLiteral("windowbar"),
                         [] { return windowBar(tr("Zembrook PDF Converter"), false); }, QSize(520, 46)};
    items << GalleryItem{QStringLiteral("windowbar-elided"),
                         [] { return windowBar(tr("A very long window title that cannot fit into the bar"), true); },
                         QSize(300, 46)};
    items << GalleryItem{QStringLiteral("buttons-start"), [] {
                             return row({button(StyleName::buttonInitFromPDF, tr("From PDF")),
                                         button(StyleName::buttonInitToPDF, tr("To PDF"), State::Hover),
                                         button(StyleName::buttonInitFromPDF, tr("From PDF"), State::Pressed)},
                                        30);
                         },
                         QSize(900, 170)};
    items << GalleryItem{QStringLiteral("buttons-tools"), [] {
                             return column({
                                 row({button(StyleName::buttonHelp, tr("Help")),
                                      button(StyleName::buttonHelp, tr("Help"), State::Hover),
                                      button(StyleName::buttonHelp, tr("Help"), State::Pressed),
                                      button(StyleName::buttonSettings, tr("Settings")),
                                      button(StyleName::buttonSettings, tr("Settings"), State::Hover),
                                      button(StyleName::buttonSettings, tr("Settings"), State::Disabled),
                                      button(StyleName::buttonNavigateToSite, QStringLiteral("zembrook.com"))}),
                                 row({lastFolderButton(State::Normal), lastFolderButton(State::Hover),
                                      lastFolderButton(State::Disabled)}),
                             });
                         },
                         QSize(760, 120)};
    items << GalleryItem{QStringLiteral("buttons-dialog"), [] {
                             auto sized = [](Button* b, int w) { b->setFixedHeight(42); b->setMinimumWidth(w); return b; };
                             return column({
                                 row({sized(button(StyleName::buttonOk, tr("OK")), 100),
                                      sized(button(StyleName::buttonOk, tr("OK"), State::Pressed), 100),
                                      sized(button(StyleName::buttonSkip, tr("SKIP")), 100),
                                      sized(button(StyleName::buttonSkip, tr("SKIP ALL"), State::Hover), 100),
                                      sized(button(StyleName::buttonYes, tr("YES")), 100)}),
                                 row({sized(button(StyleName::buttonConvert, tr("CONVERT")), 200),
                                      sized(button(StyleName::buttonConvert, tr("CONVERT"), State::Pressed), 200),
                                      sized(button(StyleName::buttonConvert, tr("CONVERT"), State::Disabled), 200)}),
                                 row({sized(button(StyleName::buttonMessageOpenFolder, tr("OPEN FOLDER")), 180)}),
                             });
                         },
                         QSize(700, 210)};
    items << GalleryItem{QStringLiteral("tabwidget-start"), [] { return mockMainView(0); }, QSize(727, 524)};
    items << GalleryItem{QStringLiteral("tabwidget-from"), [] { return mockMainView(1); }, QSize(727, 524)};
    items << GalleryItem{QStringLiteral("frameless-dialog"), [] { return new SampleDialog; }, QSize(), true};
    return items;
}
