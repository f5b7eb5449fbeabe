#include "bench/pdf2word/RealProducerFigures.h"

#include <QRegularExpression>

namespace RealProducerFigures {

QMap<QString, Pdf2docxReference> pdf2docxReferences(const QString& readme)
{
    // | demo-whisper_2_3 (pages 25-27) | — | 0.661, 3 pages | 0.660, 10 pages |
    static const QRegularExpression row(QStringLiteral("^\\|\\s*(demo-[\\w-]+)\\s*(?:\\(pages (\\d+)-(\\d+)\\))?\\s*\\|"
                                                       "\\s*([0-9.]+)?[^|]*\\|\\s*([0-9.]+),\\s*(\\d+)"),
                                        QRegularExpression::MultilineOption);
    QMap<QString, Pdf2docxReference> references;
    for (QRegularExpressionMatchIterator it = row.globalMatch(readme); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        Pdf2docxReference reference;
        if (match.capturedLength(2) > 0) {
            reference.firstPage = match.captured(2).toInt();
            reference.lastPage = match.captured(3).toInt();
        }
        if (match.capturedLength(4) > 0)
            reference.passMark = match.captured(4).toDouble();
        reference.ssim = match.captured(5).toDouble();
        reference.printedPages = match.captured(6).toInt();
        references.insert(match.captured(1) + QStringLiteral(".pdf"), reference);
    }
    return references;
}

IcdarSummary icdarSummary(const QString& output)
{
    static const QRegularExpression line(QStringLiteral("relations P ([0-9.]+) R ([0-9.]+) F1 ([0-9.]+) .*tables gt (\\d+) written (\\d+); "
                                                        "docs with a gt table not written (\\d+); time ([0-9.]+) s;.* no docx (\\d+)"));
    const QRegularExpressionMatch match = line.match(output);
    IcdarSummary summary;
    if (!match.hasMatch())
        return summary;
    summary.read = true;
    summary.precision = match.captured(1).toDouble();
    summary.recall = match.captured(2).toDouble();
    summary.f1 = match.captured(3).toDouble();
    summary.truthTables = match.captured(4).toInt();
    summary.written = match.captured(5).toInt();
    summary.docsNotWritten = match.captured(6).toInt();
    summary.seconds = match.captured(7).toDouble();
    summary.withoutDocx = match.captured(8).toInt();
    return summary;
}

QList<IcdarDocument> icdarDocuments(const QString& errorOutput)
{
    static const QRegularExpression line(QStringLiteral("^(\\S+)\\s+gt=\\S+\\s+P [0-9.]+ R [0-9.]+ F1 ([0-9.]+) .*\\| rc (-?\\d+) "),
                                         QRegularExpression::MultilineOption);
    QList<IcdarDocument> documents;
    for (QRegularExpressionMatchIterator it = line.globalMatch(errorOutput); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        documents.append({match.captured(1), match.captured(2).toDouble(), match.captured(3).toInt()});
    }
    return documents;
}

SuiteResult suiteResult(const QString& output, const QString& errorOutput)
{
    static const QRegularExpression sample(QStringLiteral("^(\\S+\\.pdf)\\s+(?:ssim ([0-9.]+) need .* pages (\\d+)->(\\d+)|FAILED)"),
                                           QRegularExpression::MultilineOption);
    SuiteResult result;
    for (QRegularExpressionMatchIterator it = sample.globalMatch(errorOutput); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        SampleResult one;
        one.name = match.captured(1);
        one.converted = match.capturedLength(2) > 0;
        one.ssim = match.captured(2).toDouble();
        one.pages = match.captured(3).toInt();
        one.printedPages = match.captured(4).toInt();
        result.samples.append(one);
    }
    static const QRegularExpression summary(QStringLiteral("thresholds met (\\d+)/(\\d+), mean ssim ([0-9.]+), failed (\\d+),.* table extraction (\\w+)"));
    const QRegularExpressionMatch match = summary.match(output);
    if (match.hasMatch()) {
        result.read = true;
        result.thresholdsMet = match.captured(1).toInt();
        result.graded = match.captured(2).toInt();
        result.meanSsim = match.captured(3).toDouble();
        result.failed = match.captured(4).toInt();
        result.tableExact = match.captured(5) == QLatin1String("ok");
    }
    return result;
}

} // namespace RealProducerFigures
