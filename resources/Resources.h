#pragma once

// The style bundle (":/style/appstyle.css" and ":/style/images/...") lives in a static library;
// a program registers it once by calling this before it first reads a ":/style" path.
// Calling it again does nothing.
void initStyleResources();
