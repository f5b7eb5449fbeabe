#pragma once

#include "quillbook/epub/EpubBook.h"

#include <QString>

namespace epub {

// Published books often obfuscate their fonts: META-INF/encryption.xml lists them, and the first
// bytes of each are XORed with a key made from the book's identifier, so that the files cannot be
// installed as fonts as they are. restoreObfuscatedFonts() undoes the two obfuscations in use in
// the book unpacked below workFolder, in place, so that the fonts load as fonts:
// - "http://www.idpf.org/2008/embedding": the first 1040 bytes, with the SHA-1 digest of the
//   package's unique identifier (without white space) as the key;
// - "http://ns.adobe.com/pdf/enc#RC": the first 1024 bytes, with the 16 bytes of the UUID in the
//   identifier ("urn:uuid:...") as the key.
// Only fonts are restored: those the manifest types as fonts, or names with a font suffix without
// a more specific type. Other items listed there, and files encrypted by any other method, stay
// as they are; each is logged. Only files inside workFolder are touched, each once. Returns the
// number of files restored.
int restoreObfuscatedFonts(const QString& workFolder, const EpubBook& book);

} // namespace epub
