#include "platform/pdf2word/engine/document/FanOutDevice.h"

namespace p2w {

namespace {

struct FanOutDevice
{
    fz_device super;
    fz_device* const* targets;
    const fz_rect* areas;
    int count;
    fz_path* nothing; // an empty path: the clip a target gets for a clip that misses its area
};

FanOutDevice* fanOut(fz_device* device)
{
    return reinterpret_cast<FanOutDevice*>(device);
}

bool reaches(const FanOutDevice* fan, int i, fz_rect box)
{
    return !fz_is_empty_rect(fz_intersect_rect(box, fan->areas[i]));
}

// A step every target takes (the clips' and groups' nesting, the device's settings).
template <typename... Parameters, typename... Arguments>
void toAll(fz_context* ctx, fz_device* device, void (*step)(fz_context*, fz_device*, Parameters...), Arguments... arguments)
{
    const FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i)
        step(ctx, fan->targets[i], arguments...);
}

// A drawing step, for the targets whose area its box reaches.
template <typename... Parameters, typename... Arguments>
void toReached(fz_context* ctx, fz_device* device, fz_rect box, void (*step)(fz_context*, fz_device*, Parameters...),
               Arguments... arguments)
{
    const FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        if (reaches(fan, i, box))
            step(ctx, fan->targets[i], arguments...);
    }
}

// A clip: the targets it misses get an empty one, so that their clips still nest.
template <typename... Parameters, typename... Arguments>
void clipReached(fz_context* ctx, fz_device* device, fz_rect box, void (*step)(fz_context*, fz_device*, Parameters...),
                 Arguments... arguments)
{
    const FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        if (reaches(fan, i, box))
            step(ctx, fan->targets[i], arguments...);
        else
            fz_clip_path(ctx, fan->targets[i], fan->nothing, 0, fz_identity, fz_empty_rect);
    }
}

void fillPath(fz_context* ctx, fz_device* d, const fz_path* path, int evenOdd, fz_matrix ctm, fz_colorspace* space,
              const float* color, float alpha, fz_color_params params)
{
    toReached(ctx, d, fz_bound_path(ctx, path, nullptr, ctm), fz_fill_path, path, evenOdd, ctm, space, color, alpha, params);
}

void strokePath(fz_context* ctx, fz_device* d, const fz_path* path, const fz_stroke_state* stroke, fz_matrix ctm,
                fz_colorspace* space, const float* color, float alpha, fz_color_params params)
{
    toReached(ctx, d, strokedBox(ctx, path, stroke, ctm), fz_stroke_path, path, stroke, ctm, space, color, alpha, params);
}

void clipPath(fz_context* ctx, fz_device* d, const fz_path* path, int evenOdd, fz_matrix ctm, fz_rect scissor)
{
    clipReached(ctx, d, fz_bound_path(ctx, path, nullptr, ctm), fz_clip_path, path, evenOdd, ctm, scissor);
}

void clipStrokePath(fz_context* ctx, fz_device* d, const fz_path* path, const fz_stroke_state* stroke, fz_matrix ctm,
                    fz_rect scissor)
{
    clipReached(ctx, d, fz_bound_path(ctx, path, stroke, ctm), fz_clip_stroke_path, path, stroke, ctm, scissor);
}

void fillText(fz_context* ctx, fz_device* d, const fz_text* text, fz_matrix ctm, fz_colorspace* space, const float* color,
              float alpha, fz_color_params params)
{
    toReached(ctx, d, fz_bound_text(ctx, text, nullptr, ctm), fz_fill_text, text, ctm, space, color, alpha, params);
}

void strokeText(fz_context* ctx, fz_device* d, const fz_text* text, const fz_stroke_state* stroke, fz_matrix ctm,
                fz_colorspace* space, const float* color, float alpha, fz_color_params params)
{
    toReached(ctx, d, fz_bound_text(ctx, text, stroke, ctm), fz_stroke_text, text, stroke, ctm, space, color, alpha, params);
}

void clipText(fz_context* ctx, fz_device* d, const fz_text* text, fz_matrix ctm, fz_rect scissor)
{
    clipReached(ctx, d, fz_bound_text(ctx, text, nullptr, ctm), fz_clip_text, text, ctm, scissor);
}

void clipStrokeText(fz_context* ctx, fz_device* d, const fz_text* text, const fz_stroke_state* stroke, fz_matrix ctm,
                    fz_rect scissor)
{
    clipReached(ctx, d, fz_bound_text(ctx, text, stroke, ctm), fz_clip_stroke_text, text, stroke, ctm, scissor);
}

void ignoreText(fz_context* ctx, fz_device* d, const fz_text* text, fz_matrix ctm)
{
    toAll(ctx, d, fz_ignore_text, text, ctm);
}

void fillShade(fz_context* ctx, fz_device* d, fz_shade* shade, fz_matrix ctm, float alpha, fz_color_params params)
{
    toReached(ctx, d, fz_bound_shade(ctx, shade, ctm), fz_fill_shade, shade, ctm, alpha, params);
}

void fillImage(fz_context* ctx, fz_device* d, fz_image* image, fz_matrix ctm, float alpha, fz_color_params params)
{
    toReached(ctx, d, fz_transform_rect(fz_unit_rect, ctm), fz_fill_image, image, ctm, alpha, params);
}

void fillImageMask(fz_context* ctx, fz_device* d, fz_image* image, fz_matrix ctm, fz_colorspace* space, const float* color,
                   float alpha, fz_color_params params)
{
    toReached(ctx, d, fz_transform_rect(fz_unit_rect, ctm), fz_fill_image_mask, image, ctm, space, color, alpha, params);
}

void clipImageMask(fz_context* ctx, fz_device* d, fz_image* image, fz_matrix ctm, fz_rect scissor)
{
    clipReached(ctx, d, fz_transform_rect(fz_unit_rect, ctm), fz_clip_image_mask, image, ctm, scissor);
}

void popClip(fz_context* ctx, fz_device* d)
{
    toAll(ctx, d, fz_pop_clip);
}

void beginMask(fz_context* ctx, fz_device* d, fz_rect area, int luminosity, fz_colorspace* space, const float* backdrop,
               fz_color_params params)
{
    toAll(ctx, d, fz_begin_mask, area, luminosity, space, backdrop, params);
}

void endMask(fz_context* ctx, fz_device* d)
{
    toAll(ctx, d, fz_end_mask);
}

void beginGroup(fz_context* ctx, fz_device* d, fz_rect area, fz_colorspace* space, int isolated, int knockout, int blendmode,
                float alpha)
{
    toAll(ctx, d, fz_begin_group, area, space, isolated, knockout, blendmode, alpha);
}

void endGroup(fz_context* ctx, fz_device* d)
{
    toAll(ctx, d, fz_end_group);
}

// Tiles are drawn by every target, none from a cache: targets must not skip what others draw.
int beginTile(fz_context* ctx, fz_device* d, fz_rect area, fz_rect view, float xstep, float ystep, fz_matrix ctm, int)
{
    const FanOutDevice* fan = fanOut(d);
    for (int i = 0; i < fan->count; ++i)
        fz_begin_tile_id(ctx, fan->targets[i], area, view, xstep, ystep, ctm, 0);
    return 0;
}

void endTile(fz_context* ctx, fz_device* d)
{
    toAll(ctx, d, fz_end_tile);
}

void renderFlags(fz_context* ctx, fz_device* d, int set, int clear)
{
    toAll(ctx, d, fz_render_flags, set, clear);
}

void setDefaultColorspaces(fz_context* ctx, fz_device* d, fz_default_colorspaces* spaces)
{
    toAll(ctx, d, fz_set_default_colorspaces, spaces);
}

void beginLayer(fz_context* ctx, fz_device* d, const char* name)
{
    toAll(ctx, d, fz_begin_layer, name);
}

void endLayer(fz_context* ctx, fz_device* d)
{
    toAll(ctx, d, fz_end_layer);
}

void closeDevice(fz_context* ctx, fz_device* d)
{
    toAll(ctx, d, fz_close_device);
}

void dropDevice(fz_context* ctx, fz_device* d)
{
    fz_drop_path(ctx, fanOut(d)->nothing);
}

} // namespace

fz_device* newFanOutDevice(fz_context* ctx, fz_device* const* targets, const fz_rect* areas, int count)
{
    FanOutDevice* fan = fz_new_derived_device(ctx, FanOutDevice);
    fz_try(ctx)
    {
        fan->nothing = fz_new_path(ctx);
    }
    fz_catch(ctx)
    {
        fz_free(ctx, fan);
        fz_rethrow(ctx);
    }
    fan->targets = targets;
    fan->areas = areas;
    fan->count = count;
    fz_device& d = fan->super;
    d.close_device = closeDevice;
    d.drop_device = dropDevice;
    d.fill_path = fillPath;
    d.stroke_path = strokePath;
    d.clip_path = clipPath;
    d.clip_stroke_path = clipStrokePath;
    d.fill_text = fillText;
    d.stroke_text = strokeText;
    d.clip_text = clipText;
    d.clip_stroke_text = clipStrokeText;
    d.ignore_text = ignoreText;
    d.fill_shade = fillShade;
    d.fill_image = fillImage;
    d.fill_image_mask = fillImageMask;
    d.clip_image_mask = clipImageMask;
    d.pop_clip = popClip;
    d.begin_mask = beginMask;
    d.end_mask = endMask;
    d.begin_group = beginGroup;
    d.end_group = endGroup;
    d.begin_tile = beginTile;
    d.end_tile = endTile;
    d.render_flags = renderFlags;
    d.set_default_colorspaces = setDefaultColorspaces;
    d.begin_layer = beginLayer;
    d.end_layer = endLayer;
    return &fan->super;
}

} // namespace p2w
