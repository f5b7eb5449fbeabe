#pragma once

class QWebElement;

// Printing lays out and paints each piece of text once for every element it lies in, so a page
// whose elements nest hundreds deep (a chapter of unclosed inline tags) takes minutes to print
// while the same text nested as real books nest it prints in a second. What lies below the
// deepest level kept is printed as plain text of the element at that level: its words stay,
// their line breaks too, their markup goes.
namespace DeepNesting {

// The deepest level kept, counted from the document element (the "html" element is level 1).
// Real books nest well within it.
constexpr int deepestLevel = 32;

// Flattens what lies below the deepest level under root, the document element; returns how many
// elements at that level were flattened.
int flatten(const QWebElement& root, int deepest = deepestLevel);

} // namespace DeepNesting
