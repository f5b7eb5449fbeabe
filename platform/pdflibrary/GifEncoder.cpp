#include "RasterEncoders.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <unordered_map>

// GIF holds at most 256 colours. A page with no more than that (text on white, flat graphics) keeps
// its exact colours; any other is reduced by median cut over a 15-bit colour histogram, without
// dithering so that text edges stay clean.

namespace dpl {

namespace {

using Palette = std::vector<uint32_t>;  // 0xRRGGBB

uint32_t pixelAt(const unsigned char* p)
{
    return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

// Exact palette and per-pixel indices when the raster has at most 256 colours.
bool exactColours(const RgbRaster& raster, Palette& palette, std::vector<uint8_t>& indices)
{
    std::unordered_map<uint32_t, uint8_t> lookup;
    lookup.reserve(512);
    uint32_t lastColour = 0xFFFFFFFF;
    uint8_t lastIndex = 0;
    for (int y = 0; y < raster.height; ++y) {
        const unsigned char* row = raster.row(y);
        uint8_t* target = indices.data() + size_t(y) * raster.width;
        for (int x = 0; x < raster.width; ++x) {
            const uint32_t colour = pixelAt(row + x * 3);
            if (colour != lastColour) {
                auto found = lookup.find(colour);
                if (found == lookup.end()) {
                    if (palette.size() == 256)
                        return false;
                    found = lookup.emplace(colour, uint8_t(palette.size())).first;
                    palette.push_back(colour);
                }
                lastColour = colour;
                lastIndex = found->second;
            }
            target[x] = lastIndex;
        }
    }
    return true;
}

int bin15(const unsigned char* p)
{
    return ((p[0] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[2] >> 3);
}

struct Box
{
    std::vector<int> bins;  // non-empty histogram bins
    uint64_t weight = 0;
};

int channel(int bin, int which)
{
    return (bin >> (10 - 5 * which)) & 31;
}

void quantize(const RgbRaster& raster, Palette& palette, std::vector<uint8_t>& indices)
{
    std::vector<uint32_t> counts(32768, 0);
    for (int y = 0; y < raster.height; ++y) {
        const unsigned char* row = raster.row(y);
        for (int x = 0; x < raster.width; ++x)
            ++counts[bin15(row + x * 3)];
    }

    std::vector<Box> boxes(1);
    for (int bin = 0; bin < 32768; ++bin) {
        if (counts[bin]) {
            boxes[0].bins.push_back(bin);
            boxes[0].weight += counts[bin];
        }
    }
    // Split the heaviest splittable box along its widest channel at the weighted median.
    while (boxes.size() < 256) {
        int chosen = -1;
        for (size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i].bins.size() > 1 && (chosen < 0 || boxes[i].weight > boxes[chosen].weight))
                chosen = int(i);
        if (chosen < 0)
            break;
        Box& box = boxes[chosen];
        int widest = 0;
        int widestRange = -1;
        for (int c = 0; c < 3; ++c) {
            int low = 31, high = 0;
            for (int bin : box.bins) {
                low = std::min(low, channel(bin, c));
                high = std::max(high, channel(bin, c));
            }
            if (high - low > widestRange) {
                widestRange = high - low;
                widest = c;
            }
        }
        std::sort(box.bins.begin(), box.bins.end(),
                  [widest](int a, int b) { return channel(a, widest) < channel(b, widest); });
        uint64_t running = 0;
        size_t split = 1;
        for (; split < box.bins.size(); ++split) {
            running += counts[box.bins[split - 1]];
            if (running * 2 >= box.weight)
                break;
        }
        split = std::min(split, box.bins.size() - 1);
        Box upper;
        upper.bins.assign(box.bins.begin() + split, box.bins.end());
        box.bins.resize(split);
        for (int bin : upper.bins)
            upper.weight += counts[bin];
        box.weight -= upper.weight;
        boxes.push_back(std::move(upper));
    }

    // Each box's colour is the weighted mean of its bins (bin centres); every bin maps to its box.
    std::vector<uint8_t> binIndex(32768, 0);
    for (size_t i = 0; i < boxes.size(); ++i) {
        uint64_t sums[3] = {0, 0, 0};
        for (int bin : boxes[i].bins) {
            for (int c = 0; c < 3; ++c)
                sums[c] += uint64_t(channel(bin, c) * 8 + 4) * counts[bin];
            binIndex[bin] = uint8_t(i);
        }
        const uint64_t weight = std::max<uint64_t>(boxes[i].weight, 1);
        palette.push_back(uint32_t((sums[0] / weight) << 16 | (sums[1] / weight) << 8 | (sums[2] / weight)));
    }
    for (int y = 0; y < raster.height; ++y) {
        const unsigned char* row = raster.row(y);
        uint8_t* target = indices.data() + size_t(y) * raster.width;
        for (int x = 0; x < raster.width; ++x)
            target[x] = binIndex[bin15(row + x * 3)];
    }
}

// Variable-width LZW as GIF uses it, packed into 255-byte sub-blocks.
class LzwWriter
{
public:
    LzwWriter(Bytes& out, int minimumCodeSize)
        : m_out(out)
        , m_minimum(minimumCodeSize)
        , m_clear(1 << minimumCodeSize)
    {
        m_out.push_back(uint8_t(minimumCodeSize));
        reset();
        emit(m_clear);
    }

    void encode(const uint8_t* symbols, size_t count)
    {
        if (count == 0)
            return;
        int prefix = symbols[0];
        for (size_t i = 1; i < count; ++i) {
            const int symbol = symbols[i];
            const uint32_t key = (uint32_t(prefix) << 8) | uint32_t(symbol);
            size_t slot = hash(key);
            while (m_keys[slot] != emptyKey && m_keys[slot] != key)
                slot = (slot + 1) & (tableSize - 1);
            if (m_keys[slot] == key) {
                prefix = m_codes[slot];
                continue;
            }
            emit(prefix);
            if (m_next < 4096) {
                m_keys[slot] = key;
                m_codes[slot] = uint16_t(m_next++);
                if (m_next > (1 << m_width) && m_width < 12)
                    ++m_width;
            } else {
                emit(m_clear);
                reset();
            }
            prefix = symbol;
        }
        emit(prefix);
    }

    void finish()
    {
        emit(m_clear + 1);  // end of information
        if (m_bitCount > 0)
            pushByte(uint8_t(m_bits & 0xFF));
        flushBlock();
        m_out.push_back(0);
    }

private:
    static constexpr size_t tableSize = 8192;
    static constexpr uint32_t emptyKey = 0xFFFFFFFF;

    static size_t hash(uint32_t key) { return (key * 2654435761u) >> 19 & (tableSize - 1); }

    void reset()
    {
        m_keys.fill(emptyKey);
        m_width = m_minimum + 1;
        m_next = m_clear + 2;
    }

    void emit(int code)
    {
        m_bits |= uint32_t(code) << m_bitCount;
        m_bitCount += m_width;
        while (m_bitCount >= 8) {
            pushByte(uint8_t(m_bits & 0xFF));
            m_bits >>= 8;
            m_bitCount -= 8;
        }
    }

    void pushByte(uint8_t byte)
    {
        m_block[m_blockLength++] = byte;
        if (m_blockLength == 255)
            flushBlock();
    }

    void flushBlock()
    {
        if (m_blockLength == 0)
            return;
        m_out.push_back(uint8_t(m_blockLength));
        m_out.insert(m_out.end(), m_block.begin(), m_block.begin() + m_blockLength);
        m_blockLength = 0;
    }

    Bytes& m_out;
    const int m_minimum;
    const int m_clear;
    int m_width = 0;
    int m_next = 0;
    uint32_t m_bits = 0;
    int m_bitCount = 0;
    std::array<uint32_t, tableSize> m_keys{};
    std::array<uint16_t, tableSize> m_codes{};
    std::array<uint8_t, 255> m_block{};
    int m_blockLength = 0;
};

} // namespace

bool encodeGif(const RgbRaster& raster, Bytes& out)
{
    if (raster.width > 65535 || raster.height > 65535)
        return false;
    Palette palette;
    std::vector<uint8_t> indices(size_t(raster.width) * raster.height);
    if (!exactColours(raster, palette, indices)) {
        palette.clear();
        quantize(raster, palette, indices);
    }
    int bits = 1;
    while ((1u << bits) < palette.size())
        ++bits;
    palette.resize(size_t(1) << bits, 0);

    out.clear();
    putText(out, "GIF89a");
    put16(out, unsigned(raster.width));
    put16(out, unsigned(raster.height));
    out.push_back(uint8_t(0x80 | ((bits - 1) << 4) | (bits - 1)));  // global colour table
    out.push_back(0);
    out.push_back(0);
    for (uint32_t colour : palette) {
        out.push_back(uint8_t(colour >> 16));
        out.push_back(uint8_t(colour >> 8));
        out.push_back(uint8_t(colour));
    }
    out.push_back(0x2C);  // image descriptor
    put16(out, 0);
    put16(out, 0);
    put16(out, unsigned(raster.width));
    put16(out, unsigned(raster.height));
    out.push_back(0);
    LzwWriter lzw(out, std::max(2, bits));
    lzw.encode(indices.data(), indices.size());
    lzw.finish();
    out.push_back(0x3B);
    return true;
}

} // namespace dpl
