#pragma once

#include "frompdf/engine/PdfInformation.h"

#include <QObject>
#include <QSharedPointer>

class DebenuService;

// Re-opens one PDF with the password the user typed and reports what it learned. Runs
// synchronously on the caller's thread: construct, call run(), read information().
class InformationWorker : public QObject
{
    Q_OBJECT

public:
    // unused: callers pass 0.
    InformationWorker(QSharedPointer<DebenuService> service, const QString& path, const QString& password,
                      int unused = 0, QObject* parent = nullptr);

    bool isDone() const { return m_done; }
    PdfInformation information() const { return m_information; }
    // The file opened (with or without the password); false when it is no PDF the library reads.
    bool isLoaded() const { return m_loaded; }

public slots:
    void run();

signals:
    void finished();
    void started();

private:
    QSharedPointer<DebenuService> m_service;
    QString m_path;
    QString m_password;
    PdfInformation m_information;
    bool m_done = false;
    bool m_loaded = false;
};
