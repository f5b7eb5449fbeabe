#pragma once

#include "FbBook.h"

// Readers of the FictionBook elements. Those that produce markup append HTML to out; each
// returns true (false would stop the caller's walk).
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

// "<img src="reference" />" with the reference escaped for an attribute.
QString imageMarkup(const QString& reference);

} // namespace fb2
