#pragma once
#include <string>

namespace Engine {

// Characters that a font built in mapping mode 1 re-keys: the glyph of the
// source character at position k is stored under the target character at k.
// Both strings hold at most kMaxMappingChars characters.
constexpr std::size_t kMaxMappingChars = 95;

std::u16string& FontMappingSource();
std::u16string& FontMappingTarget();

// Reads "data/font_mapping": UTF-8, line 1 the source characters, line 2 the
// target characters, each cut at 95; anything after line 2 is ignored. A
// missing file selects the built-in mapping of printable ASCII. What was
// wrong with the file is one message on stderr naming it.
void LoadFontMapping();

// Decodes UTF-8 into 16-bit characters. Malformed sequences and code points
// above U+FFFF are dropped, never passed on half-decoded; `dropped`, when
// given, receives how many were.
std::u16string DecodeUtf8(const std::string& bytes, std::size_t* dropped = nullptr);

// Fills the two strings from a mapping file's bytes and returns what was
// wrong with them ("" for nothing): no source characters, a line of more
// than 95, lines of different lengths, bytes that did not decode. A first
// line longer than 95 characters is cut to 95 and leaves the target empty.
std::string ParseFontMapping(const std::string& bytes, std::u16string& source, std::u16string& target);

} // namespace Engine
