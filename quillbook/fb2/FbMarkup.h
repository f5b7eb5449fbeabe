#pragma once

#include "quillbook/fb2/FbBook.h"

// Readers of the FictionBook elements. Those that produce markup append HTML to out; each
// returns true (false would stop the caller's walk). Text is kept whatever element holds it: an
// element these readers do not know inside a paragraph gives its text without markup.
namespace fb2 {

bool readSection(const QDomElement& element, FbSection& section);
bool readTitle(const QDomElement& element, QString& out);
bool readEpigraph(const QDomElement& element, QString& out);
bool readCite(const QDomElement& element, QString& out);
bool readPoem(const QDomElement& element, QString& out);
bool readStanza(const QDomElement& element, QString& out);
bool readInline(const QDomElement& element, QString& out);

// The picture an "image" element refers to: "l:href", else the first attribute whose name holds
// "href"; one leading "#" removed.
QString readImage(const QDomElement& element);
// The value of the element's last direct text child.
QString readText(const QDomElement& element);

// "<img src="reference" />" with the reference made a relative address (so that ids holding
// "#", "?" or "%" still name their file) and escaped for an attribute.
QString imageMarkup(const QString& reference);

// An empty anchor that a link to id can point at.
QString anchorMarkup(const QString& id);

} // namespace fb2
