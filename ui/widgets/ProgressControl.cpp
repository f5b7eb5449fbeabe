#include "ui/widgets/ProgressControl.h"

#include "ui/kit/Style.h"
#include "ui/kit/StyleNames.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionProgressBar>
#include <QVBoxLayout>

namespace {
qint64 monotonicMs()
{
    static const QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}
} // namespace

ProgressBar::ProgressBar(QWidget* parent)
    : QProgressBar(parent) {}

void ProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionProgressBar option;
    option.initFrom(this);
    if (orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.minimum = minimum();
    option.maximum = maximum();
    option.progress = value();
    option.orientation = orientation();
    option.invertedAppearance = invertedAppearance();
    option.bottomToTop = textDirection() == QProgressBar::BottomToTop;
    style()->drawControl(QStyle::CE_ProgressBar, &option, &painter, this);

    const QColor textColor = option.palette.color(QPalette::Text);
    const QColor alternateColor = option.palette.color(QPalette::HighlightedText);
    const QPen savedPen = painter.pen();

    QRect rect = option.rect;
    const bool vertical = orientation() == Qt::Vertical;
    if (vertical)
        rect.setSize(QSize(rect.height(), rect.width()));
    const int indicator = int((value() - minimum()) * rect.width() / qMax(1.0, double(maximum()) - minimum()));
    QRect filled;
    if (indicator >= 0 && indicator <= rect.width())
        filled = QRect(rect.left(), rect.top(), indicator, rect.height());
    bool flip = false;
    if (vertical)
        filled.translate(rect.width() - indicator, 0);
    else
        flip = (layoutDirection() == Qt::RightToLeft && !invertedAppearance())
               || (layoutDirection() == Qt::LeftToRight && invertedAppearance());

    const int flags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::AlignAbsolute;
    painter.setClipRegion(QRegion(rect).subtracted(QRegion(filled)));
    painter.setPen(flip ? alternateColor : textColor);
    painter.drawText(rect, flags, text());
    if (!filled.isNull()) {
        painter.setPen(flip ? textColor : alternateColor);
        painter.setClipRect(filled);
        painter.drawText(rect, flags, text());
    }
    painter.setPen(savedPen);
}

ProgressControl::ProgressControl(QWidget* parent)
    : QFrame(parent)
    , m_clock(monotonicMs)
{
    m_bar = new ProgressBar(this);
    m_bar->setFixedHeight(18);
    m_stopButton = new QPushButton(this);
    m_stopButton->setObjectName(StyleName::buttonStop);
    m_stopButton->setFixedSize(30, 30);
    m_pauseButton = new QPushButton(this);
    m_pauseButton->setObjectName(StyleName::buttonPause);
    m_pauseButton->setFixedSize(30, 30);
    m_pauseButton->setProperty(qPrintable(StyleProperty::thePaused), false);
    for (QPushButton* button : {m_stopButton, m_pauseButton})
        button->setCursor(Qt::PointingHandCursor);
    m_message = new QLabel(this);
    m_elapsed = new QLabel(this);
    m_remaining = new QLabel(this);
    for (QLabel* label : {m_message, m_elapsed, m_remaining})
        label->setObjectName(StyleName::progressLabel);
    m_remaining->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_remaining->hide();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* left = new QFrame(this);
    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_message, 0, Qt::AlignLeft);
    column->addSpacing(2);
    column->addWidget(m_bar);
    column->addSpacing(5);
    auto* times = new QHBoxLayout;
    times->setContentsMargins(0, 0, 0, 0);
    times->addWidget(m_elapsed);
    times->addStretch();
    times->addWidget(m_remaining, 0, Qt::AlignRight | Qt::AlignVCenter);
    column->addLayout(times);
    auto* buttons = new QFrame(this);
    auto* buttonRow = new QHBoxLayout(buttons);
    buttonRow->setContentsMargins(15, 0, 0, 2);
    buttonRow->setSpacing(6);
    buttonRow->addWidget(m_pauseButton);
    buttonRow->addWidget(m_stopButton);
    layout->addWidget(left, 1);
    layout->addWidget(buttons, 0);

    connect(m_stopButton, &QPushButton::clicked, this, [this] { static_cast<IProgress*>(this)->stop(); });
    connect(&m_viewTimer, SIGNAL(timeout()), this, SLOT(onUpdateViewTimer()));
    connect(m_pauseButton, SIGNAL(clicked()), this, SLOT(onButtonPause()));
}

void ProgressControl::setClock(Clock clock)
{
    QMutexLocker lock(&m_mutex);
    m_clock = clock ? std::move(clock) : Clock(monotonicMs);
}

qint64 ProgressControl::segmentElapsed() const
{
    return m_segmentStart < 0 ? 0 : m_clock() - m_segmentStart;
}

void ProgressControl::setMinimum(int value)
{
    QMutexLocker lock(&m_mutex);
    QMetaObject::invokeMethod(m_bar, "setMinimum", Qt::QueuedConnection, Q_ARG(int, value));
}

void ProgressControl::setMaximum(int value)
{
    QMutexLocker lock(&m_mutex);
    QMetaObject::invokeMethod(m_bar, "setMaximum", Qt::QueuedConnection, Q_ARG(int, value));
}

void ProgressControl::setValue(int value)
{
    QMutexLocker lock(&m_mutex);
    QMetaObject::invokeMethod(m_bar, "setValue", Qt::QueuedConnection, Q_ARG(int, value));
}

void ProgressControl::setText(const QString& text)
{
    QMutexLocker lock(&m_mutex);
    QMetaObject::invokeMethod(m_message, "setText", Qt::QueuedConnection, Q_ARG(QString, text));
}

void ProgressControl::stop()
{
    QMutexLocker lock(&m_mutex);
    m_stopped = true;
}

void ProgressControl::reset()
{
    QMutexLocker lock(&m_mutex);
    QMetaObject::invokeMethod(this, "onRestartTimer", Qt::QueuedConnection);
    m_stopped = false;
    m_paused = false;
    m_banked = 0;
    m_message->setText(QString());
    m_bar->setValue(0);
    m_bar->setRange(0, 100);
    m_bar->update();
    updatePauseButton(false);
}

void ProgressControl::pause()
{
    QMutexLocker lock(&m_mutex);
    // A second pause must not bank the same segment twice.
    if (!m_paused)
        m_banked += segmentElapsed();
    m_paused = true;
}

void ProgressControl::resume()
{
    QMutexLocker lock(&m_mutex);
    m_paused = false;
    m_segmentStart = m_clock();
}

bool ProgressControl::isStopped() const
{
    QMutexLocker lock(&m_mutex);
    return m_stopped;
}

bool ProgressControl::isPaused() const
{
    QMutexLocker lock(&m_mutex);
    return m_paused;
}

void ProgressControl::hidePauseButton(bool hide)
{
    m_pauseButton->setVisible(!hide);
}

void ProgressControl::updatePauseButton(bool paused)
{
    m_pauseButton->setProperty(qPrintable(StyleProperty::thePaused), QVariant(paused));
    repolish(m_pauseButton);
    m_pauseButton->repaint();
}

QString ProgressControl::formatTime(quint64 ms)
{
    if (ms == 0)
        return QStringLiteral("--:--:--");
    const quint64 hours = ms / 3600000;
    ms -= hours * 3600000;
    const quint64 minutes = ms / 60000;
    ms -= minutes * 60000;
    const quint64 seconds = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'));
}

void ProgressControl::onUpdateViewTimer()
{
    QMutexLocker lock(&m_mutex);
    qint64 t = m_banked;
    if (!m_paused && !m_stopped)
        t += segmentElapsed();
    m_elapsed->setText(tr("Time Elapsed: %1").arg(formatTime(quint64(qMax<qint64>(0, t))), 0, QLatin1Char(' ')));
    m_remaining->setText(tr("Time Remaining: %1").arg(formatTime(0)));
}

void ProgressControl::onRestartTimer()
{
    QMutexLocker lock(&m_mutex);
    m_segmentStart = m_clock();
}

void ProgressControl::onButtonPause()
{
    const bool paused = isPaused();
    if (paused)
        resume();
    else
        pause();
    updatePauseButton(!paused);
}

void ProgressControl::showEvent(QShowEvent* event)
{
    m_viewTimer.start(1000);
    QFrame::showEvent(event);
}

void ProgressControl::hideEvent(QHideEvent* event)
{
    m_viewTimer.stop();
    QFrame::hideEvent(event);
}
