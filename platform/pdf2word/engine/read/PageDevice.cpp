#include "platform/pdf2word/engine/read/PageDevice.h"

#include "platform/mupdf/FitzContext.h"
#include "platform/pdf2word/engine/read/ReadTuning.h"
#include "platform/pdf2word/engine/read/Scripts.h"
#include "platform/pdf2word/engine/read/UnmappedText.h"

#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace p2w {

namespace {

struct ClipLevel
{
    enum Kind {
        Clip,
        MaskDefinition,
        Masked
    };
    Kind kind = Clip;
    fz_rect box;
    bool forwarded = false;
};

// A glyph drawn at a place: the same glyph drawn again at the same place adds nothing (text
// printed over itself, thousands of times in a hostile file).
struct GlyphPlace
{
    const fz_font* font;
    int gid;
    int ucs;
    int hidden;
    int place[6]; // the glyph's matrix on the page, in 1/64 points and thousandths

    bool operator==(const GlyphPlace& other) const
    {
        return font == other.font && gid == other.gid && ucs == other.ucs && hidden == other.hidden
               && std::equal(place, place + 6, other.place);
    }
};

struct GlyphPlaceHash
{
    size_t operator()(const GlyphPlace& glyph) const
    {
        size_t hash = std::hash<const void*>()(glyph.font);
        auto mix = [&hash](size_t value) { hash = (hash ^ value) * 0x9E3779B97F4A7C15ull; };
        mix(size_t(glyph.gid));
        mix(size_t(glyph.ucs));
        mix(size_t(glyph.hidden));
        for (int value : glyph.place)
            mix(size_t(value));
        return hash ^ (hash >> 29);
    }
};

// Text held while reading a page, until the pictures drawn after it are known.
struct HeldText
{
    fz_text* text = nullptr; // kept
    fz_matrix ctm;
    bool invisible = false;   // drawn in render mode 3
    int order = 0;            // when it was drawn among the texts and pictures
    float rgb[3] = {0, 0, 0}; // its colour, which the text keeps (white on a dark cell stays white)
};

// An opaque picture: it hides what was drawn before it within its box.
struct Cover
{
    fz_rect box;
    int order = 0;
};

struct State
{
    fz_context* ctx = nullptr;
    fz_device* target = nullptr;
    PageDeviceOptions options;
    std::vector<HeldText> held;
    std::vector<Cover> covers;
    int order = 0;
    // While held text is handed on: the glyphs seen so far, the covers over the text at hand,
    // and the text's glyphs the page shows and hides (dropped with the device on an error).
    std::unordered_set<GlyphPlace, GlyphPlaceHash> seen;
    std::unordered_set<quint64> seenTexts; // fingerprints of whole texts (textPrint)
    // Fonts whose glyphs are all read by OCR (PageDeviceOptions::unmappedFonts).
    std::unordered_set<const fz_font*> unmappedFonts;
    std::vector<fz_rect> over;
    // The straight segments of the path at hand (walkPath). Kept here, not on the stack: a page
    // that runs out of memory throws out of the path's handling, past any destructor.
    std::vector<std::pair<fz_point, fz_point>> pathSegments;
    std::vector<size_t> subpathStarts;
    fz_text* shown = nullptr;
    fz_text* hidden = nullptr;
    std::vector<ClipLevel> clips;
    std::vector<bool> groupsTransparent;
    std::vector<bool> groupsForwarded;
    int tileDepth = 0;
    int transparentGroups = 0;

    fz_rect clip() const { return clips.empty() ? fz_infinite_rect : clips.back().box; }
    bool inMaskDefinition() const
    {
        for (const ClipLevel& level : clips) {
            if (level.kind == ClipLevel::MaskDefinition)
                return true;
        }
        return false;
    }
    bool transparent() const
    {
        if (transparentGroups > 0)
            return true;
        for (const ClipLevel& level : clips) {
            if (level.kind == ClipLevel::Masked)
                return true;
        }
        return false;
    }
    // Shapes drawn inside a mask's definition or a repeated tile are not what the page shows.
    bool collecting() const { return options.collect && tileDepth == 0 && !inMaskDefinition(); }
    // Reading: text is held and sorted into shown and hidden when the device closes.
    bool holdingText() const { return options.hiddenTarget != nullptr; }
    void pushClip(ClipLevel::Kind kind, fz_rect box, bool forwarded)
    {
        ClipLevel level;
        level.kind = kind;
        level.box = fz_intersect_rect(box, clip());
        level.forwarded = forwarded;
        clips.push_back(level);
    }
};

struct PageDevice
{
    fz_device super;
    State* state;
};

State& stateOf(fz_device* dev)
{
    return *reinterpret_cast<PageDevice*>(dev)->state;
}

bool isWhite(fz_context* ctx, fz_colorspace* colorspace, const float* color)
{
    if (!colorspace || !color)
        return false;
    const int n = fz_colorspace_n(ctx, colorspace);
    const bool subtractive = fz_colorspace_is_subtractive(ctx, colorspace);
    if (!subtractive && !fz_colorspace_is_gray(ctx, colorspace) && !fz_colorspace_is_rgb(ctx, colorspace))
        return false;
    for (int i = 0; i < n; ++i) {
        if (subtractive ? color[i] > 0.01f : color[i] < 0.99f)
            return false;
    }
    return true;
}

// The straight segments of a path, in page space, for finding rulings.
struct SegmentWalk
{
    fz_matrix ctm;
    fz_point start;
    fz_point current;
    std::vector<std::pair<fz_point, fz_point>>& segments;
    std::vector<size_t>& subpaths; // where each subpath's segments start
    bool filled;                   // a fill closes each subpath left open
    bool onlyStraight = true;
};

// The side that closes a filled subpath its producer left open.
void closeOpenFill(SegmentWalk* walk)
{
    if (walk->filled && (walk->current.x != walk->start.x || walk->current.y != walk->start.y))
        walk->segments.push_back({walk->current, walk->start});
}

void walkMove(fz_context*, void* arg, float x, float y)
{
    auto* walk = static_cast<SegmentWalk*>(arg);
    closeOpenFill(walk);
    walk->subpaths.push_back(walk->segments.size());
    walk->current = walk->start = fz_transform_point_xy(x, y, walk->ctm);
}

void walkLine(fz_context*, void* arg, float x, float y)
{
    auto* walk = static_cast<SegmentWalk*>(arg);
    const fz_point to = fz_transform_point_xy(x, y, walk->ctm);
    walk->segments.push_back({walk->current, to});
    walk->current = to;
}

void walkCurve(fz_context*, void* arg, float, float, float, float, float x3, float y3)
{
    auto* walk = static_cast<SegmentWalk*>(arg);
    walk->onlyStraight = false;
    walk->current = fz_transform_point_xy(x3, y3, walk->ctm);
}

void walkClose(fz_context*, void* arg)
{
    auto* walk = static_cast<SegmentWalk*>(arg);
    if (walk->current.x != walk->start.x || walk->current.y != walk->start.y)
        walk->segments.push_back({walk->current, walk->start});
    walk->current = walk->start;
}

SegmentWalk walkPath(fz_context* ctx, State& state, const fz_path* path, fz_matrix ctm, bool filled)
{
    static const fz_path_walker walker = {walkMove, walkLine, walkCurve, walkClose, nullptr, nullptr, nullptr, nullptr};
    state.pathSegments.clear();
    state.subpathStarts.clear();
    SegmentWalk walk{ctm, fz_make_point(0, 0), fz_make_point(0, 0), state.pathSegments, state.subpathStarts, filled};
    fz_walk_path(ctx, path, &walker, &walk);
    closeOpenFill(&walk);
    return walk;
}

bool axisAligned(const std::pair<fz_point, fz_point>& segment)
{
    return std::fabs(segment.first.x - segment.second.x) <= readTuning().graphics.straight
           || std::fabs(segment.first.y - segment.second.y) <= readTuning().graphics.straight;
}

bool near(float a, float b)
{
    return std::fabs(a - b) <= readTuning().graphics.straight;
}

// The bounds of the segments from first to last (exclusive) when they outline an upright
// rectangle, else an empty rectangle.
fz_rect uprightRectangle(const SegmentWalk& walk, size_t first, size_t last)
{
    fz_rect box = fz_empty_rect;
    for (size_t i = first; i < last; ++i) {
        box = fz_include_point_in_rect(box, walk.segments[i].first);
        box = fz_include_point_in_rect(box, walk.segments[i].second);
    }
    int sides = 0;
    for (size_t i = first; i < last; ++i) {
        const fz_point a = walk.segments[i].first;
        const fz_point b = walk.segments[i].second;
        const bool vertical = near(a.x, b.x) && (near(a.x, box.x0) || near(a.x, box.x1));
        const bool horizontal = near(a.y, b.y) && (near(a.y, box.y0) || near(a.y, box.y1));
        if (!vertical && !horizontal)
            return fz_empty_rect;
        ++sides;
    }
    return sides >= 4 ? box : fz_empty_rect;
}

// Whether the path is upright rectangles side by side that together cover its bounds (a row of
// cells filled in one path): its outline is theirs.
bool tilesBounds(const SegmentWalk& walk, const fz_rect& box)
{
    if (walk.subpaths.size() < 2)
        return false;
    float covered = 0;
    for (size_t k = 0; k < walk.subpaths.size(); ++k) {
        const size_t last = k + 1 < walk.subpaths.size() ? walk.subpaths[k + 1] : walk.segments.size();
        if (last == walk.subpaths[k])
            continue; // a lone move draws nothing
        const fz_rect part = uprightRectangle(walk, walk.subpaths[k], last);
        if (fz_is_empty_rect(part))
            return false;
        covered += (part.x1 - part.x0) * (part.y1 - part.y0);
    }
    const float whole = (box.x1 - box.x0) * (box.y1 - box.y0);
    return whole > 0 && std::fabs(covered - whole) <= readTuning().graphics.tiledShare * whole;
}

// The shape of a path's outline: an upright rectangle (its straight sides all lie on the edges of
// its bounds, or it is upright rectangles that tile its bounds), perhaps with lines from corner to
// corner inside it (a crossed box).
void classifyOutline(const SegmentWalk& walk, const fz_rect& box, Shape& shape)
{
    if (!walk.onlyStraight || walk.segments.size() < 4)
        return;
    if (tilesBounds(walk, box)) {
        shape.rectangle = true;
        return;
    }
    int sides = 0;
    int diagonals = 0;
    for (const auto& segment : walk.segments) {
        const fz_point a = segment.first;
        const fz_point b = segment.second;
        const bool vertical = near(a.x, b.x) && (near(a.x, box.x0) || near(a.x, box.x1));
        const bool horizontal = near(a.y, b.y) && (near(a.y, box.y0) || near(a.y, box.y1));
        if (vertical || horizontal)
            ++sides;
        else if (axisAligned(segment))
            return; // a line inside: a grid or a drawing
        else
            ++diagonals;
    }
    shape.rectangle = sides >= 4 && diagonals == 0;
    shape.crossed = sides >= 4 && diagonals >= 1;
}

int rgbOf(fz_context* ctx, fz_colorspace* colorspace, const float* color)
{
    if (!colorspace || !color)
        return 0;
    float rgb[3] = {0, 0, 0};
    fz_convert_color(ctx, colorspace, color, fz_device_rgb(ctx), rgb, nullptr, fz_default_color_params);
    auto byte = [](float v) { return std::min(255, std::max(0, int(v * 255 + 0.5f))); };
    return byte(rgb[0]) << 16 | byte(rgb[1]) << 8 | byte(rgb[2]);
}

Shape makeShape(Shape::Kind kind, fz_rect box, bool thin)
{
    Shape shape;
    shape.kind = kind;
    shape.box = box;
    shape.thin = thin;
    shape.ctm = fz_identity;
    return shape;
}

// Appends to one of the page's lists, whose storage counts against the page's memory: a list
// that grows holds its old and its new storage at once, so the new one is charged before it
// grows (failing the page when it does not fit) and the old one given back after.
template <typename T>
void appendCounted(State& state, QVector<T>& list, const T& item)
{
    if (list.size() == list.capacity()) {
        const size_t old = size_t(list.capacity()) * sizeof(T);
        const int grown = std::max(64, list.capacity() * 2);
        const size_t bytes = size_t(grown) * sizeof(T);
        if (!qpmupdf::chargeMemory(state.ctx, bytes))
            fz_throw(state.ctx, FZ_ERROR_MEMORY, "the page's shapes need too much memory");
        list.reserve(grown);
        qpmupdf::releaseMemory(state.ctx, old);
        state.options.collect->countedBytes += bytes - old;
    }
    list.append(item);
}

// Adds the shape as far as the clip shows it; false when nothing of it is seen.
bool addShape(State& state, Shape shape)
{
    shape.box = fz_intersect_rect(shape.box, state.clip());
    if (fz_is_empty_rect(shape.box) || fz_is_infinite_rect(shape.box))
        return false;
    shape.transparent = state.transparent();
    // GCC 12 takes QVector's growth for a write into its shared empty header (a false
    // -Wstringop-overflow once inlined here).
#pragma GCC diagnostic push
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#endif
    appendCounted(state, state.options.collect->shapes, shape);
#pragma GCC diagnostic pop
    return true;
}

void addRule(State& state, float x0, float y0, float x1, float y1)
{
    Rule rule{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    const fz_rect clip = state.clip();
    if (rule.x1 < clip.x0 || rule.x0 > clip.x1 || rule.y1 < clip.y0 || rule.y0 > clip.y1)
        return;
    appendCounted(state, state.options.collect->rules, rule);
}

void collectFill(fz_context* ctx, State& state, const fz_path* path, fz_matrix ctm, fz_colorspace* colorspace,
                 const float* color)
{
    const fz_rect box = fz_bound_path(ctx, path, nullptr, ctm);
    const bool white = isWhite(ctx, colorspace, color);
    const float width = box.x1 - box.x0;
    const float height = box.y1 - box.y0;
    const bool thin = std::min(width, height) <= readTuning().graphics.thinnest;
    const SegmentWalk walk = walkPath(ctx, state, path, ctm, true);
    if (thin && !white) {
        // A filled hairline: a ruling when it is an axis-aligned rectangle.
        bool straight = walk.onlyStraight;
        for (const auto& segment : walk.segments)
            straight = straight && axisAligned(segment);
        if (straight) {
            const float middle = height <= width ? (box.y0 + box.y1) / 2 : (box.x0 + box.x1) / 2;
            if (height <= width)
                addRule(state, box.x0, middle, box.x1, middle);
            else
                addRule(state, middle, box.y0, middle, box.y1);
        }
    }
    // White fills are the paper itself (page backgrounds, cell backgrounds).
    if (white)
        return;
    Shape shape = makeShape(Shape::Path, box, thin);
    shape.filled = true;
    shape.color = rgbOf(ctx, colorspace, color);
    classifyOutline(walk, box, shape);
    addShape(state, shape);
}

void collectStroke(fz_context* ctx, State& state, const fz_path* path, const fz_stroke_state* stroke, fz_matrix ctm,
                   fz_colorspace* colorspace, const float* color)
{
    if (isWhite(ctx, colorspace, color))
        return;
    const fz_rect box = fz_bound_path(ctx, path, stroke, ctm);
    const float expansion = fz_matrix_expansion(ctm);
    const float lineWidth = (stroke ? stroke->linewidth : 1) * expansion;
    const SegmentWalk walk = walkPath(ctx, state, path, ctm, false);
    bool thin = walk.onlyStraight && lineWidth <= readTuning().graphics.thinnest;
    for (const auto& segment : walk.segments)
        thin = thin && axisAligned(segment);
    if (thin) {
        for (const auto& segment : walk.segments)
            addRule(state, segment.first.x, segment.first.y, segment.second.x, segment.second.y);
    }
    Shape shape = makeShape(Shape::Path, box, thin);
    shape.color = rgbOf(ctx, colorspace, color);
    // The outline of the path, not of the stroke around it.
    classifyOutline(walk, fz_bound_path(ctx, path, nullptr, ctm), shape);
    addShape(state, shape);
}

bool isBlankCharacter(int c)
{
    return c <= 32 || c == 0xA0 || (c >= 0x2000 && c <= 0x200B) || c == 0x202F || c == 0x3000;
}

// A space the text draws as a glyph of its own (not a gap the extraction fills).
bool isSpaceGlyph(int c)
{
    return c == ' ' || c == 0xA0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x3000;
}

// The covers drawn after the text whose box reaches into the text's, into state.over.
void findCoversAfter(fz_context* ctx, State& state, const HeldText& held)
{
    state.over.clear();
    if (state.covers.empty() || held.invisible)
        return;
    const fz_rect bounds = fz_bound_text(ctx, held.text, nullptr, held.ctm);
    for (const Cover& cover : state.covers) {
        if (cover.order > held.order && !fz_is_empty_rect(fz_intersect_rect(cover.box, bounds)))
            state.over.push_back(cover.box);
    }
}

bool middleWithin(const fz_rect& box, const std::vector<fz_rect>& covers)
{
    const fz_point middle = fz_make_point((box.x0 + box.x1) / 2, (box.y0 + box.y1) / 2);
    for (const fz_rect& cover : covers) {
        if (fz_is_point_inside_rect(middle, cover))
            return true;
    }
    return false;
}

GlyphPlace placeOf(const fz_text_span* span, const fz_text_item& item, fz_matrix place, bool hidden)
{
    return {span->font,
            item.gid,
            item.ucs,
            hidden ? 1 : 0,
            {int(std::lround(place.a * 1000)), int(std::lround(place.b * 1000)), int(std::lround(place.c * 1000)),
             int(std::lround(place.d * 1000)), int(std::lround(place.e * 64)), int(std::lround(place.f * 64))}};
}

// A fingerprint of a text at its place, with the covers over it: the same text drawn again at the
// same place is left out whole, before its glyphs are weighed one by one.
quint64 textPrint(const State& state, const HeldText& held)
{
    quint64 print = held.invisible ? 1 : 2;
    auto mix = [&print](quint64 value) { print = (print ^ value) * 0x100000001B3ull; };
    auto mixFloat = [&mix](float value) { mix(quint64(qint64(std::lround(value * 64)))); };
    for (const float value : {held.ctm.a, held.ctm.b, held.ctm.c, held.ctm.d, held.ctm.e, held.ctm.f})
        mixFloat(value);
    for (const fz_rect& cover : state.over) {
        for (const float value : {cover.x0, cover.y0, cover.x1, cover.y1})
            mixFloat(value);
    }
    for (const fz_text_span* span = held.text->head; span; span = span->next) {
        mix(quint64(reinterpret_cast<quintptr>(span->font)));
        mix(quint64(span->wmode));
        for (const float value : {span->trm.a, span->trm.b, span->trm.c, span->trm.d})
            mixFloat(value);
        for (int i = 0; i < span->len; ++i) {
            mix(quint64(span->items[i].gid) << 32 | quint32(span->items[i].ucs));
            mixFloat(span->items[i].x);
            mixFloat(span->items[i].y);
        }
    }
    return print;
}

// The fonts of the held text whose glyphs are all read by OCR (PageDeviceOptions::unmappedFonts).
void findUnmappedFonts(fz_context* ctx, State& state)
{
    std::unordered_map<const fz_font*, std::pair<int, int>> counts; // unmapped, all
    for (const HeldText& held : state.held) {
        for (const fz_text_span* span = held.text->head; span; span = span->next) {
            for (int i = 0; i < span->len; ++i) {
                const int ucs = span->items[i].ucs;
                if (span->items[i].gid < 0 || isBlankCharacter(ucs))
                    continue;
                std::pair<int, int>& count = counts[span->font];
                count.first += isUnmappedCharacter(char32_t(ucs)) ? 1 : 0;
                ++count.second;
            }
        }
    }
    for (const auto& font : counts) {
        const QString name = QString::fromUtf8(fz_font_name(ctx, const_cast<fz_font*>(font.first)));
        const bool before = state.options.unmappedFonts && state.options.unmappedFonts->contains(name);
        if (!before && (font.second.first == 0 || 3 * font.second.first < font.second.second))
            continue;
        state.unmappedFonts.insert(font.first);
        if (state.options.unmappedFonts)
            state.options.unmappedFonts->insert(name);
    }
}

// The character a glyph goes on with: one to be recognised (unmapped, or in a font read whole by
// OCR) is noted with its place for recognition and goes on as the code naming that place;
// drawing nothing, it is a space. The letters of the others are counted by font and script.
int characterToPass(State& state, const fz_text_span* span, const fz_text_item& item, const fz_matrix& place,
                    const fz_rect& box)
{
    const bool recognised = isUnmappedCharacter(char32_t(item.ucs))
                            || (state.unmappedFonts.count(span->font) && (!isBlankCharacter(item.ucs) || !fz_is_empty_rect(box)));
    if (!recognised) {
        const QChar::Script script = scriptOf(char32_t(item.ucs));
        if (script != QChar::Script_Unknown && state.options.collect)
            ++state.options.collect->mappedLetters[span->font][script];
        return item.ucs;
    }
    if (fz_is_empty_rect(box))
        return ' ';
    if (!state.options.collect)
        return 0xFFFD;
    QVector<UnmappedGlyph>& unmapped = state.options.collect->unmapped;
    appendCounted(state, unmapped, UnmappedGlyph{span->font, item.gid, place, box});
    return int(unmappedCode(unmapped.size() - 1));
}

// Sorts a held text's glyphs into state.shown and state.hidden: hidden are those drawn
// invisibly, in a font whose glyph has no outline, or under a later picture. A space goes with
// the glyph before it. A glyph drawn again where it already stands is left out; glyphs to be
// recognised are noted (characterToPass).
void sortGlyphs(fz_context* ctx, State& state, const HeldText& held)
{
    findCoversAfter(ctx, state, held);
    if (!state.seenTexts.insert(textPrint(state, held)).second)
        return;
    for (fz_text_span* span = held.text->head; span; span = span->next) {
        fz_matrix trm = span->trm;
        bool hide = held.invisible;
        bool repeated = false;
        bool recognised = false;
        for (int i = 0; i < span->len; ++i) {
            const fz_text_item& item = span->items[i];
            trm.e = item.x;
            trm.f = item.y;
            int ucs = item.ucs;
            // An item without a glyph carries more characters of the glyph before it: none when
            // that glyph is recognised.
            if (item.gid < 0 && recognised)
                continue;
            if (item.gid >= 0) {
                const fz_matrix place = fz_concat(trm, held.ctm);
                fz_rect box = fz_empty_rect;
                // In a font whose codes are guesses, a glyph guessed blank may draw a letter.
                const bool blank = isBlankCharacter(item.ucs);
                if (!blank || state.unmappedFonts.count(span->font)) {
                    box = fz_bound_glyph(ctx, span->font, item.gid, place);
                    if (!blank || !fz_is_empty_rect(box))
                        hide = held.invisible || fz_is_empty_rect(box) || middleWithin(box, state.over);
                }
                repeated = !state.seen.insert(placeOf(span, item, place, hide)).second;
                if (!repeated)
                    ucs = characterToPass(state, span, item, place, box);
                recognised = ucs != item.ucs;
                if (!repeated && !hide && state.options.drawnSpaces && isSpaceGlyph(ucs))
                    state.options.drawnSpaces->add(fz_make_point(place.e, place.f));
            }
            if (!repeated)
                fz_show_glyph(ctx, hide ? state.hidden : state.shown, span->font, trm, item.gid, ucs, span->wmode,
                              span->bidi_level, fz_bidi_direction(span->markup_dir), fz_text_language(span->language));
        }
    }
}

void dropSortedText(fz_context* ctx, State& state)
{
    fz_drop_text(ctx, state.shown);
    fz_drop_text(ctx, state.hidden);
    state.shown = state.hidden = nullptr;
}

// Hands the held text on, each glyph to the target for what the page shows or for what it hides.
void releaseHeldText(fz_context* ctx, State& state)
{
    static const float black[1] = {0};
    findUnmappedFonts(ctx, state);
    for (const HeldText& held : state.held) {
        if (aborted(state.options.cookie))
            fz_throw(ctx, FZ_ERROR_ABORT, "aborted");
        state.shown = fz_new_text(ctx);
        state.hidden = fz_new_text(ctx);
        sortGlyphs(ctx, state, held);
        if (state.shown->head)
            fz_fill_text(ctx, state.target, state.shown, held.ctm, fz_device_rgb(ctx), held.rgb, 1, fz_default_color_params);
        if (state.hidden->head)
            fz_fill_text(ctx, state.options.hiddenTarget, state.hidden, held.ctm, fz_device_gray(ctx), black, 1,
                         fz_default_color_params);
        dropSortedText(ctx, state);
    }
}

void dropHeldText(fz_context* ctx, State& state)
{
    for (HeldText& held : state.held)
        fz_drop_text(ctx, held.text);
    state.held.clear();
}

// The device's entries.

// The held text is dropped with the device, also when handing it on failed.
void closeDevice(fz_context* ctx, fz_device* dev)
{
    State& state = stateOf(dev);
    if (state.holdingText())
        releaseHeldText(ctx, state);
}

void dropDevice(fz_context* ctx, fz_device* dev)
{
    State* state = reinterpret_cast<PageDevice*>(dev)->state;
    dropSortedText(ctx, *state);
    dropHeldText(ctx, *state);
    delete state;
}

// Whether a drawing of that box goes on to the target: always, unless a figure is drawn only from
// what lies within it.
bool drawsAt(const State& state, fz_rect box, bool picture = false)
{
    if (!state.options.forwardGraphics || (state.options.onlyPictures && !picture))
        return false;
    // A picture is drawn as far as the figure shows it: a figure may be a part of it (a region
    // of a scan).
    if (fz_is_infinite_rect(state.options.drawnWithin) || picture)
        return true;
    box = fz_intersect_rect(fz_intersect_rect(box, state.clip()), state.options.page);
    const fz_rect within = state.options.drawnWithin;
    return box.x0 >= within.x0 - 1 && box.y0 >= within.y0 - 1 && box.x1 <= within.x1 + 1 && box.y1 <= within.y1 + 1;
}

void fillPath(fz_context* ctx, fz_device* dev, const fz_path* path, int evenOdd, fz_matrix ctm,
              fz_colorspace* colorspace, const float* color, float alpha, fz_color_params params)
{
    State& state = stateOf(dev);
    if (state.collecting() && alpha > 0)
        collectFill(ctx, state, path, ctm, colorspace, color);
    if (drawsAt(state, fz_bound_path(ctx, path, nullptr, ctm)))
        fz_fill_path(ctx, state.target, path, evenOdd, ctm, colorspace, color, alpha, params);
}

void strokePath(fz_context* ctx, fz_device* dev, const fz_path* path, const fz_stroke_state* stroke, fz_matrix ctm,
                fz_colorspace* colorspace, const float* color, float alpha, fz_color_params params)
{
    State& state = stateOf(dev);
    if (state.collecting() && alpha > 0)
        collectStroke(ctx, state, path, stroke, ctm, colorspace, color);
    if (!drawsAt(state, strokedBox(ctx, path, stroke, ctm)))
        return;
    const float expansion = fz_matrix_expansion(ctm);
    if (stroke->linewidth * expansion >= state.options.leastStrokeWidth || expansion <= 0) {
        fz_stroke_path(ctx, state.target, path, stroke, ctm, colorspace, color, alpha, params);
        return;
    }
    // A hairline is one device pixel wide: drawn at a figure's resolution it would all but vanish
    // from the picture shown at its size, so it is drawn as wide as the figure asks.
    fz_stroke_state* widened = fz_clone_stroke_state(ctx, const_cast<fz_stroke_state*>(stroke));
    widened->linewidth = state.options.leastStrokeWidth / expansion;
    fz_try(ctx)
    {
        fz_stroke_path(ctx, state.target, path, widened, ctm, colorspace, color, alpha, params);
    }
    fz_always(ctx)
    {
        fz_drop_stroke_state(ctx, widened);
    }
    fz_catch(ctx)
    {
        fz_rethrow(ctx);
    }
}

void clipPath(fz_context* ctx, fz_device* dev, const fz_path* path, int evenOdd, fz_matrix ctm, fz_rect scissor)
{
    State& state = stateOf(dev);
    state.pushClip(ClipLevel::Clip, fz_bound_path(ctx, path, nullptr, ctm), state.options.forwardGraphics);
    if (state.options.forwardGraphics)
        fz_clip_path(ctx, state.target, path, evenOdd, ctm, scissor);
}

void clipStrokePath(fz_context* ctx, fz_device* dev, const fz_path* path, const fz_stroke_state* stroke, fz_matrix ctm,
                    fz_rect scissor)
{
    State& state = stateOf(dev);
    state.pushClip(ClipLevel::Clip, fz_bound_path(ctx, path, stroke, ctm), state.options.forwardGraphics);
    if (state.options.forwardGraphics)
        fz_clip_stroke_path(ctx, state.target, path, stroke, ctm, scissor);
}

bool forwardsText(const State& state)
{
    return state.options.forwardText && !state.inMaskDefinition();
}

// The text's glyphs whose middle lies in one of the boxes; null when none does. The caller drops
// the result.
fz_text* glyphsWithin(fz_context* ctx, const fz_text* text, fz_matrix ctm, const QVector<fz_rect>& boxes)
{
    fz_text* kept = fz_new_text(ctx);
    fz_try(ctx)
    {
        for (fz_text_span* span = text->head; span; span = span->next) {
            fz_matrix trm = span->trm;
            for (int i = 0; i < span->len; ++i) {
                const fz_text_item& item = span->items[i];
                trm.e = item.x;
                trm.f = item.y;
                // The glyph's middle: half an em along the baseline, a third of one above it.
                const fz_point middle = fz_transform_point(fz_transform_point_xy(0.3f, 0.3f, trm), ctm);
                bool inside = false;
                for (const fz_rect& box : boxes)
                    inside = inside || fz_is_point_inside_rect(middle, box);
                if (inside)
                    fz_show_glyph(ctx, kept, span->font, trm, item.gid, item.ucs, span->wmode, span->bidi_level,
                                  fz_bidi_direction(span->markup_dir), fz_text_language(span->language));
            }
        }
    }
    fz_catch(ctx)
    {
        fz_drop_text(ctx, kept);
        fz_rethrow(ctx);
    }
    if (!kept->head) {
        fz_drop_text(ctx, kept);
        return nullptr;
    }
    return kept;
}

void holdText(fz_context* ctx, State& state, const fz_text* text, fz_matrix ctm, bool invisible,
              fz_colorspace* colorspace = nullptr, const float* color = nullptr)
{
    HeldText held;
    held.ctm = ctm;
    held.invisible = invisible;
    if (colorspace && color)
        fz_convert_color(ctx, colorspace, color, fz_device_rgb(ctx), held.rgb, nullptr, fz_default_color_params);
    held.order = ++state.order;
    held.text = fz_keep_text(ctx, text);
    state.held.push_back(held);
}

// Hands the text on, or only its glyphs in the boxes of options.textOnlyIn; draw does the
// handing on for a text. Reading, the text is held instead.
template <typename Draw>
void forwardText(fz_context* ctx, State& state, const fz_text* text, fz_matrix ctm, fz_colorspace* colorspace,
                 const float* color, Draw draw)
{
    if (!forwardsText(state))
        return;
    if (state.holdingText()) {
        holdText(ctx, state, text, ctm, false, colorspace, color);
        return;
    }
    if (state.options.textOnlyIn.isEmpty()) {
        draw(text);
        return;
    }
    fz_text* kept = glyphsWithin(ctx, text, ctm, state.options.textOnlyIn);
    if (!kept)
        return;
    fz_try(ctx)
        draw(kept);
    fz_always(ctx)
        fz_drop_text(ctx, kept);
    fz_catch(ctx)
        fz_rethrow(ctx);
}

void fillText(fz_context* ctx, fz_device* dev, const fz_text* text, fz_matrix ctm, fz_colorspace* colorspace,
              const float* color, float alpha, fz_color_params params)
{
    State& state = stateOf(dev);
    forwardText(ctx, state, text, ctm, colorspace, color, [&](const fz_text* shown) {
        fz_fill_text(ctx, state.target, shown, ctm, colorspace, color, alpha, params);
    });
}

void strokeText(fz_context* ctx, fz_device* dev, const fz_text* text, const fz_stroke_state* stroke, fz_matrix ctm,
                fz_colorspace* colorspace, const float* color, float alpha, fz_color_params params)
{
    State& state = stateOf(dev);
    forwardText(ctx, state, text, ctm, colorspace, color, [&](const fz_text* shown) {
        fz_stroke_text(ctx, state.target, shown, stroke, ctm, colorspace, color, alpha, params);
    });
}

// Text used as a clip is drawn through it: it is text for reading and a clip for drawing.
void clipText(fz_context* ctx, fz_device* dev, const fz_text* text, fz_matrix ctm, fz_rect scissor)
{
    State& state = stateOf(dev);
    if (state.holdingText() && forwardsText(state))
        holdText(ctx, state, text, ctm, false);
    const bool forward = (forwardsText(state) && !state.holdingText()) || state.options.forwardGraphics;
    state.pushClip(ClipLevel::Clip, fz_bound_text(ctx, text, nullptr, ctm), forward);
    if (forward)
        fz_clip_text(ctx, state.target, text, ctm, scissor);
}

void clipStrokeText(fz_context* ctx, fz_device* dev, const fz_text* text, const fz_stroke_state* stroke, fz_matrix ctm,
                    fz_rect scissor)
{
    State& state = stateOf(dev);
    if (state.holdingText() && forwardsText(state))
        holdText(ctx, state, text, ctm, false);
    const bool forward = (forwardsText(state) && !state.holdingText()) || state.options.forwardGraphics;
    state.pushClip(ClipLevel::Clip, fz_bound_text(ctx, text, stroke, ctm), forward);
    if (forward)
        fz_clip_stroke_text(ctx, state.target, text, stroke, ctm, scissor);
}

// Invisible text (render mode 3) is read as text the page hides; drawing leaves it out.
void ignoreText(fz_context* ctx, fz_device* dev, const fz_text* text, fz_matrix ctm)
{
    State& state = stateOf(dev);
    if (state.holdingText() && forwardsText(state))
        holdText(ctx, state, text, ctm, true);
}

void fillShade(fz_context* ctx, fz_device* dev, fz_shade* shade, fz_matrix ctm, float alpha, fz_color_params params)
{
    State& state = stateOf(dev);
    if (state.collecting() && alpha > 0)
        addShape(state, makeShape(Shape::Shading, fz_bound_shade(ctx, shade, ctm), false));
    if (drawsAt(state, fz_bound_shade(ctx, shade, ctm)))
        fz_fill_shade(ctx, state.target, shade, ctm, alpha, params);
}

// An opaque picture hides the text drawn before it (a scan drawn over its recognised text).
void noteCover(State& state, const fz_image* image, fz_matrix ctm, float alpha)
{
    if (!state.holdingText() || state.held.empty() || alpha < 1 || state.transparent() || image->mask
        || image->use_colorkey || image->imagemask)
        return;
    const fz_rect box = fz_intersect_rect(fz_transform_rect(fz_unit_rect, ctm), state.clip());
    if (!fz_is_empty_rect(box))
        state.covers.push_back({box, ++state.order});
}

void collectImage(State& state, fz_image* image, fz_matrix ctm, float alpha)
{
    if (!state.collecting() || alpha <= 0)
        return;
    if (!addShape(state, makeShape(Shape::Picture, fz_transform_rect(fz_unit_rect, ctm), false)))
        return;
    Shape& shape = state.options.collect->shapes.back();
    shape.image = image;
    shape.ctm = ctm;
    shape.transparent = shape.transparent || alpha < 1 || image->mask;
}

void fillImage(fz_context* ctx, fz_device* dev, fz_image* image, fz_matrix ctm, float alpha, fz_color_params params)
{
    State& state = stateOf(dev);
    collectImage(state, image, ctm, alpha);
    if (state.collecting())
        noteCover(state, image, ctm, alpha);
    if (drawsAt(state, fz_transform_rect(fz_unit_rect, ctm), true))
        fz_fill_image(ctx, state.target, image, ctm, alpha, params);
}

void fillImageMask(fz_context* ctx, fz_device* dev, fz_image* image, fz_matrix ctm, fz_colorspace* colorspace,
                   const float* color, float alpha, fz_color_params params)
{
    State& state = stateOf(dev);
    collectImage(state, image, ctm, alpha);
    if (state.options.collect && !state.options.collect->shapes.empty()
        && state.options.collect->shapes.back().image == image)
        state.options.collect->shapes.back().transparent = true; // a stencil: only its colour shows
    if (drawsAt(state, fz_transform_rect(fz_unit_rect, ctm), true))
        fz_fill_image_mask(ctx, state.target, image, ctm, colorspace, color, alpha, params);
}

void clipImageMask(fz_context* ctx, fz_device* dev, fz_image* image, fz_matrix ctm, fz_rect scissor)
{
    State& state = stateOf(dev);
    state.pushClip(ClipLevel::Clip, fz_transform_rect(fz_unit_rect, ctm), state.options.forwardGraphics);
    if (state.options.forwardGraphics)
        fz_clip_image_mask(ctx, state.target, image, ctm, scissor);
}

void popClip(fz_context* ctx, fz_device* dev)
{
    State& state = stateOf(dev);
    if (state.clips.empty())
        return;
    const bool forwarded = state.clips.back().forwarded;
    state.clips.pop_back();
    if (forwarded)
        fz_pop_clip(ctx, state.target);
}

void beginMask(fz_context* ctx, fz_device* dev, fz_rect area, int luminosity, fz_colorspace* colorspace,
               const float* backdrop, fz_color_params params)
{
    State& state = stateOf(dev);
    state.pushClip(ClipLevel::MaskDefinition, area, state.options.forwardGraphics);
    if (state.options.forwardGraphics)
        fz_begin_mask(ctx, state.target, area, luminosity, colorspace, backdrop, params);
}

void endMask(fz_context* ctx, fz_device* dev)
{
    State& state = stateOf(dev);
    if (!state.clips.empty() && state.clips.back().kind == ClipLevel::MaskDefinition)
        state.clips.back().kind = ClipLevel::Masked;
    if (state.options.forwardGraphics)
        fz_end_mask(ctx, state.target);
}

void beginGroup(fz_context* ctx, fz_device* dev, fz_rect area, fz_colorspace* colorspace, int isolated, int knockout,
                int blendmode, float alpha)
{
    State& state = stateOf(dev);
    const bool transparent = alpha < 1 || blendmode != FZ_BLEND_NORMAL;
    state.groupsTransparent.push_back(transparent);
    state.transparentGroups += transparent ? 1 : 0;
    // A group reaching beyond a figure drawn from what lies within it is a backdrop's: its
    // content is not drawn either, and what is drawn of it needs no group.
    const bool forward = state.options.forwardGraphics && (fz_is_infinite_rect(state.options.drawnWithin) || drawsAt(state, area));
    state.groupsForwarded.push_back(forward);
    if (forward)
        fz_begin_group(ctx, state.target, area, colorspace, isolated, knockout, blendmode, alpha);
}

void endGroup(fz_context* ctx, fz_device* dev)
{
    State& state = stateOf(dev);
    if (state.groupsTransparent.empty())
        return;
    state.transparentGroups -= state.groupsTransparent.back() ? 1 : 0;
    state.groupsTransparent.pop_back();
    const bool forwarded = state.groupsForwarded.back();
    state.groupsForwarded.pop_back();
    if (forwarded)
        fz_end_group(ctx, state.target);
}

int beginTile(fz_context* ctx, fz_device* dev, fz_rect area, fz_rect view, float xstep, float ystep, fz_matrix ctm,
              int id)
{
    State& state = stateOf(dev);
    if (state.collecting())
        addShape(state, makeShape(Shape::Shading, area, false));
    ++state.tileDepth;
    if (state.options.forwardGraphics)
        return fz_begin_tile_id(ctx, state.target, area, view, xstep, ystep, ctm, id);
    return 0;
}

void endTile(fz_context* ctx, fz_device* dev)
{
    State& state = stateOf(dev);
    state.tileDepth = std::max(0, state.tileDepth - 1);
    if (state.options.forwardGraphics)
        fz_end_tile(ctx, state.target);
}

void renderFlags(fz_context* ctx, fz_device* dev, int set, int clear)
{
    State& state = stateOf(dev);
    if (state.options.forwardGraphics)
        fz_render_flags(ctx, state.target, set, clear);
}

void setDefaultColorspaces(fz_context* ctx, fz_device* dev, fz_default_colorspaces* colorspaces)
{
    State& state = stateOf(dev);
    if (state.options.forwardGraphics)
        fz_set_default_colorspaces(ctx, state.target, colorspaces);
}

void beginLayer(fz_context* ctx, fz_device* dev, const char* name)
{
    State& state = stateOf(dev);
    if (state.options.forwardGraphics)
        fz_begin_layer(ctx, state.target, name);
}

void endLayer(fz_context* ctx, fz_device* dev)
{
    State& state = stateOf(dev);
    if (state.options.forwardGraphics)
        fz_end_layer(ctx, state.target);
}

} // namespace

fz_device* newPageDevice(fz_context* ctx, fz_device* target, const PageDeviceOptions& options)
{
    PageDevice* device = fz_new_derived_device(ctx, PageDevice);
    device->state = new State;
    device->state->ctx = ctx;
    device->state->target = target;
    device->state->options = options;
    device->super.close_device = closeDevice;
    device->super.drop_device = dropDevice;
    device->super.fill_path = fillPath;
    device->super.stroke_path = strokePath;
    device->super.clip_path = clipPath;
    device->super.clip_stroke_path = clipStrokePath;
    device->super.fill_text = fillText;
    device->super.stroke_text = strokeText;
    device->super.clip_text = clipText;
    device->super.clip_stroke_text = clipStrokeText;
    device->super.ignore_text = ignoreText;
    device->super.fill_shade = fillShade;
    device->super.fill_image = fillImage;
    device->super.fill_image_mask = fillImageMask;
    device->super.clip_image_mask = clipImageMask;
    device->super.pop_clip = popClip;
    device->super.begin_mask = beginMask;
    device->super.end_mask = endMask;
    device->super.begin_group = beginGroup;
    device->super.end_group = endGroup;
    device->super.begin_tile = beginTile;
    device->super.end_tile = endTile;
    device->super.render_flags = renderFlags;
    device->super.set_default_colorspaces = setDefaultColorspaces;
    device->super.begin_layer = beginLayer;
    device->super.end_layer = endLayer;
    return &device->super;
}

} // namespace p2w
