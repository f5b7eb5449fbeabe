#pragma once

#include "frompdf/engine/PageRange.h"

#include <QSharedPointer>
#include <QString>

class DebenuService;

namespace RangeExtraction {

// Writes the pages of all ranges, in order, into one unencrypted PDF at output. An encrypted
// source (or one with a password) is decrypted into a work file first. When the library cannot
// extract the list in one step, each range is extracted on its own and the parts are merged;
// any range that fails fails the whole extraction, so a partial document never counts as the
// ranges. Work files are removed. True when output holds every page of every range.
bool extractToFile(QSharedPointer<DebenuService> service, const QString& source, const QString& password,
                   bool encrypted, const PageRangeList& ranges, const QString& output);

} // namespace RangeExtraction
