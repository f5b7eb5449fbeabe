// Fuzzes the PDF-to-Word engine on one page: the first page of each input is converted to plain
// text, the road with the least writing, so the time goes to opening the file with the MuPDF
// base, reading the page (structured text, rulings, shapes, pictures, right-to-left lines), laying
// it out (tables, figures, footnotes, reading order, paragraphs) and building the document, under
// the page limits of a real conversion. Checks the engine's promises about its output: written
// only on success, never a temporary file left beside it, a reason for every failure.
#include "platform/pdf2word/engine/Conversion.h"
#include "platform/pdf2word/engine/Pdf2WordEngine.h"
#include "tests/fuzz/targets/PdfFuzzing.h"

#include <dirent.h>
#include <unistd.h>

namespace {

// The names in the folder, "." and ".." aside.
int entriesIn(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        PdfFuzzing::fail("the output folder is gone");
    int count = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        count += name != "." && name != "..";
    }
    closedir(dir);
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& source = PdfFuzzing::writeInput(data, size);
    const std::string output = PdfFuzzing::outputFolder() + "/page.txt";
    QpPdf2WordJob job = {};
    job.source = source.c_str();
    job.password = "";
    job.output = output.c_str();
    job.format = QP_PDF2WORD_TXT;
    job.firstPage = 1;
    job.lastPage = 1;
    job.mode = QP_PDF2WORD_LAYOUT;
    const int result = p2w::Conversion(job).run();

    if (result < QP_PDF2WORD_OK || result > QP_PDF2WORD_BAD_REQUEST)
        PdfFuzzing::fail("an answer that is no QpPdf2WordResult");
    const bool written = access(output.c_str(), F_OK) == 0;
    if (written != (result == QP_PDF2WORD_OK))
        PdfFuzzing::fail(written ? "an output left by a failed conversion" : "no output after success");
    if (entriesIn(PdfFuzzing::outputFolder()) != (written ? 1 : 0))
        PdfFuzzing::fail("a temporary file left beside the output");
    if (result != QP_PDF2WORD_OK && job.message[0] == 0)
        PdfFuzzing::fail("a failure without a reason");
    unlink(output.c_str());
    return 0;
}
