#pragma once
#include <string>
#include <string_view>

namespace Engine::UI {

// Decodes UTF-8 into 16-bit characters. What cannot be one 16-bit
// character (a malformed or cut sequence, an overlong form, a surrogate, a
// character above U+FFFF) becomes one U+FFFD per bad sequence; `replaced`,
// when given, receives how many were.
std::u16string DecodeUtf8(std::string_view bytes, std::size_t* replaced = nullptr);

} // namespace Engine::UI
