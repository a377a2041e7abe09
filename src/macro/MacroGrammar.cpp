// One line of a macro file: comments, typed text, command names and the argument list with its
// quoting, read so that a trail byte is never taken for a blank, a quote or a letter of SHIFT.
#include "macro/MacroFile.h"

#include <algorithm>

#include "base/sjis.h"
#include "macro/MacroText.h"
#include "shellcore/FunctionTable.h"

namespace vorn {
namespace {

constexpr std::string_view kInputStr = "INPUTSTR";
constexpr std::string_view kShift = "SHIFT";

bool StartsWith(std::string_view s, char c) { return !s.empty() && s.front() == c; }
// Neither ';' nor ')' can be a trail byte, so the last byte is a whole character.
bool EndsWith(std::string_view s, char c) { return !s.empty() && s.back() == c; }

// The quoted argument at the start of text (which starts with the quote); a doubled quote
// stands for one. Answers the position after the closing quote, npos when there is none.
std::size_t TakeQuoted(std::string_view text, std::string& argument) {
  const char quote = text.front();
  for (std::size_t i = 1; i < text.size();) {
    if (text[i] == quote) {
      if (i + 1 < text.size() && text[i + 1] == quote) {
        argument += quote;
        i += 2;
        continue;
      }
      return i + 1;
    }
    const std::size_t n = sjis::CharLen(text, i);
    argument.append(text.substr(i, n));
    i += n;
  }
  return std::string_view::npos;
}

// Reads the argument list of text into arguments; an error text when the grammar cannot.
std::string ParseArguments(std::string_view text, std::vector<std::string>& arguments) {
  std::string_view rest = text;
  for (;;) {
    rest = TrimMacroBlanks(rest);
    if (StartsWith(rest, '(')) rest = TrimMacroBlanks(rest.substr(1));
    if (EndsWith(rest, ';')) rest = TrimMacroBlanks(rest.substr(0, rest.size() - 1));
    if (EndsWith(rest, ')')) rest = TrimMacroBlanks(rest.substr(0, rest.size() - 1));
    if (rest.empty()) return {};
    if (arguments.size() == static_cast<std::size_t>(TMacroItem::kMaxArguments))
      return "引数が" + std::to_string(TMacroItem::kMaxArguments) + "個を超えています";
    if (rest.front() == '"' || rest.front() == '\'') {
      std::string argument;
      const std::size_t end = TakeQuoted(rest, argument);
      if (end == std::string_view::npos) return "引用符が閉じていません";
      const std::string_view after = TrimMacroBlanks(rest.substr(end));
      if (StartsWith(after, ',')) {
        arguments.push_back(std::move(argument));
        rest = after.substr(1);
        continue;
      }
      argument.append(after);
      arguments.push_back(std::move(argument));
      return {};
    }
    const std::size_t comma = rest.find(',');  // never a trail byte
    arguments.emplace_back(rest.substr(0, comma));
    if (comma == std::string_view::npos) return {};
    rest = rest.substr(comma + 1);
  }
}

TMacroLine ErrorLine(std::string reason) {
  TMacroLine line;
  line.Kind = TMacroLine::lkError;
  line.Error = std::move(reason);
  return line;
}

TMacroLine TextStepLine(std::string_view rest) {
  std::vector<std::string> arguments;
  if (std::string error = ParseArguments(rest, arguments); !error.empty()) return ErrorLine(std::move(error));
  TMacroLine line;
  if (arguments.empty()) return line;
  line.Kind = TMacroLine::lkStep;
  line.Step = TMacroItem::Typed(std::move(arguments.front()));
  return line;
}

TMacroLine CommandStepLine(std::string_view text) {
  const std::size_t nameEnd = std::min(text.find('('), text.find(','));
  const int function = MacroFunctionByName(TrimMacroBlanks(text.substr(0, nameEnd)));
  TMacroLine line;
  if (function < 0) return line;
  std::string_view rest = nameEnd == std::string_view::npos ? std::string_view() : text.substr(nameEnd);
  bool shift = false;
  if (rest.size() >= kShift.size() && sjis::IsCharBoundary(rest, rest.size() - kShift.size()) &&
      sjis::SameTextI(rest.substr(rest.size() - kShift.size()), kShift)) {
    rest = TrimMacroBlanksRight(rest.substr(0, rest.size() - kShift.size()));
    if (EndsWith(rest, ',')) rest.remove_suffix(1);
    shift = true;
  }
  std::vector<std::string> arguments;
  if (std::string error = ParseArguments(rest, arguments); !error.empty()) return ErrorLine(std::move(error));
  line.Kind = TMacroLine::lkStep;
  line.Step = TMacroItem::Command(function, shift, std::move(arguments));
  return line;
}

}  // namespace

// Every line of a file looks its name up, so the names are kept upper-cased and sorted.
int MacroFunctionByName(std::string_view name) {
  struct TEntry {
    std::string upper;
    int number;
  };
  static const std::vector<TEntry> kSorted = [] {
    std::vector<TEntry> entries;
    for (const TFunctionInfo& f : AllFunctions()) entries.push_back(TEntry{sjis::UpperAscii(f.Name), f.Number});
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.upper < b.upper; });
    return entries;
  }();
  constexpr std::size_t kLongest = 32;
  if (name.empty() || name.size() > kLongest) return -1;
  char buffer[kLongest];
  for (std::size_t i = 0; i < name.size(); ++i) {
    // Function names are ASCII: a byte beyond it (a lead or trail byte) names none.
    if (static_cast<unsigned char>(name[i]) >= 0x80) return -1;
    buffer[i] = sjis::UpperAscii(name[i]);
  }
  const std::string_view upper(buffer, name.size());
  const auto it = std::lower_bound(kSorted.begin(), kSorted.end(), upper,
                                   [](const TEntry& e, std::string_view key) { return e.upper < key; });
  return it != kSorted.end() && it->upper == upper ? it->number : -1;
}

TMacroLine ParseMacroLine(std::string_view raw) {
  const std::string_view text = TrimMacroBlanks(raw);
  TMacroLine line;
  if (text.empty()) return line;
  if (text.substr(0, 2) == "//") {
    line.Kind = TMacroLine::lkComment;
    line.Comment = std::string(TrimMacroBlanks(text.substr(2)));
    return line;
  }
  if (text.size() >= kInputStr.size() && sjis::SameTextI(text.substr(0, kInputStr.size()), kInputStr))
    return TextStepLine(text.substr(kInputStr.size()));
  return CommandStepLine(text);
}

}  // namespace vorn
