#include "frompdf/model/PageRanges.h"

PageRanges::PageRanges(QObject* parent)
    : QObject(parent)
{
}

void PageRanges::setRanges(const PageRangeList& ranges)
{
    m_current = ranges;
    m_committed = ranges;
    m_modified = false;
}

void PageRanges::setLimits(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

void PageRanges::add(int from, int to)
{
    const bool inside = m_minimum <= from && from <= m_maximum && m_minimum <= to && to <= m_maximum;
    if (!inside || from > to)
        return;
    m_current << PageRange(from, to);
    emit added(from, to);
    updateModified();
    emit changed();
}

void PageRanges::remove(int from, int to)
{
    if (m_current.removeAll(PageRange(from, to)) == 0)
        return;
    updateModified();
    emit changed();
}

void PageRanges::clear()
{
    m_current.clear();
    updateModified();
    emit changed();
}

void PageRanges::commit()
{
    m_committed = m_current;
    m_modified = false;
    emit changed();
}

void PageRanges::revert()
{
    m_current = m_committed;
    m_modified = false;
    emit changed();
}

void PageRanges::updateModified()
{
    m_modified = m_current != m_committed;
}
