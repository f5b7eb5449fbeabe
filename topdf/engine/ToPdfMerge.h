#pragma once

#include "pdflib/service/DocumentProperties.h"

#include <QList>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

class DebenuService;

// Joins the part files of a merging run into one PDF with the run's properties. Either the merged
// file is written and the parts are removed, or the parts are kept: moved into the output folder
// under their own names, so that no converted page is lost. A part that cannot be moved there is
// removed all the same: nothing is left in the cache folder.
class ToPdfMerge
{
public:
    struct Part
    {
        QString path; // the part file in the cache folder
        QString name; // the name it keeps when merging fails, such as "report.pdf"
    };

    explicit ToPdfMerge(QSharedPointer<DebenuService> service);

    // Merges the parts that exist, in order, into folder/fileName (with a counter in front when
    // that name exists); one part alone becomes the merged file. The folder is created first.
    // True when the merged file was written.
    bool merge(const QList<Part>& parts, const QString& folder, const QString& fileName,
               const DocumentProperties& properties);

    QString mergedPath() const { return m_mergedPath; }
    // Where the parts went when merging failed, in part order.
    QStringList keptPaths() const { return m_keptPaths; }

private:
    bool write(const QStringList& files, const QString& target, const DocumentProperties& properties);
    void keep(const QList<Part>& parts, const QString& folder);

    QSharedPointer<DebenuService> m_service;
    QString m_mergedPath;
    QStringList m_keptPaths;
};
