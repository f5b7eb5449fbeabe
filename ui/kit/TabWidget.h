#pragma once

#include <QMap>
#include <QWidget>

class QHBoxLayout;
class QLabel;
class QStackedLayout;
class TabButton;

// The program's tab container: a bar of TabButtons above a stack of pages, drawn by the style
// sheet. A page may have no button (the start page), other widgets can sit at the bar's right
// end, and the bar takes its "tabs" look for good the first time a page with a button is shown.
class TabWidget : public QWidget
{
    Q_OBJECT
public:
    explicit TabWidget(QWidget* parent = nullptr);
    TabWidget(const QString& objectName, const QString& barLabelName, QWidget* parent = nullptr);

    // Appends page (callers pass index == the page count); button may be null.
    int insertTab(QWidget* page, int index, TabButton* button);
    void addBarWidget(QWidget* widget, Qt::Alignment alignment = Qt::Alignment());

    int currentIndex() const { return m_currentIndex; }
    void setCurrentIndex(int index);

    int count() const { return m_pageCount; }
    QWidget* barLabel() const;

signals:
    // A tab button was released; the old page is still current.
    void beginIndexChanged(int index);
    void currentIndexChanged(int index);

private slots:
    void tabButtonClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void build(const QString& objectName);

    QMap<int, TabButton*> m_buttons;
    QStackedLayout* m_pages = nullptr;
    QHBoxLayout* m_barRow = nullptr;
    int m_currentIndex = 0;
    int m_pageCount = 0;
    QLabel* m_barLabel = nullptr;
    QString m_barLabelName;
};
