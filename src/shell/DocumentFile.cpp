// Reading a document file for an editor window.
#include "shell/DocumentFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vorn {
namespace {

TLineBreakKind FirstLineBreak(const std::string& text) {
  const auto pos = text.find_first_of("\r\n");
  if (pos == std::string::npos || text[pos] == '\n') return pos == std::string::npos ? lbCRLF : lbLF;
  return (pos + 1 < text.size() && text[pos + 1] == '\n') ? lbCRLF : lbCR;
}

std::string ToCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

bool ReadDocumentForWindow(const std::string& path, bool openCodeGiven, TCharCodeKind openCode,
                           TDocumentReadResult& result, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "ファイル \"" + path + "\". " + std::strerror(errno) + " は開けません";
    return false;
  }
  std::ostringstream buf;
  buf << in.rdbuf();
  const std::string bytes = buf.str();
  TCharCodeKind kind = openCodeGiven ? openCode : DetectCharCode(bytes);
  if (kind == ckAscii || kind == ckBinary || kind == ckEucOrSjis) kind = ckSjis;
  std::size_t substituted = 0;
  std::string text = kind == ckSjis ? bytes : ConvertCharCode(bytes, kind, ckSjis, &substituted);
  result.charCode = kind;
  result.lineBreak = FirstLineBreak(text);
  result.text = ToCrLf(text);
  result.readOnly = substituted > 0;
  return true;
}

}  // namespace vorn
