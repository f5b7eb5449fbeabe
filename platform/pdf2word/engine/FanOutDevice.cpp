#include "platform/pdf2word/engine/FanOutDevice.h"

// The forwarding steps below are written from one table (a step's kind, its bounds and its call).

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

void fillPath(fz_context* ctx, fz_device* device, const fz_path* path, int evenOdd, fz_matrix ctm, fz_colorspace* space, const float* color, float alpha, fz_color_params params)
{
    FanOutDevice* fan = fanOut(device);
    const fz_rect box = fz_bound_path(ctx, path, nullptr, ctm);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        if (reaches(fan, i, box))
            fz_fill_path(ctx, t, path, evenOdd, ctm, space, color, alpha, params);
    }
}

void strokePath(fz_context* ctx, fz_device* device, const fz_path* path, const fz_stroke_state* stroke, fz_matrix ctm, fz_colorspace* space, const float* color, float alpha, fz_color_params params)
{
    FanOutDevice* fan = fanOut(device);
    const fz_rect box = fz_bound_path(ctx, path, stroke, ctm);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        if (reaches(fan, i, box))
            fz_stroke_path(ctx, t, path, stroke, ctm, space, color, alpha, params);
    }
}

void clipPath(fz_context* ctx, fz_device* device, const fz_path* path, int evenOdd, fz_matrix ctm, fz_rect scissor)
{
    FanOutDevice* fan = fanOut(device);
    const fz_rect box = fz_bound_path(ctx, path, nullptr, ctm);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        if (reaches(fan, i, box))
            fz_clip_path(ctx, t, path, evenOdd, ctm, scissor);
        else
            fz_clip_path(ctx, t, fan->nothing, 0, fz_identity, fz_empty_rect);
    }
}

void clipStrokePath(fz_context* ctx, fz_device* device, const fz_path* path, const fz_stroke_state* stroke, fz_matrix ctm, fz_rect scissor)
{
    FanOutDevice* fan = fanOut(device);
    const fz_rect box = fz_bound_path(ctx, path, stroke, ctm);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        if (reaches(fan, i, box))
            fz_clip_stroke_path(ctx, t, path, stroke, ctm, scissor);
        else
            fz_clip_path(ctx, t, fan->nothing, 0, fz_identity, fz_empty_rect);
    }
}

void fillText(fz_context* ctx, fz_device* device, const fz_text* text, fz_matrix ctm, fz_colorspace* space, const float* color, float alpha, fz_color_params params)
{
    FanOutDevice* fan = fanOut(device);
    const fz_rect box = fz_bound_text(ctx, text, nullptr, ctm);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        if (reaches(fan, i, box))
            fz_fill_text(ctx, t, text, ctm, space, color, alpha, params);
    }
}

void strokeText(fz_context* ctx, fz_device* device, const fz_text* text, const fz_stroke_state* stroke, fz_matrix ctm, fz_colorspace* space, const float* color, float alpha, fz_color_params params)
{
    FanOutDevice* fan = fanOut(device);
    const fz_rect box = fz_bound_text(ctx, text, stroke, ctm);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        if (reaches(fan, i, box))
            fz_stroke_text(ctx, t, text, stroke, ctm, space, color, alpha, params);
    }
}

void clipText(fz_context* ctx, fz_device* device, const fz_text* text, fz_matrix ctm, fz_rect scissor)
{
    FanOutDevice* fan = fanOut(device);
    const fz_rect box = fz_bound_text(ctx, text, nullptr, ctm);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        if (reaches(fan, i, box))
            fz_clip_text(ctx, t, text, ctm, scissor);
        else
            fz_clip_path(ctx, t, fan->nothing, 0, fz_identity, fz_empty_rect);
    }
}

void clipStrokeText(fz_context* ctx, fz_device* device, const fz_text* text, const fz_stroke_state* stroke, fz_matrix ctm, fz_rect scissor)
{
    FanOutDevice* fan = fanOut(device);
    const fz_rect box = fz_bound_text(ctx, text, stroke, ctm);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        if (reaches(fan, i, box))
            fz_clip_stroke_text(ctx, t, text, stroke, ctm, scissor);
        else
            fz_clip_path(ctx, t, fan->nothing, 0, fz_identity, fz_empty_rect);
    }
}

void ignoreText(fz_context* ctx, fz_device* device, const fz_text* text, fz_matrix ctm)
{
    FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        fz_ignore_text(ctx, t, text, ctm);
    }
}

void fillShade(fz_context* ctx, fz_device* device, fz_shade* shade, fz_matrix ctm, float alpha, fz_color_params params)
{
    FanOutDevice* fan = fanOut(device);
    const fz_rect box = fz_bound_shade(ctx, shade, ctm);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        if (reaches(fan, i, box))
            fz_fill_shade(ctx, t, shade, ctm, alpha, params);
    }
}

void fillImage(fz_context* ctx, fz_device* device, fz_image* image, fz_matrix ctm, float alpha, fz_color_params params)
{
    FanOutDevice* fan = fanOut(device);
    const fz_rect box = fz_transform_rect(fz_unit_rect, ctm);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        if (reaches(fan, i, box))
            fz_fill_image(ctx, t, image, ctm, alpha, params);
    }
}

void fillImageMask(fz_context* ctx, fz_device* device, fz_image* image, fz_matrix ctm, fz_colorspace* space, const float* color, float alpha, fz_color_params params)
{
    FanOutDevice* fan = fanOut(device);
    const fz_rect box = fz_transform_rect(fz_unit_rect, ctm);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        if (reaches(fan, i, box))
            fz_fill_image_mask(ctx, t, image, ctm, space, color, alpha, params);
    }
}

void clipImageMask(fz_context* ctx, fz_device* device, fz_image* image, fz_matrix ctm, fz_rect scissor)
{
    FanOutDevice* fan = fanOut(device);
    const fz_rect box = fz_transform_rect(fz_unit_rect, ctm);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        if (reaches(fan, i, box))
            fz_clip_image_mask(ctx, t, image, ctm, scissor);
        else
            fz_clip_path(ctx, t, fan->nothing, 0, fz_identity, fz_empty_rect);
    }
}

void popClip(fz_context* ctx, fz_device* device)
{
    FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        fz_pop_clip(ctx, t);
    }
}

void beginMask(fz_context* ctx, fz_device* device, fz_rect area, int luminosity, fz_colorspace* space, const float* backdrop, fz_color_params params)
{
    FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        fz_begin_mask(ctx, t, area, luminosity, space, backdrop, params);
    }
}

void endMask(fz_context* ctx, fz_device* device)
{
    FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        fz_end_mask(ctx, t);
    }
}

void beginGroup(fz_context* ctx, fz_device* device, fz_rect area, fz_colorspace* space, int isolated, int knockout, int blendmode, float alpha)
{
    FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        fz_begin_group(ctx, t, area, space, isolated, knockout, blendmode, alpha);
    }
}

void endGroup(fz_context* ctx, fz_device* device)
{
    FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        fz_end_group(ctx, t);
    }
}

void endTile(fz_context* ctx, fz_device* device)
{
    FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        fz_end_tile(ctx, t);
    }
}

void renderFlags(fz_context* ctx, fz_device* device, int set, int clear)
{
    FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        fz_render_flags(ctx, t, set, clear);
    }
}

void setDefaultColorspaces(fz_context* ctx, fz_device* device, fz_default_colorspaces* spaces)
{
    FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        fz_set_default_colorspaces(ctx, t, spaces);
    }
}

void beginLayer(fz_context* ctx, fz_device* device, const char* name)
{
    FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        fz_begin_layer(ctx, t, name);
    }
}

void endLayer(fz_context* ctx, fz_device* device)
{
    FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        fz_end_layer(ctx, t);
    }
}

void closeDevice(fz_context* ctx, fz_device* device)
{
    FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i) {
        fz_device* t = fan->targets[i];
        fz_close_device(ctx, t);
    }
}

// Tiles are drawn by every target, none from a cache: targets must not skip what others draw.
int beginTile(fz_context* ctx, fz_device* device, fz_rect area, fz_rect view, float xstep, float ystep, fz_matrix ctm, int)
{
    const FanOutDevice* fan = fanOut(device);
    for (int i = 0; i < fan->count; ++i)
        fz_begin_tile_id(ctx, fan->targets[i], area, view, xstep, ystep, ctm, 0);
    return 0;
}

void dropDevice(fz_context* ctx, fz_device* device)
{
    fz_drop_path(ctx, fanOut(device)->nothing);
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
    fan->super.drop_device = dropDevice;
    fan->super.fill_path = fillPath;
    fan->super.stroke_path = strokePath;
    fan->super.clip_path = clipPath;
    fan->super.clip_stroke_path = clipStrokePath;
    fan->super.fill_text = fillText;
    fan->super.stroke_text = strokeText;
    fan->super.clip_text = clipText;
    fan->super.clip_stroke_text = clipStrokeText;
    fan->super.ignore_text = ignoreText;
    fan->super.fill_shade = fillShade;
    fan->super.fill_image = fillImage;
    fan->super.fill_image_mask = fillImageMask;
    fan->super.clip_image_mask = clipImageMask;
    fan->super.pop_clip = popClip;
    fan->super.begin_mask = beginMask;
    fan->super.end_mask = endMask;
    fan->super.begin_group = beginGroup;
    fan->super.end_group = endGroup;
    fan->super.end_tile = endTile;
    fan->super.render_flags = renderFlags;
    fan->super.set_default_colorspaces = setDefaultColorspaces;
    fan->super.begin_layer = beginLayer;
    fan->super.end_layer = endLayer;
    fan->super.close_device = closeDevice;
    fan->super.begin_tile = beginTile;
    return &fan->super;
}

} // namespace p2w
