// Pure Shift_JIS text helpers of the shell and tools: trimming, name sanitising, atom strings, version text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vorn {

// ---- Names. ----

// Replaces " * , / : ; < > ? \ | by "_" in Shift_JIS text; double-byte characters are kept whole
// (a trail byte 0x5C or 0x7C is part of a character, not a separator).
std::string SanitizeFileName(std::string_view sjisText);

// ---- NUL bytes. ----

// Turns every NUL byte of [p, p + size) into a space, so that a text read from a file does not
// end at one; answers how many there were.
std::size_t ReplaceNulBytes(char* p, std::size_t size);

// ---- Trimming (Shift_JIS aware; the full-width space is 0x81 0x40). ----

std::string TrimBlanks(std::string_view text, bool withTabs, bool withWideSpaces);
std::string TrimBlanksLeft(std::string_view text, bool withTabs, bool withWideSpaces);
std::string TrimBlanksRight(std::string_view text, bool withTabs, bool withWideSpaces);

// ---- Atom strings. ----

// Strings between processes travel with the message in place of a global atom; an absent
// string is atom 0. Takes the text (at most 255 bytes, never splitting a double-byte
// character) and clears the slot, as reading and deleting the atom did.
bool TakeAtomString(std::optional<std::string>& atom, std::string& text);
constexpr std::size_t kMaxAtomLength = 255;

// ---- Version. ----

// "r.1.2.3 Build 4" from the build's version numbers.
std::string VersionText();
// The build was made without NDEBUG.
bool IsDebugBuild();

}  // namespace vorn
