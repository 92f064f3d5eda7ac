#pragma once
// Conversion between the UTF-8 strings used everywhere in the code and the
// CP932 (Windows Shift-JIS) bytes of the data files and section-table rows.

#include <string>
#include <string_view>

namespace rahmen {

// UTF-8 to CP932. A character without a CP932 form becomes "?".
std::string utf8ToCp932(std::string_view utf8);

// CP932 to UTF-8. A byte sequence that is not valid CP932 becomes U+FFFD.
std::string cp932ToUtf8(std::string_view cp932);

// Byte width of a UTF-8 text once encoded in CP932 (half-width katakana and
// ASCII one byte, full-width characters two).
std::size_t cp932Width(std::string_view utf8);

} // namespace rahmen
