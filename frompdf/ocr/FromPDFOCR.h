#pragma once

#include "frompdf/ocr/OcrPageReader.h"

#include <QMap>
#include <QObject>
#include <QSharedPointer>
#include <QString>

#include <functional>
#include <memory>

class DebenuDocument;
class DebenuService;
class IProgress;

// Turns one page range of a PDF into one text document by optical character recognition: each
// page is rendered to a temporary 300-dpi JPEG, prepared and recognised, and at the end the
// texts are written as UTF-8 text, as HTML or an OpenDocument text written directly, or through
// LibreOffice as doc, docx, rtf or odt. Runs synchronously on the conversion thread.
class FromPDFOCR : public QObject
{
    Q_OBJECT

public:
    enum ErrorType {
        NoError = 0,
        LoadFailed = 1,     // the PDF did not open
        PasswordFailed = 2, // the PDF needs a password that was not given or is wrong
        EngineFailed = 3,   // the language data could not be loaded
        PageFailed = 4,     // a page was not rendered or its image not read
        Stopped = 5,        // the progress reported a stop
        SaveFailed = 6,     // the output was not written
    };

    // Turns the task's OCR language code (such as "EN") into a Tesseract data name ("eng").
    using LanguageResolver = std::function<QString(const QString& code)>;

    // progress may be null (the conversion can then be neither paused nor stopped); not owned.
    // languages is the application's OCR language table; without one, a code whose lower-cased
    // name has installed data is used as it is, any other gives "eng".
    FromPDFOCR(QSharedPointer<DebenuService> service, const QString& sourcePath, const QString& password,
               const QString& outputPath, int firstPage, int lastPage, const QString& ocrLanguage,
               bool buildParagraphs, IProgress* progress, LanguageResolver languages = {},
               QObject* parent = nullptr);
    ~FromPDFOCR() override;

    // The whole conversion; emits progressChanged before each page and finished() at the end.
    void run();
    int errorType() const { return m_errorType; }

    // The program folder's "tessdata", native separators.
    static QString tessdataPath();
    QString tesseractLanguage() const;

signals:
    // current: the position of the page within the range, from 1; total: the range's page count.
    void progressChanged(int current, int total);
    void finished();

private:
    enum Step {
        Load = 0,
        Recognize = 1,
        Save = 2,
        Done = 3
    };

    void load();
    void recognizeNextPage();
    bool scanPage(int page, QString* text);
    void save();
    bool saveText(const QString& path);
    void savePages();
    void saveParagraphs();
    void saveThroughOffice(const QString& html);
    bool writeHtml(const QString& path, const QString& html);
    void fail(int errorType);

    bool m_done = false;
    int m_step = Done;
    int m_errorType = NoError;
    IProgress* m_progress;
    QSharedPointer<DebenuService> m_service;
    std::unique_ptr<DebenuDocument> m_document;
    OcrPageReader m_reader;
    QString m_sourcePath;
    QString m_outputPath;
    QString m_password;
    int m_firstPage;
    int m_lastPage;
    int m_currentPage;
    QMap<int, QString> m_pageTexts;
    QString m_ocrLanguage;
    bool m_buildParagraphs;
    LanguageResolver m_languages;
};
