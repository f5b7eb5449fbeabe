#include "platform/pdflibrary/WholeImage.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <zlib.h>

namespace dpl {

namespace {

// ---- JPEG

struct JpegMarkers
{
    bool reachEnd = false;
    bool progressive = false;
};

bool isRestart(unsigned char marker)
{
    return marker >= 0xD0 && marker <= 0xD7;
}

// Follows the markers from the start-of-image marker: segments by their lengths, the data of a
// scan up to the next marker that is neither a stuffed zero nor a restart.
JpegMarkers followMarkers(const unsigned char* data, size_t size)
{
    JpegMarkers markers;
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return markers;
    size_t at = 2;
    while (at < size) {
        if (data[at] != 0xFF) { // bytes between segments, which decoders skip
            ++at;
            continue;
        }
        while (at < size && data[at] == 0xFF)
            ++at;
        if (at >= size)
            break;
        const unsigned char marker = data[at++];
        if (marker == 0xD9) {
            markers.reachEnd = true;
            break;
        }
        if (marker == 0x00 || marker == 0x01 || isRestart(marker))
            continue;
        if (size - at < 2)
            break;
        const size_t length = size_t(data[at]) << 8 | data[at + 1];
        if (length < 2)
            break;
        if (marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE)
            markers.progressive = true;
        at += length;
        if (marker != 0xDA)
            continue;
        while (at < size) {
            const auto* mark = static_cast<const unsigned char*>(std::memchr(data + at, 0xFF, size - at));
            if (!mark) {
                at = size;
                break;
            }
            at = size_t(mark - data);
            if (at + 1 < size && data[at + 1] != 0x00 && !isRestart(data[at + 1]))
                break;
            at += 2;
        }
    }
    return markers;
}

// A decoding that notes when the decoder needs data beyond the file's end.
struct JpegReading
{
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    jpeg_source_mgr source;
    std::jmp_buf failed;
    bool ranOut = false;
    bool dataMissing = false;
};

JpegReading* readingOf(j_common_ptr info)
{
    return static_cast<JpegReading*>(info->client_data);
}

void stopReading(j_common_ptr info)
{
    std::longjmp(readingOf(info)->failed, 1);
}

// A warning once the data has run out: the decoder went on with data that is not there.
void noteMessage(j_common_ptr info, int level)
{
    if (level < 0 && readingOf(info)->ranOut)
        readingOf(info)->dataMissing = true;
}

void silent(j_common_ptr) {}

void nothing(j_decompress_ptr) {}

// At the end of the data the decoder is handed an end-of-image marker, as libjpeg's own sources do.
boolean endOfData(j_decompress_ptr info)
{
    static const JOCTET end[2] = {0xFF, JPEG_EOI};
    readingOf(reinterpret_cast<j_common_ptr>(info))->ranOut = true;
    info->src->next_input_byte = end;
    info->src->bytes_in_buffer = 2;
    return TRUE;
}

void skipData(j_decompress_ptr info, long count)
{
    if (count <= 0)
        return;
    if (size_t(count) >= info->src->bytes_in_buffer) {
        endOfData(info);
        return;
    }
    info->src->next_input_byte += count;
    info->src->bytes_in_buffer -= size_t(count);
}

// Decodes a sequential JPEG at an eighth of its size (every coefficient is still read): true when
// its last row comes before its data runs out.
bool rowsReadWhole(const unsigned char* data, size_t size)
{
    JpegReading reading{};
    reading.info.err = jpeg_std_error(&reading.errors);
    reading.info.client_data = &reading;
    reading.errors.error_exit = stopReading;
    reading.errors.emit_message = noteMessage;
    reading.errors.output_message = silent;
    if (setjmp(reading.failed)) {
        jpeg_destroy_decompress(&reading.info);
        return false;
    }
    jpeg_create_decompress(&reading.info);
    reading.source.next_input_byte = data;
    reading.source.bytes_in_buffer = size;
    reading.source.init_source = nothing;
    reading.source.fill_input_buffer = endOfData;
    reading.source.skip_input_data = skipData;
    reading.source.resync_to_restart = jpeg_resync_to_restart;
    reading.source.term_source = nothing;
    reading.info.src = &reading.source;
    jpeg_read_header(&reading.info, TRUE);
    reading.info.scale_num = 1;
    reading.info.scale_denom = 8;
    reading.info.dct_method = JDCT_IFAST;
    reading.info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&reading.info);
    JSAMPARRAY row = (*reading.info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&reading.info), JPOOL_IMAGE,
                                                       reading.info.output_width * reading.info.output_components, 1);
    while (reading.info.output_scanline < reading.info.output_height && !reading.dataMissing)
        jpeg_read_scanlines(&reading.info, row, 1);
    const bool whole = !reading.dataMissing;
    jpeg_destroy_decompress(&reading.info);
    return whole;
}

// ---- PNG and BMP

unsigned long bigEndian32(const unsigned char* bytes)
{
    return (unsigned long)bytes[0] << 24 | (unsigned long)bytes[1] << 16 | (unsigned long)bytes[2] << 8 | bytes[3];
}

unsigned long littleEndian32(const unsigned char* bytes)
{
    return (unsigned long)bytes[3] << 24 | (unsigned long)bytes[2] << 16 | (unsigned long)bytes[1] << 8 | bytes[0];
}

unsigned littleEndian16(const unsigned char* bytes)
{
    return unsigned(bytes[1]) << 8 | bytes[0];
}

// True when the zlib stream of the rows runs to its end.
bool rowsEnd(const std::vector<unsigned char>& rows)
{
    z_stream stream = {};
    if (inflateInit(&stream) != Z_OK)
        return false;
    stream.next_in = const_cast<unsigned char*>(rows.data());
    stream.avail_in = uInt(rows.size());
    std::vector<unsigned char> discard(1 << 16);
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = discard.data();
        stream.avail_out = uInt(discard.size());
        result = inflate(&stream, Z_NO_FLUSH);
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END;
}

// RLE4 and RLE8 codes from at: true when they reach their end-of-bitmap code, or end as many rows
// as the picture has.
bool runLengthsEnd(const unsigned char* data, size_t size, size_t at, unsigned long rows, bool fourBits)
{
    unsigned long ended = 0;
    while (size >= 2 && at <= size - 2) {
        const unsigned char count = data[at];
        const unsigned char code = data[at + 1];
        at += 2;
        if (count != 0)
            continue; // a run of one value
        if (code == 0) {
            if (++ended >= rows)
                return true;
        } else if (code == 1) {
            return true;
        } else if (code == 2) {
            if (size - at < 2)
                return false;
            ended += data[at + 1];
            at += 2;
        } else {
            // code values follow, padded to whole 16-bit words
            const size_t bytes = fourBits ? (size_t(code) + 1) / 2 : code;
            at += (bytes + 1) / 2 * 2;
        }
    }
    return ended >= rows;
}

} // namespace

bool isWholeJpeg(const unsigned char* data, size_t size)
{
    const JpegMarkers markers = followMarkers(data, size);
    if (markers.reachEnd)
        return true;
    return !markers.progressive && rowsReadWhole(data, size);
}

bool isWholePng(const unsigned char* data, size_t size)
{
    std::vector<unsigned char> rows;
    size_t at = 8;
    while (size >= 12 && at <= size - 12) {
        const unsigned long length = bigEndian32(data + at);
        if (length > size - at - 12)
            return false; // a chunk cut short
        if (std::memcmp(data + at + 4, "IEND", 4) == 0)
            return true;
        if (std::memcmp(data + at + 4, "IDAT", 4) == 0)
            rows.insert(rows.end(), data + at + 8, data + at + 8 + length);
        at += 12 + length;
    }
    return !rows.empty() && rowsEnd(rows);
}

bool isWholeBmp(const unsigned char* data, size_t size)
{
    if (size < 18)
        return false;
    const unsigned long headerSize = littleEndian32(data + 14);
    if (headerSize < 12 || size - 14 < headerSize)
        return false;
    const unsigned long offset = std::max(littleEndian32(data + 10), 14 + headerSize);
    unsigned long width = 0;
    unsigned long height = 0;
    unsigned bits = 0;
    unsigned long compression = 0;
    if (headerSize == 12) {
        width = littleEndian16(data + 18);
        height = littleEndian16(data + 20);
        bits = littleEndian16(data + 24);
    } else if (headerSize >= 16) {
        width = littleEndian32(data + 18);
        const long signedHeight = long(int32_t(littleEndian32(data + 22)));
        height = (unsigned long)(signedHeight < 0 ? -signedHeight : signedHeight);
        bits = littleEndian16(data + 28);
        if (headerSize >= 40)
            compression = littleEndian32(data + 30);
    }
    if (offset > size)
        return false;
    switch (compression) {
    case 0: // none
    case 3: // bit fields
    case 6: // bit fields with alpha
    {
        const unsigned long long stride = (static_cast<unsigned long long>(width) * bits + 31) / 32 * 4;
        return stride * height <= size - offset;
    }
    case 1:
    case 2:
        return runLengthsEnd(data, size, offset, height, compression == 2);
    default: // JPEG or PNG inside, OS/2 RLE24: their own decoder judges them
        return true;
    }
}

} // namespace dpl
