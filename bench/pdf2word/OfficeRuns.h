#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// LibreOffice runs a benchmark starts and waits for later, so that other work goes on meanwhile.
// Each run has a profile of its own (runs may overlap) and takes many files at once.
QProcess* startOffice(const QString& soffice, const QString& profile, const QStringList& arguments);

// Prints every DOCX in folder to a PDF of the same name in printed.
QProcess* startPrinting(const QString& soffice, const QString& folder, const QString& printed, const QString& profile);

// Waits for a run (15 minutes at most, then ends it) and deletes it.
void finishOffice(QProcess* process);
