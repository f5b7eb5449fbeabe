#include "StextFlow.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace p2w {

namespace {

// Pictures smaller than this (points) are rules and specks, not pictures.
const float kSmallestPicture = 4.0f;

QString styleKey(const QList<FlowRun>& runs)
{
    // The look of a line: the size most of it is set in, and whether all of it is bold.
    bool allBold = true;
    for (const FlowRun& run : runs)
        allBold = allBold && (run.bold || run.text.trimmed().isEmpty());
    return QStringLiteral("%1/%2").arg(qRound(mainSize(runs) * 2)).arg(allBold);
}

} // namespace

StextFlow::StextFlow(fz_context* ctx)
    : m_ctx(ctx)
{
}

QString StextFlow::familyOf(const QString& fontName) const
{
    return m_families.value(fontName, fontName);
}

FlowRun StextFlow::runLook(fz_stext_char* ch)
{
    FlowRun run;
    fz_font* font = ch->font;
    const QString name = QString::fromUtf8(fz_font_name(m_ctx, font));
    auto family = m_families.constFind(name);
    if (family == m_families.constEnd()) {
        QString familyName;
        FT_Face face = static_cast<FT_Face>(fz_font_ft_face(m_ctx, font));
        if (face && face->family_name)
            familyName = QString::fromUtf8(face->family_name);
        if (familyName.isEmpty())
            familyName = name;
        family = m_families.insert(name, familyName);
        // The document writers name a subset font without its "ABCDEF+" tag.
        const int plus = name.indexOf(QLatin1Char('+'));
        if (plus == 6)
            m_families.insert(name.mid(plus + 1), familyName);
    }
    run.font = family.value();
    run.size = ch->size;
    const QString lower = name.toLower();
    run.bold = fz_font_is_bold(m_ctx, font) || lower.contains(QLatin1String("bold"))
               || lower.contains(QLatin1String("black")) || lower.contains(QLatin1String("heavy"));
    run.italic = fz_font_is_italic(m_ctx, font) || lower.contains(QLatin1String("italic"))
                 || lower.contains(QLatin1String("oblique"));
    return run;
}

void StextFlow::appendTextBlock(fz_stext_block* block, QList<FlowBlock>& blocks)
{
    FlowBlock paragraph;
    QString previousKey;
    for (fz_stext_line* line = block->u.t.first_line; line; line = line->next) {
        QList<FlowRun> lineRuns;
        for (fz_stext_char* ch = line->first_char; ch; ch = ch->next) {
            FlowRun look = runLook(ch);
            if (lineRuns.isEmpty() || !lineRuns.back().sameLook(look))
                lineRuns.append(look);
            lineRuns.back().text += QString::fromUcs4(reinterpret_cast<const char32_t*>(&ch->c), 1);
        }
        if (lineRuns.isEmpty())
            continue;
        // A line in another look than the one before (a heading above its paragraph) starts a
        // paragraph of its own.
        const QString key = styleKey(lineRuns);
        if (!paragraph.runs.isEmpty() && key != previousKey) {
            blocks.append(paragraph);
            paragraph.runs.clear();
        }
        previousKey = key;
        if (!paragraph.runs.isEmpty())
            paragraph.runs.back().text += QLatin1Char('\n');
        paragraph.runs += lineRuns;
    }
    if (!paragraph.runs.isEmpty())
        blocks.append(paragraph);
}

bool StextFlow::appendImage(fz_stext_block* block, FlowDocument& document, QList<PlacedImage>* placed)
{
    const fz_rect box = block->bbox;
    if (box.x1 - box.x0 < kSmallestPicture || box.y1 - box.y0 < kSmallestPicture)
        return true;
    fz_image* image = block->u.i.image;
    fz_compressed_buffer* compressed = fz_compressed_image_buffer(m_ctx, image);
    FlowImage picture;
    picture.width = box.x1 - box.x0;
    picture.height = box.y1 - box.y0;
    // A JPEG of grey or RGB colour goes in unchanged; everything else becomes a PNG.
    const int components = image->n;
    if (compressed && compressed->params.type == FZ_IMAGE_JPEG && (components == 1 || components == 3)
        && !image->mask) {
        unsigned char* data = nullptr;
        const size_t size = fz_buffer_storage(m_ctx, compressed->buffer, &data);
        picture.data = QByteArray(reinterpret_cast<const char*>(data), int(size));
        picture.type = QStringLiteral("jpeg");
    } else {
        fz_buffer* png = nullptr;
        const bool encoded = fzRun(m_ctx, [&] { png = fz_new_buffer_from_image_as_png(m_ctx, image, fz_default_color_params); });
        if (encoded) {
            unsigned char* data = nullptr;
            const size_t size = fz_buffer_storage(m_ctx, png, &data);
            picture.data = QByteArray(reinterpret_cast<const char*>(data), int(size));
        }
        fz_drop_buffer(m_ctx, png);
        if (!encoded)
            return false;
        picture.type = QStringLiteral("png");
    }
    FlowBlock imageBlock;
    imageBlock.kind = FlowBlock::Image;
    imageBlock.image = document.images.size();
    document.images.append(picture);
    document.blocks.append(imageBlock);
    if (placed)
        placed->append({imageBlock.image, box});
    return true;
}

bool StextFlow::appendPage(fz_stext_page* page, FlowDocument& document, QList<PlacedImage>* placed)
{
    bool ok = true;
    QList<PlacedImage> pagePictures;
    for (fz_stext_block* block = page->first_block; block; block = block->next) {
        if (block->type == FZ_STEXT_BLOCK_TEXT)
            appendTextBlock(block, document.blocks);
        else if (block->type == FZ_STEXT_BLOCK_IMAGE)
            ok = appendImage(block, document, &pagePictures) && ok;
    }
    std::stable_sort(pagePictures.begin(), pagePictures.end(),
                     [](const PlacedImage& a, const PlacedImage& b) { return a.box.y0 < b.box.y0; });
    if (placed)
        *placed = pagePictures;
    return ok;
}

} // namespace p2w
