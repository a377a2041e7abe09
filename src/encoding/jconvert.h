// jconvert: character-code kinds, detection of a byte string's code, conversion between codes.
//
// Errors, encoding: none. Detection and conversion take any bytes; ill-formed input has a
// defined output, and characters the target code cannot hold are counted in the result.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/ByteBuffer.h"

namespace vorn {

// The numbers are stored by settings, macros and the command line: never renumber.
enum TCharCodeKind : int {
  ckAscii = 0,
  ckBinary = 1,
  ckJis = 2,
  ckJisAscii = 3,
  ckEuc = 4,
  ckSjis = 5,
  ckEucOrSjis = 6,
  ckUnicodeLE = 7,
  ckUnicodeBE = 8,
  ckUtf8 = 9,
  ckUtf8N = 10,
  ckUtf7 = 11,
};

constexpr std::size_t DetectLimit = 1048576;

// Detects the code of text (its first DetectLimit bytes for the counters). Pure; never fails.
TCharCodeKind DetectCharCode(std::string_view text);

// Converts text from one kind to another. Never fails: ill-formed input has a defined output.
// When substituted is given it receives the number of characters that the target code could
// not hold and that were replaced by the default character.
std::string ConvertCharCode(std::string_view text, TCharCodeKind fromKind, TCharCodeKind toKind,
                            std::size_t* substituted = nullptr);

// The same as ConvertCharCode from UTF-8 (either kind) to Shift_JIS, written over the UTF-8
// bytes a part at a time: reading a UTF-8 file then needs no second buffer of the text's size.
// Large texts are converted in parts side by side, one per core.
void Utf8ToSjisInPlace(TByteBuffer& bytes, std::size_t& substituted);
// The same cut into partCount parts (at line feeds, so fewer when there are fewer lines).
void Utf8ToSjisInPlace(TByteBuffer& bytes, std::size_t& substituted, unsigned partCount);
// The same for a file's bytes, which do not end at a NUL: every NUL byte, of the UTF-8 and of
// what it converts to (an overlong form of U+0000), becomes a space. Answers how many did.
std::size_t Utf8FileToSjisInPlace(TByteBuffer& bytes, std::size_t& substituted, unsigned partCount = 0);

// The status-bar name of a kind ("SJIS", "JIS(RO)", ...); ckAscii and ckBinary show as "SJIS".
const char* StatusBarCodeName(TCharCodeKind kind);

}  // namespace vorn
