#pragma once

#include <QMap>
#include <QString>

// Counts the conversion kinds of one run ("todocx", "frompng", ...) and describes them as one
// short text for the usage metrics. Each run keeps its own counter.
class WorkflowCounter
{
public:
    void add(const QString& key);

    // Keys in ascending order joined with ",". A key counted twice or more is written "key_count",
    // unless it is the only key: three DOCX files give "todocx", two DOCX files and one RTF file
    // give "todocx_2,tortf".
    QString toString() const;

private:
    QMap<QString, int> m_counts;
};
