// The find history file, the macro arguments of a find step and the find commands' texts.
#include "shellcore/FindHistory.h"

#include <filesystem>

#include "base/VornError.h"
#include "base/sjis.h"
#include "encoding/jconvert.h"
#include "platform/AtomicFile.h"
#include "platform/FileBytes.h"

namespace vorn {
namespace {

std::string Sjis(const char* utf8) { return ConvertCharCode(utf8, ckUtf8N, ckSjis); }

bool IsSjisText(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (!sjis::IsLeadByte(s[i])) continue;
    if (i + 1 >= s.size() || !sjis::IsTrailByte(s[i + 1])) return false;
    ++i;
  }
  return true;
}

bool Flag(const std::vector<std::string>& args, std::size_t i) { return i < args.size() && args[i] == "1"; }

}  // namespace

TFindHistory LoadFindHistory(const std::string& path, std::string& error) {
  error.clear();
  TFindHistory history;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return history;
  try {
    const TByteBuffer bytes = ReadFileBytes(path);
    TRecordReader in(std::string_view(bytes.Data(), bytes.Size()));
    const int count = in.ReadInt32();
    if (count < 0 || count > kFindHistoryLimit) throw EVornError("count");
    for (int i = 0; i < count; ++i) {
      auto item = std::make_unique<TFindKeyWord>();
      item->LoadFromStream(in);
      if (!IsSjisText(item->Pattern()) || !IsSjisText(item->ReplaceText())) throw EVornError("text");
      if (!item->Pattern().empty()) history.push_back(std::move(item));
    }
    if (!in.AtEnd()) throw EVornError("trailing bytes");
    // Every record ends with a terminated string: a file cut inside its last one is damaged.
    if (count > 0 && bytes.Data()[bytes.Size() - 1] != '\0') throw EVornError("cut short");
  } catch (const EVornError&) {
    history.clear();
    error = Sjis("検索履歴ファイルが壊れているため読み込めませんでした: ") + path;
  }
  return history;
}

std::string FindHistoryImage(const TFindHistory& history) {
  TRecordWriter out;
  const std::size_t skip = history.size() > static_cast<std::size_t>(kFindHistoryLimit)
                               ? history.size() - static_cast<std::size_t>(kFindHistoryLimit)
                               : 0;
  out.WriteInt32(static_cast<std::int32_t>(history.size() - skip));
  for (std::size_t i = skip; i < history.size(); ++i) history[i]->SaveToStream(out);
  return out.Data();
}

bool SaveFindHistory(const std::string& path, const TFindHistory& history) {
  const std::string image = FindHistoryImage(history);
  TAtomicFileWriter writer;
  if (!writer.Open(path).empty() || !writer.Write(image.data(), image.size()).empty()) return false;
  return writer.Commit().empty();
}

bool FindStepFromMacroArgs(const std::vector<std::string>& args, bool replace, TFindMacroStep& step) {
  if (args.empty() || args[0].empty()) return false;
  step = TFindMacroStep{};
  step.Pattern = args[0];
  std::size_t i = 1;
  if (replace) {
    if (i < args.size()) step.Replacement = args[i];
    ++i;
  }
  step.Case = Flag(args, i);
  step.Word = Flag(args, i + 1);
  step.UseJre = Flag(args, i + 2);
  step.Fuzz = Flag(args, i + 3);
  const std::size_t a = i + 4;
  if (a < args.size() && args[a].size() == 1 && args[a][0] >= '1' && args[a][0] <= '4') step.Action = args[a][0] - '0';
  step.PrevRange = Flag(args, a + 1);
  step.NoMessage = Flag(args, a + 2);
  step.NoProgress = Flag(args, a + 3);
  return true;
}

std::vector<std::string> FindStepMacroArgs(const TFindMacroStep& step, bool replace) {
  const auto bit = [](bool b) { return std::string(b ? "1" : "0"); };
  std::vector<std::string> args{step.Pattern};
  if (replace) args.push_back(step.Replacement);
  for (bool b : {step.Case, step.Word, step.UseJre, step.Fuzz}) args.push_back(bit(b));
  args.push_back(std::to_string(step.Action));
  args.push_back(bit(step.PrevRange));
  args.push_back("0");
  args.push_back("0");
  return args;
}

std::string FindNoMatchText() { return Sjis("検索：マッチする文字列はありませんでした"); }

std::string ReplaceCountStatusText(int count) {
  if (count < 0) return Sjis("置換できませんでした。検索語・置換語を見直してください");
  return Sjis("置換した数 (") + std::to_string(count) + ")";
}

std::string ReplaceResultMessage(int count) {
  if (count > 0) return Sjis("全部で ") + std::to_string(count) + Sjis("個の置換を行いました");
  if (count == 0) return Sjis("置換できる文字列はありませんでした");
  return Sjis("置換に失敗しました。検索語・置換語を見直してください");
}

std::string InvalidPatternMessage(const std::string& engineMessage) {
  return Sjis("検索語の指定が正しくありません。\r\n「") + engineMessage + Sjis("」");
}

}  // namespace vorn
