// Pure Shift_JIS text helpers of the shell and tools: trimming, name sanitising, atom strings, version text.
#include "base/TextUtil.h"

#include <cstring>

#include "base/sjis.h"

#ifndef VORN_VERSION_MAJOR
#define VORN_VERSION_MAJOR 0
#define VORN_VERSION_MINOR 0
#define VORN_VERSION_PATCH 0
#define VORN_VERSION_BUILD 0
#endif

namespace vorn {

std::string SanitizeFileName(std::string_view sjisText) {
  std::string out(sjisText);
  for (std::size_t i = 0; i < out.size();) {
    std::size_t n = sjis::CharLen(out, i);
    if (n == 1 && std::string_view("\"*,/:;<>?\\|").find(out[i]) != std::string_view::npos) out[i] = '_';
    i += n;
  }
  return out;
}

namespace {

// Length of a blank at pos, or 0: a space, a tab when asked, the full-width space when asked.
std::size_t BlankAt(std::string_view s, std::size_t pos, bool withTabs, bool withWide) {
  if (s[pos] == ' ' || (withTabs && s[pos] == '\t')) return 1;
  if (withWide && pos + 1 < s.size() && s[pos] == '\x81' && s[pos + 1] == '\x40') return 2;
  return 0;
}

}  // namespace

std::string TrimBlanksLeft(std::string_view text, bool withTabs, bool withWideSpaces) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t n = BlankAt(text, pos, withTabs, withWideSpaces);
    if (n == 0) break;
    pos += n;
  }
  return std::string(text.substr(pos));
}

std::string TrimBlanksRight(std::string_view text, bool withTabs, bool withWideSpaces) {
  // Walk forward so that a trail byte 0x40 after another lead byte is never taken for a blank.
  std::size_t keep = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t n = BlankAt(text, pos, withTabs, withWideSpaces);
    if (n == 0) {
      n = sjis::CharLen(text, pos);
      keep = pos + n;
    }
    pos += n;
  }
  return std::string(text.substr(0, keep));
}

std::string TrimBlanks(std::string_view text, bool withTabs, bool withWideSpaces) {
  return TrimBlanksRight(TrimBlanksLeft(text, withTabs, withWideSpaces), withTabs, withWideSpaces);
}

bool TakeAtomString(std::optional<std::string>& atom, std::string& text) {
  if (!atom) return false;
  std::string value = std::move(*atom);
  atom.reset();
  if (value.size() > kMaxAtomLength) {
    std::size_t cut = 0;
    while (cut < kMaxAtomLength) {
      std::size_t n = sjis::CharLen(value, cut);
      if (cut + n > kMaxAtomLength) break;
      cut += n;
    }
    value.resize(cut);
  }
  text = std::move(value);
  return true;
}

std::string VersionText() {
  return "r." + std::to_string(VORN_VERSION_MAJOR) + "." + std::to_string(VORN_VERSION_MINOR) + "." +
         std::to_string(VORN_VERSION_PATCH) + " Build " + std::to_string(VORN_VERSION_BUILD);
}

bool IsDebugBuild() {
#ifdef NDEBUG
  return false;
#else
  return true;
#endif
}

std::size_t ReplaceNulBytes(char* p, std::size_t size) {
  std::size_t replaced = 0;
  char* end = p + size;
  while (p < end) {
    char* nul = static_cast<char*>(std::memchr(p, 0, static_cast<std::size_t>(end - p)));
    if (!nul) break;
    *nul = ' ';
    ++replaced;
    p = nul + 1;
  }
  return replaced;
}

}  // namespace vorn
