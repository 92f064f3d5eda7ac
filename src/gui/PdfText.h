#pragma once
// The text layer of the PDF files Qt writes. Qt's PDF writer names, in a
// font's ToUnicode map, the first character the font's glyph table gives a
// glyph; IPAexGothic draws a Kangxi radical and its ideograph (⾻ and 骨, ⽇ and
// 日) with one glyph, so text copied or searched in the PDF reads the radical.
// unifyToUnicode puts the ideographs back.

#include <string>

namespace rahmen {

// The unified ideograph that a Kangxi radical, CJK radical or CJK
// compatibility ideograph stands for: its NFKC form, or for a radical without
// one the ideograph IPAexGothic draws with the same glyph (⻑: 長); 0 for
// every other character.
char32_t unifiedIdeograph(char32_t c);

// A ToUnicode CMap with every target character that unifiedIdeograph maps
// replaced by its ideograph (a range with one start target becomes a list
// where it needs to); the text unchanged when there is nothing to replace.
std::string unifyCMap(const std::string& cmap);

// The PDF with its ToUnicode CMaps unified: an incremental update appended
// that replaces every CMap stream that changed (compressed again when it
// was). The bytes unchanged when no CMap changes or the file's structure is
// not the classic cross-reference table this reads.
std::string unifyToUnicode(const std::string& pdf);

} // namespace rahmen
