#pragma once

#include <QList>
#include <QMap>
#include <QString>

// Figures read from what the real-producer scorers print (word-tables-icdar.py and
// word-pdf2docx-suite.py) and from the corpus's README, which keeps pdf2docx's figures in one place.
namespace RealProducerFigures {

// A row of the README's table of pdf2docx's samples: the pages the suite converts, pdf2docx's pass
// mark (negative where it sets none), and pdf2docx's own similarity and printed pages.
struct Pdf2docxReference
{
    int firstPage = 1;
    int lastPage = 1;
    double passMark = -1;
    double ssim = 0;
    int printedPages = 0;
};

// The table's rows keyed by the sample's file name ("demo-text.pdf").
QMap<QString, Pdf2docxReference> pdf2docxReferences(const QString& readme);

// The ICDAR scorer's summary line (read is false when it printed none).
struct IcdarSummary
{
    bool read = false;
    double precision = 0;
    double recall = 0;
    double f1 = 0;
    int truthTables = 0;
    int written = 0;
    int docsNotWritten = 0; // documents with a truth table that no DOCX table holds
    double seconds = 0;     // the conversions' times summed
    int withoutDocx = 0;
};

IcdarSummary icdarSummary(const QString& output);

// The ICDAR scorer's line for one document.
struct IcdarDocument
{
    QString name;
    double f1 = 0;
    int returnCode = 0;
};

QList<IcdarDocument> icdarDocuments(const QString& errorOutput);

// The pdf2docx suite's line for one sample.
struct SampleResult
{
    QString name; // file name
    bool converted = false;
    double ssim = 0;
    int pages = 0;
    int printedPages = 0;
};

struct SuiteResult
{
    bool read = false; // its summary line was there
    QList<SampleResult> samples;
    int thresholdsMet = 0;
    int graded = 0;
    double meanSsim = 0;
    int failed = 0;
    bool tableExact = false;
};

SuiteResult suiteResult(const QString& output, const QString& errorOutput);

} // namespace RealProducerFigures
