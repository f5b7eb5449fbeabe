#pragma once

// Which characters are Chinese or Japanese, which set no spaces between their words: reading
// closes the gaps between them, and the layout counts their words by the character.

namespace p2w {

// Han characters, Hiragana, Katakana, the ideographic punctuation and the fullwidth forms.
bool isCjk(char32_t c);

} // namespace p2w
