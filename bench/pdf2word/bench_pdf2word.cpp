// PDF to DOCX through the PDF-to-Word component against LibreOffice's own PDF import
// ("soffice --infilter=writer_pdf_import --convert-to docx"), on the same inputs in one run:
//   1. a 30-page text PDF;
//   2. a 10-page PDF with pictures.
// For each: the time (best of n runs; LibreOffice with a warmed-up profile) and the share of the
// source's words (pdftotext) that the DOCX holds, read back by LibreOffice to PDF and pdftotext,
// and, as a second view, found in the text stored in the DOCX. Laying out LibreOffice's own
// imported DOCX again takes LibreOffice minutes, so a run takes about ten minutes.
// Usage: build/bin/bench_pdf2word [repetitions]

#include "BaselineTools.h"
#include "ComClassTable.h"
#include "ComRuntime.h"
#include "DocumentPdfs.h"
#include "Pdf2WordLib.h"
#include "Pdf2WordRegistration.h"
#include "ToolPaths.h"
#include "FileSystem.h"
#include "TestFiles.h"
#include "TestPdfs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>

#include <algorithm>
#include <functional>

namespace {

// Debian's LibreOffice itself, the baseline (not the program folder's link to it).
const char* const kSoffice = "/usr/lib/libreoffice/program/soffice";

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

double bestOf(int n, const std::function<void()>& work)
{
    double best = 1e30;
    for (int i = 0; i < n; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

// count sentences of plain prose, different for every start.
QString sentences(int& next, int count)
{
    static const char* subjects[] = {"The committee", "Our survey team", "A small workshop", "The harbour office",
                                     "Each delegate", "The new bakery", "An old ferryman"};
    static const char* verbs[] = {"reviewed", "painted", "measured", "described", "collected", "repaired", "ordered"};
    static const char* things[] = {"the northern bridge", "seventeen copper lanterns", "the quarterly budget",
                                   "an abandoned railway signal", "the orchard fences", "three marble tables",
                                   "a crate of yellow candles"};
    static const char* endings[] = {"before the winter storms arrived", "with unusual patience",
                                    "during the long grey morning", "for the village archive", "despite the thunder",
                                    "at the request of the captain", "while the market was closing"};
    QStringList result;
    for (int s = 0; s < count; ++s, ++next) {
        result << QStringLiteral("%1 %2 %3 %4.")
                      .arg(QLatin1String(subjects[next % 7]), QLatin1String(verbs[(next / 7 + next) % 7]),
                           QLatin1String(things[(next * 5 + 1) % 7]), QLatin1String(endings[(next * 3 + next / 49) % 7]));
    }
    return result.join(QLatin1Char(' '));
}

QImage picture(int index)
{
    QImage image(480, 280, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 480, 280);
    gradient.setColorAt(0, QColor::fromHsv((index * 47) % 360, 160, 230));
    gradient.setColorAt(1, QColor::fromHsv((index * 47 + 120) % 360, 200, 120));
    painter.fillRect(image.rect(), gradient);
    painter.setBrush(Qt::white);
    for (int bar = 0; bar < 6; ++bar)
        painter.drawRect(30 + bar * 70, 250 - (bar * 37 + index * 13) % 200, 40, (bar * 37 + index * 13) % 200);
    return image;
}

bool writeInputs(const QString& textPdf, const QString& picturePdf)
{
    int next = 0;
    QString text;
    for (int page = 1; page <= 30; ++page) {
        const QString style = page > 1 ? QStringLiteral(" style=\"page-break-before:always\"") : QString();
        text += QStringLiteral("<h2%1>Chapter %2</h2>").arg(style).arg(page);
        for (int paragraph = 0; paragraph < 4; ++paragraph)
            text += QStringLiteral("<p>%1</p>").arg(sentences(next, 3));
    }
    QString pictures;
    QList<QImage> images;
    for (int page = 1; page <= 10; ++page) {
        const QString style = page > 1 ? QStringLiteral(" style=\"page-break-before:always\"") : QString();
        pictures += QStringLiteral("<h2%1>Figure page %2</h2><p>%3</p><p><img src=\"image%4\" width=\"360\" height=\"210\"></p><p>%5</p>")
                        .arg(style)
                        .arg(page)
                        .arg(sentences(next, 3))
                        .arg(page - 1)
                        .arg(sentences(next, 2));
        images << picture(page);
    }
    return DocumentPdfs::writeHtmlPdf(textPdf, text) && DocumentPdfs::writeHtmlPdf(picturePdf, pictures, images);
}

bool convertWithComponent(const QString& source, const QString& output, int pages)
{
    IPdf2Word* component = nullptr;
    if (FAILED(CoCreateInstanceFromProgID(QStringLiteral(PDF2WORD_PROGID).toStdWString().c_str(), nullptr, CLSCTX_ALL,
                                          IID_IPdf2Word, reinterpret_cast<void**>(&component))))
        return false;
    BSTR sourceText = SysAllocString(source.toStdWString().c_str());
    BSTR outputText = SysAllocString(output.toStdWString().c_str());
    VARIANT password;
    VARIANT first;
    VARIANT last;
    VariantInit(&password);
    VariantInit(&first);
    VariantInit(&last);
    password.vt = VT_BSTR;
    password.bstrVal = SysAllocString(L"");
    first.vt = VT_INT;
    first.intVal = 1;
    last.vt = VT_INT;
    last.intVal = pages;
    const HRESULT result = component->ConvertToWord(sourceText, outputText, password, first, last);
    VariantClear(&password);
    SysFreeString(sourceText);
    SysFreeString(outputText);
    component->Release();
    return SUCCEEDED(result);
}

class Office
{
public:
    explicit Office(const QString& profile) : m_profile(QUrl::fromLocalFile(profile).toString()) {}

    bool run(const QStringList& arguments) const
    {
        QStringList all = {QStringLiteral("--headless"), QStringLiteral("-env:UserInstallation=%1").arg(m_profile)};
        all += arguments;
        return TestFiles::run(QLatin1String(kSoffice), all, nullptr, nullptr, 600000) == 0;
    }
    // LibreOffice's PDF import, straight to DOCX in folder.
    bool importToDocx(const QString& pdf, const QString& folder) const
    {
        return run({QStringLiteral("--infilter=writer_pdf_import"), QStringLiteral("--convert-to"),
                    QStringLiteral("docx:MS Word 2007 XML"), QStringLiteral("--outdir"), folder, pdf});
    }
    bool toPdf(const QString& document, const QString& folder) const
    {
        return run({QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"), folder, document});
    }

private:
    QString m_profile;
};

// The share of the reference's words (with their counts) found in the other text.
double wordShare(const QString& reference, const QString& other)
{
    QHash<QString, int> counts;
    for (const QString& word : DocumentPdfs::words(other))
        ++counts[word];
    const QStringList words = DocumentPdfs::words(reference);
    int found = 0;
    for (const QString& word : words) {
        int& left = counts[word];
        if (left > 0) {
            --left;
            ++found;
        }
    }
    return words.isEmpty() ? 1.0 : double(found) / words.size();
}

// The words of a DOCX as LibreOffice lays it out, read with pdftotext.
QString docxText(const Office& office, const QString& docx, const QString& folder)
{
    QDir().mkpath(folder);
    if (!office.toPdf(docx, folder))
        return QString();
    return TestPdfs::pdfText(folder + QLatin1Char('/') + QFileInfo(docx).completeBaseName() + QStringLiteral(".pdf"));
}

// The text of a DOCX's body as it is stored: the contents of its text elements, one line each.
QString storedText(const QString& docx)
{
    const QString body = QString::fromUtf8(DocumentPdfs::zipEntry(docx, QStringLiteral("word/document.xml")));
    static const QRegularExpression text(QStringLiteral("<w:t(?: [^>]*)?>([^<]*)</w:t>"));
    QStringList pieces;
    for (QRegularExpressionMatchIterator it = text.globalMatch(body); it.hasNext();)
        pieces << it.next().captured(1);
    return pieces.join(QLatin1Char('\n'));
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (!requireBaselineTools({{QLatin1String(kSoffice), QStringLiteral("libreoffice-writer-nogui")},
                               {QStringLiteral("pdftotext"), QStringLiteral("poppler-utils")}}))
        return 2;
    const int repetitions = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;
    QTemporaryDir work;
    const QString root = work.path();
    registerPdf2WordComponent({ToolPaths::path(ToolPaths::Pdf2WordEngine), ToolPaths::path(ToolPaths::Soffice), FileSystem::cachePath()});
    const Office office(root + QStringLiteral("/profile"));

    const QString textPdf = root + QStringLiteral("/text30.pdf");
    const QString picturePdf = root + QStringLiteral("/pictures10.pdf");
    if (!writeInputs(textPdf, picturePdf)) {
        out() << "Could not write the inputs\n";
        return 1;
    }
    // The first start of LibreOffice builds its profile; keep that out of the timings.
    office.toPdf(picturePdf, root + QStringLiteral("/warm-up"));

    out() << "PDF to DOCX, best of " << repetitions << " runs. Word share: the source's words (pdftotext) found in\n"
          << "the DOCX laid out by LibreOffice and read with pdftotext (\"laid out\"), and in the text stored in\n"
          << "the DOCX (\"stored\").\n\n";
    out() << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
                 .arg(QStringLiteral("input"), -18)
                 .arg(QStringLiteral("ours s"), 8)
                 .arg(QStringLiteral("LO s"), 8)
                 .arg(QStringLiteral("speed-up"), 9)
                 .arg(QStringLiteral("ours laid out"), 14)
                 .arg(QStringLiteral("LO laid out"), 12)
                 .arg(QStringLiteral("ours stored"), 12)
                 .arg(QStringLiteral("LO stored"), 10);
    bool ok = true;
    const struct
    {
        QString name;
        QString pdf;
        int pages;
    } inputs[] = {{QStringLiteral("30 pages of text"), textPdf, 30}, {QStringLiteral("10 pages, pictures"), picturePdf, 10}};
    for (const auto& input : inputs) {
        const QString base = QFileInfo(input.pdf).completeBaseName();
        const QString ours = root + QStringLiteral("/ours/") + base + QStringLiteral(".docx");
        const QString theirs = root + QStringLiteral("/lo");
        QDir().mkpath(root + QStringLiteral("/ours"));
        bool converted = true;
        const double oursTime = bestOf(repetitions, [&] { converted = convertWithComponent(input.pdf, ours, input.pages) && converted; });
        const double officeTime = bestOf(repetitions, [&] { converted = office.importToDocx(input.pdf, theirs) && converted; });
        const QString source = TestPdfs::pdfText(input.pdf);
        const QString theirDocx = theirs + QLatin1Char('/') + base + QStringLiteral(".docx");
        const double oursShare = wordShare(source, docxText(office, ours, root + QStringLiteral("/ours-back")));
        const double officeShare = wordShare(source, docxText(office, theirDocx, root + QStringLiteral("/lo-back")));
        auto percent = [](double share, int width) {
            return QStringLiteral("%1%").arg(share * 100, 0, 'f', 1).rightJustified(width);
        };
        ok = ok && converted;
        out() << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
                     .arg(input.name, -18)
                     .arg(oursTime, 8, 'f', 3)
                     .arg(officeTime, 8, 'f', 3)
                     .arg(QStringLiteral("%1x").arg(officeTime / oursTime, 0, 'f', 1), 9)
                     .arg(percent(oursShare, 14), percent(officeShare, 12),
                          percent(wordShare(source, storedText(ours)), 12), percent(wordShare(source, storedText(theirDocx)), 10));
        out().flush();
    }
    out() << "\nTargets: speed-up at least 10x, our word share at least 98%.\n";
    return ok ? 0 : 1;
}
