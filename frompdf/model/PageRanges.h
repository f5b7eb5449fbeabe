#pragma once

#include "frompdf/engine/PageRange.h"

#include <QObject>

// The page ranges being edited in the page-range panel: the current list, the committed list
// that cancel returns to, the page limits, and whether the two lists differ.
class PageRanges : public QObject
{
    Q_OBJECT

public:
    explicit PageRanges(QObject* parent = nullptr);

    // Current and committed list both become ranges; not modified afterwards. No signal.
    void setRanges(const PageRangeList& ranges);
    void setLimits(int minimum, int maximum);
    // Appends (from, to) when both lie within the limits and from <= to; otherwise nothing
    // happens. A pair already present is appended again.
    void add(int from, int to);
    // Removes every pair equal to (from, to).
    void remove(int from, int to);
    void remove(const PageRange& range) { remove(range.first, range.second); }
    void clear();
    void commit();
    void revert();

    PageRangeList ranges() const { return m_current; }
    PageRangeList committedRanges() const { return m_committed; }
    bool isModified() const { return m_modified; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

signals:
    void changed();
    void added(int from, int to);

private:
    void updateModified();

    bool m_modified = false;
    int m_minimum = 0;
    int m_maximum = 0;
    PageRangeList m_current;
    PageRangeList m_committed;
};
