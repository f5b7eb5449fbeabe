#include "PdfFacts.h"

#include "DebenuDocument.h"

namespace PdfFacts {

bool looksScanned(DebenuDocument& document)
{
    return document.fontCount() < 1 || !document.hasText();
}

} // namespace PdfFacts
