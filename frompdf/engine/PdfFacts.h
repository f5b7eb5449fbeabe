#pragma once

class DebenuDocument;

namespace PdfFacts {

// A PDF looks scanned when it has no fonts, or has fonts but no page gives any text.
bool looksScanned(DebenuDocument& document);

} // namespace PdfFacts
