#pragma once

class QWidget;

// Loads ":/style/appstyle.css" as the application's style sheet and sets the application font
// to prefer anti-aliasing (also when the sheet cannot be read, which leaves the plain Qt look).
void loadStyleSheet();

// Applies the sheet again to a widget whose object name or dynamic property just changed, so
// the rules for the new selector take effect at once.
void repolish(QWidget* widget);

// Makes window translucent and gives frame the drop shadow of frameless windows (offset 0,
// blur 20, default colour); frame owns the effect. Without a compositing manager the
// translucent margin cannot be shown, so the window is then cut to its frame instead
// (see keepOpaqueWithoutCompositor).
void addDropShadow(QWidget* window, QWidget* frame);

// Under X11 without a compositing manager a translucent window shows its transparent pixels as
// black. Then this keeps the window's shape (its mask) equal to frame's rectangle, following
// every move and resize of frame, so only the opaque frame is shown. Does nothing when a
// compositor runs or the platform composites anyway.
void keepOpaqueWithoutCompositor(QWidget* window, QWidget* frame);

// Whether translucent top-level windows are shown as such: false only on X11 when no
// compositing manager owns the screen's "_NET_WM_CM_S<n>" selection. Asked once per process.
bool hasCompositor();
