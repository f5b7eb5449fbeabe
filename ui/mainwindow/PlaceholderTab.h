#pragma once

#include <QFrame>
#include <QStringList>

// An empty page that holds a conversion tab's place in the main window until the tab itself is
// built. It has the tab's interface towards the main window (files handed over, run started and
// finished), so the window's wiring stays the same when the real tab takes its place. Files
// handed to it are only kept.
class PlaceholderTab : public QFrame
{
    Q_OBJECT
public:
    explicit PlaceholderTab(QWidget* parent = nullptr);

    // The files handed over so far, in order.
    QStringList files() const { return m_files; }

signals:
    void started();
    void finished();

public slots:
    void addFiles(const QStringList& files);

private:
    QStringList m_files;
};
