// Reading and writing whole ".mac" files: line ends, limits, Shift_JIS validity, the messages
// that name the file and line, and the writer whose output reads back to the same steps.
#include "macro/MacroFile.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "base/VornError.h"
#include "macro/MacroText.h"
#include "platform/AtomicFile.h"
#include "platform/FileBytes.h"
#include "shellcore/FunctionTable.h"

namespace vorn {
namespace {

// The next line of bytes from pos: its end, and pos moved past the line break.
std::string_view NextLine(std::string_view bytes, std::size_t& pos) {
  const std::size_t start = pos;
  std::size_t end = start;
  while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
  pos = end;
  if (pos < bytes.size()) pos += (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ? 2 : 1;
  return bytes.substr(start, end - start);
}

TMacroReadResult Failed(int line, std::string reason) { return TMacroReadResult{false, line, std::move(reason)}; }

TMacroReadResult TooLarge(const TMacroReadLimits& limits) {
  return Failed(0, "ファイルが大きすぎます（" + std::to_string(limits.MaxFileBytes) + " バイトまで）");
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '"') out += '"';  // never a trail byte
  }
  out += '"';
  return out;
}

std::string StepLine(const TMacroItem& step) {
  if (step.IsText()) return "InputStr(" + Quoted(step.Text) + ")";
  std::string line(FunctionByNumber(step.Function)->Name);
  if (!step.Arguments.empty()) {
    line += '(';
    for (std::size_t i = 0; i < step.Arguments.size(); ++i) {
      if (i > 0) line += ',';
      line += Quoted(step.Arguments[i]);
    }
    line += ')';
  }
  if (step.Shift) line += " ,SHIFT";
  return line;
}

// Why a step cannot be written as a line that reads back to it; empty when it can.
std::string UnwritableReason(const TMacroItem& step, const std::string& line) {
  if (!step.IsText() && !FunctionByNumber(step.Function)) return "番号 " + std::to_string(step.Function) + " の機能はありません";
  if (step.Arguments.size() > static_cast<std::size_t>(TMacroItem::kMaxArguments))
    return "引数が" + std::to_string(TMacroItem::kMaxArguments) + "個を超えています";
  if (line.find_first_of("\r\n") != std::string::npos) return "改行を含む文字列は1行に書けません";
  if (FirstNonSjisByte(line) != std::string_view::npos) return "Shift_JIS でない文字を含んでいます";
  return {};
}

// The description as one line: line breaks become spaces, blanks at the ends go, as reading
// would drop them.
std::string DescriptionLine(std::string_view description) {
  std::string one(description);
  for (char& c : one)
    if (c == '\r' || c == '\n') c = ' ';
  return std::string(TrimMacroBlanks(one));
}

}  // namespace

TMacroReadResult ReadMacroText(std::string_view bytes, TMacroSet& set, const TMacroReadLimits& limits) {
  if (bytes.size() > limits.MaxFileBytes) return TooLarge(limits);
  std::vector<TMacroItem> steps;
  std::string description;
  int number = 0;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::string_view raw = NextLine(bytes, pos);
    ++number;
    if (raw.size() > limits.MaxLineBytes)
      return Failed(number, "行が長すぎます（" + std::to_string(limits.MaxLineBytes) + " バイトまで）");
    if (const std::size_t bad = FirstNonSjisByte(raw); bad != std::string_view::npos)
      return Failed(number, IsUtf8Text(bytes) ? std::string("Shift_JIS ではなく UTF-8 で書かれています。Shift_JIS で保存してください")
                                              : std::to_string(bad + 1) + " バイト目が Shift_JIS の文字ではありません");
    TMacroLine line = ParseMacroLine(raw);
    switch (line.Kind) {
      case TMacroLine::lkNothing: break;
      case TMacroLine::lkComment: description = std::move(line.Comment); break;
      case TMacroLine::lkStep: steps.push_back(std::move(line.Step)); break;
      case TMacroLine::lkError: return Failed(number, std::move(line.Error));
    }
  }
  set.Steps = std::move(steps);
  set.Description = std::move(description);
  return {};
}

std::string MacroReadMessage(const std::string& path, const TMacroReadResult& result) {
  std::string text = "マクロファイル「" + path + "」";
  if (result.Line > 0) text += "の " + std::to_string(result.Line) + " 行目";
  return text + ": " + result.Reason;
}

std::string LoadMacroFile(TMacroSet& set, const TMacroReadLimits& limits) {
  // Told before reading, so a huge file named by mistake is not read whole first.
  std::error_code ignored;
  if (const auto size = std::filesystem::file_size(set.FileName, ignored); !ignored && size > limits.MaxFileBytes)
    return MacroReadMessage(set.FileName, TooLarge(limits));
  TByteBuffer bytes;
  try {
    bytes = ReadFileBytes(set.FileName);
  } catch (const EVornError& e) {
    return e.what();
  }
  const TMacroReadResult result = ReadMacroText(std::string_view(bytes.Data(), bytes.Size()), set, limits);
  return result.Ok ? std::string() : MacroReadMessage(set.FileName, result);
}

std::string MacroFileText(const TMacroSet& set, std::string* error) {
  std::string text;
  if (const std::string description = DescriptionLine(set.Description); !description.empty()) {
    const std::string line = "// " + description;
    if (FirstNonSjisByte(line) != std::string_view::npos) {
      if (error) *error = "マクロの説明に Shift_JIS でない文字が含まれています";
      return {};
    }
    text += line + "\r\n";
  }
  for (std::size_t i = 0; i < set.Steps.size(); ++i) {
    const TMacroItem& step = set.Steps[i];
    const std::string line = step.IsText() || FunctionByNumber(step.Function) ? StepLine(step) : std::string();
    if (const std::string reason = UnwritableReason(step, line); !reason.empty()) {
      if (error) *error = std::to_string(i + 1) + " 番目のステップをマクロファイルに書けません: " + reason;
      return {};
    }
    text += line + "\r\n";
  }
  if (error) error->clear();
  return text;
}

std::string SaveMacroFile(const TMacroSet& set) {
  if (set.FileName.empty()) return "ERROR:マクロのファイル名なし";
  std::string error;
  const std::string text = MacroFileText(set, &error);
  if (!error.empty()) return error;
  const std::string reason = WriteFileAtomically(set.FileName, text);
  return reason.empty() ? std::string() : "マクロファイル「" + set.FileName + "」を保存できません: " + reason;
}

std::string MacroListDescription(std::string_view fileStart) {
  std::size_t pos = 0;
  const std::string_view first = TrimMacroBlanks(NextLine(fileStart, pos));
  if (first.substr(0, 2) != "//") return {};
  return std::string(TrimMacroBlanksLeft(first.substr(2)));
}

std::string ReadMacroListDescription(const std::string& path) {
  // The list reads every file in two folders: only the first line, and not all of a huge one.
  constexpr std::size_t kFirstLineLimit = 4096;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return {};
  std::string head(kFirstLineLimit, '\0');
  head.resize(std::fread(head.data(), 1, head.size(), file.get()));
  return MacroListDescription(head);
}

}  // namespace vorn
