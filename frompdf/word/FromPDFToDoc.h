#pragma once

#include "frompdf/word/CPDF2WordWrapper.h"

#include <QObject>
#include <QString>

class IProgress;

// Converts a page range of a PDF into a document file (format by the output's suffix) with the
// PDF-to-Word component: creates it by its ProgID, sets its options in a fixed order, connects to
// its events, converts synchronously on the calling thread and reduces the outcome to a status:
// 0 success, 4 a failure, 5 a failure the component's mode 2 may overcome (the caller retries once
// with setMode(2)). Pause and stop reach the component as the answers to its progress events.
class FromPDFToDoc : public QObject, public CPDF2WordWrapper
{
    Q_OBJECT

public:
    enum Status {
        Converted = 0,
        Failed = 4,
        RetryInMode2 = 5
    };

    // progress may be null; it is not owned.
    FromPDFToDoc(const QString& sourcePath, const QString& password, const QString& outputPath, int firstPage,
                 int lastPage, IProgress* progress, QObject* parent = nullptr);

    void convert();
    int status() const { return m_status; }
    void setMode(int mode) { m_mode = mode; }

    int onConvertProgress(int current, int total, BSTR text) override;
    void onConvertFinished(int pages) override;

signals:
    void progressChanged(int current, int total);
    void finished();

private:
    HRESULT setOptions(IPdf2Word* component);
    HRESULT runConversion(IPdf2Word* component, bool* connected);
    void onComError(HRESULT result);

    QString m_sourcePath;
    QString m_password;
    int m_firstPage;
    int m_lastPage;
    QString m_outputPath;
    int m_status = Converted;
    IProgress* m_progress;
    int m_mode = 0;
    bool m_stopAnswered = false;
};
