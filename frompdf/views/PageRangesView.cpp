#include "frompdf/views/PageRangesView.h"

#include "frompdf/views/RangeListView.h"
#include "ui/kit/Button.h"
#include "ui/kit/Style.h"
#include "ui/kit/StyleNames.h"
#include "ui/widgets/PanelCommands.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

PageRangesView::PageRangesView(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(StyleName::settingsViewContent);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 1, 0, 0);
    outer->setSpacing(0);
    auto* inner = new QVBoxLayout;
    inner->setContentsMargins(20, 0, 20, 46);
    inner->setSpacing(0);
    outer->addLayout(inner, 1);
    outer->addSpacing(14);

    m_closeButton = namedButton(StyleName::buttonCloseSettings, this);
    inner->addWidget(m_closeButton, 0, Qt::AlignRight);
    inner->addSpacing(8);
    auto* headerRow = new QHBoxLayout;
    headerRow->setContentsMargins(0, 0, 0, 0);
    m_backButton = namedButton(StyleName::buttonNavigateBack, this);
    m_header = new QLabel(this);
    m_header->setObjectName(StyleName::settingsLabel);
    m_header->setWordWrap(true);
    headerRow->addWidget(m_backButton);
    headerRow->addWidget(m_header, 1);
    inner->addLayout(headerRow);
    inner->addSpacing(11);

    auto* box = new QFrame(this);
    box->setObjectName(StyleName::boxDark);
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(20, 20, 20, 20);
    boxLayout->setSpacing(0);
    auto* inputRow = new QHBoxLayout;
    inputRow->setContentsMargins(0, 0, 0, 0);
    inputRow->setSpacing(0);
    m_fromLabel = new QLabel(box);
    m_toLabel = new QLabel(box);
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d+")), this);
    m_fromEdit = new QLineEdit(box);
    m_toEdit = new QLineEdit(box);
    for (QLineEdit* edit : {m_fromEdit, m_toEdit}) {
        edit->setObjectName(StyleName::inputEdit);
        edit->setValidator(digits);
        edit->setFixedSize(64, 36);
    }
    m_addButton = namedButton(StyleName::buttonAddRange, box);
    m_addButton->setFixedHeight(36);
    m_clearButton = namedButton(StyleName::buttonClear, box);
    m_clearButton->setFixedHeight(36);
    inputRow->addWidget(m_fromLabel);
    inputRow->addSpacing(12);
    inputRow->addWidget(m_fromEdit);
    inputRow->addSpacing(12);
    inputRow->addWidget(m_toLabel);
    inputRow->addSpacing(12);
    inputRow->addWidget(m_toEdit);
    inputRow->addSpacing(21);
    inputRow->addWidget(m_addButton);
    inputRow->addStretch();
    inputRow->addWidget(m_clearButton);
    boxLayout->addLayout(inputRow);
    boxLayout->addSpacing(12);
    m_list = new RangeListView(box);
    boxLayout->addWidget(m_list, 1);
    inner->addWidget(box, 1);

    const PanelCommands commands = makePanelCommands(this, StyleName::boxDark, 20, 116);
    m_cancelButton = commands.cancelButton;
    m_okButton = commands.saveButton;
    outer->addWidget(commands.box);

    connect(m_closeButton, &QPushButton::clicked, this, &PageRangesView::onHideWindow);
    connect(m_backButton, &QPushButton::clicked, this, &PageRangesView::onHideWindow);
    connect(m_addButton, &QPushButton::clicked, this, &PageRangesView::onButtonAddRange);
    connect(m_cancelButton, &QPushButton::clicked, this, &PageRangesView::onButtonCancel);
    connect(m_okButton, &QPushButton::clicked, this, &PageRangesView::onButtonOk);
    connect(m_clearButton, &QPushButton::clicked, this, &PageRangesView::onButtonClear);
    connect(&m_ranges, &PageRanges::added, m_list, &RangeListView::addItem);
    connect(&m_ranges, &PageRanges::changed, this, &PageRangesView::onRangeChanged);
    connect(m_list, &RangeListView::changed, this, [this] { m_clearButton->setVisible(!m_list->isEmpty()); });
    connect(m_list, &RangeListView::removedItem, this, [this](QPair<int, int> range) { m_ranges.remove(range); });

    m_clearButton->setVisible(false);
    retranslate();
    onRangeChanged();
}

void PageRangesView::setTask(int id, const FromPDFTask& task)
{
    m_list->clear();
    m_fromEdit->clear();
    m_toEdit->clear();
    m_id = id;
    m_pageCount = task.pageCount;
    m_ranges.setRanges(task.ranges);
    m_ranges.setLimits(1, task.pageCount);
    retranslate();
    showRanges();
    onRangeChanged();
}

void PageRangesView::showRanges()
{
    m_list->clear();
    for (const PageRange& range : m_ranges.ranges())
        m_list->addItem(range.first, range.second);
}

void PageRangesView::onButtonAddRange()
{
    const QString fromText = m_fromEdit->text().trimmed();
    const QString toText = m_toEdit->text().trimmed();
    if (fromText.isEmpty() || toText.isEmpty())
        return;
    bool fromOk = false;
    bool toOk = false;
    const int from = fromText.toInt(&fromOk);
    const int to = toText.toInt(&toOk);
    if (fromOk && toOk)
        m_ranges.add(from, to);
}

void PageRangesView::onButtonCancel()
{
    if (!m_ranges.isModified()) {
        emit onHideWindow();
        return;
    }
    m_ranges.revert();
    showRanges();
}

void PageRangesView::onButtonOk()
{
    m_ranges.commit();
    emit commit(m_id, m_ranges.ranges());
}

void PageRangesView::onButtonClear()
{
    m_list->clear();
    m_ranges.clear();
}

void PageRangesView::onRangeChanged()
{
    m_cancelButton->setText(m_ranges.isModified() ? tr("CANCEL") : tr("CLOSE"));
    m_okButton->setEnabled(m_ranges.isModified());
    repolish(m_cancelButton);
    m_cancelButton->update();
}

void PageRangesView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        emit onHideWindow();
        return;
    }
    QFrame::keyPressEvent(event);
}

void PageRangesView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void PageRangesView::retranslate()
{
    m_okButton->setText(tr("OK"));
    m_cancelButton->setText(m_ranges.isModified() ? tr("CANCEL") : tr("CLOSE"));
    m_fromLabel->setText(tr("From"));
    m_toLabel->setText(tr("To"));
    m_addButton->setText(tr("Add"));
    m_clearButton->setText(tr("Clear all"));
    m_header->setText(tr("Choose page ranges. Total pages in document: %1")
                          .arg(m_pageCount < 1 ? QStringLiteral("?") : QString::number(m_pageCount)));
}
