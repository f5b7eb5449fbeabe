#include "frompdf/engine/PdfFacts.h"

#include "pdflib/service/DebenuDocument.h"

namespace PdfFacts {

bool looksScanned(DebenuDocument& document)
{
    return document.fontCount() < 1 || !document.hasText();
}

} // namespace PdfFacts
