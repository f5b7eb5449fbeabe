#pragma once

#include <QByteArray>

// Decompression of the text records of a MOBI book. Every decoder takes the most bytes the record
// may yield and stops there, so a small damaged or hostile record cannot expand without end.
namespace mobi {

class HuffCdicReader;

enum class Compression {
    None,
    PalmDoc,
    HuffCdic
};

// The compression that the PalmDOC header's value names: 2 PalmDoc, 17480 HUFF/CDIC, anything
// else none.
Compression compressionFromValue(quint16 value);

// One record's text, at most limit bytes. Kind HuffCdic decodes with huff and gives nothing when
// huff is null or could not load its tables; kind None passes the bytes through.
QByteArray decompress(const QByteArray& record, Compression kind, int limit, HuffCdicReader* huff);

// The LZ77 scheme of PalmDOC books. Decoding stops, keeping what it produced, at a command that
// runs past the end of the record or refers back before the start of the output.
QByteArray palmDocDecompress(const QByteArray& record, int limit);

} // namespace mobi
