// The grep dialog's stored state, its history and mask rules, and the status text of a run.
#include "shellcore/GrepDialogState.h"

#include <algorithm>

#include "base/TextUtil.h"
#include "base/sjis.h"
#include "settings/SjisText.h"
#include "settings/VornMemInifile.h"
#include "syntax/KeyWord.h"

namespace vorn {
namespace {

const char* const kSetting = "Setting";

std::vector<std::string> ReadHistory(const TCustomIniFile& ini, const char* section) {
  std::vector<std::string> out;
  const int count = ini.ReadInteger(section, "Count", 0);
  for (int i = 0; i < count; ++i) {
    std::string entry = TrimBlanks(ini.ReadString(section, std::to_string(i), ""), true, true);
    if (!entry.empty()) out.push_back(std::move(entry));
  }
  return out;
}

void WriteHistory(TCustomIniFile& ini, const char* section, const std::vector<std::string>& history) {
  ini.WriteInteger(section, "Count", static_cast<int>(history.size()));
  for (std::size_t i = 0; i < history.size(); ++i) ini.WriteString(section, std::to_string(i), history[i]);
}

}  // namespace

void TGrepDialogState::Load(const TCustomIniFile& ini, bool openFileEnabled) {
  SubFolder = ini.ReadBool(kSetting, "SubFolder", false);
  CaseSensitive = !ini.ReadBool(kSetting, "IgnoreCase", false);
  UseJre = ini.ReadBool(kSetting, "UseJre", false);
  Word = ini.ReadBool(kSetting, "Word", false);
  Fuzz = ini.ReadBool(kSetting, "Fuzz", false);
  RelativePath = ini.ReadBool(kSetting, "RelativePath", false);
  EnBin = ini.ReadBool(kSetting, "EnBin", false);
  OnlyContents = ini.ReadBool(kSetting, "OnlyContents", false);
  UsePrevPathHist = ini.ReadBool(kSetting, "UsePrevPathHist", false);
  UsePrevPathHist2 = ini.ReadBool(kSetting, "UsePrevPathHist2", false);
  PrevGrepPath = ini.ReadString(kSetting, "PrevGrepPath", "");
  if (openFileEnabled) OpenFileGrep = ini.ReadBool(kSetting, "OpenFileGrep", false);
  Keywords = ReadHistory(ini, "KeywordHist");
  Masks = ReadHistory(ini, "PathHist");
  Folders = ReadHistory(ini, "PathHist2");
}

void TGrepDialogState::Save(TCustomIniFile& ini, bool openFileEnabled) const {
  ini.WriteBool(kSetting, "SubFolder", SubFolder);
  ini.WriteBool(kSetting, "IgnoreCase", !CaseSensitive);
  ini.WriteBool(kSetting, "UseJre", UseJre);
  ini.WriteBool(kSetting, "Word", Word);
  ini.WriteBool(kSetting, "Fuzz", Fuzz);
  ini.WriteBool(kSetting, "RelativePath", RelativePath);
  ini.WriteBool(kSetting, "EnBin", EnBin);
  ini.WriteBool(kSetting, "OnlyContents", OnlyContents);
  ini.WriteBool(kSetting, "UsePrevPathHist", UsePrevPathHist);
  ini.WriteBool(kSetting, "UsePrevPathHist2", UsePrevPathHist2);
  ini.WriteString(kSetting, "PrevGrepPath", UsePrevPathHist2 ? PrevGrepPath : std::string());
  if (openFileEnabled) ini.WriteBool(kSetting, "OpenFileGrep", OpenFileGrep);
  WriteHistory(ini, "KeywordHist", Keywords);
  WriteHistory(ini, "PathHist", Masks);
  WriteHistory(ini, "PathHist2", Folders);
}

void PushGrepHistory(std::vector<std::string>& history, const std::string& entry) {
  if (TrimBlanks(entry, true, true).empty()) return;
  history.erase(std::remove_if(history.begin(), history.end(),
                               [&](const std::string& e) { return sjis::SameTextI(e, entry); }),
                history.end());
  history.insert(history.begin(), entry);
}

std::string CompleteGrepMask(const std::string& mask) {
  if (mask.empty()) return "*.*";
  const char last = mask.back();
  if (last == '/') return mask + "*.*";
  if (last == '\\') return mask.substr(0, mask.size() - 1) + "/*.*";
  return mask;
}

bool GrepConditionFromMacroArgs(const std::vector<std::string>& args, const std::string& baseFolder,
                                TGrepKeyWord& c) {
  if (args.empty() || args[0].empty()) return false;
  auto flag = [&](std::size_t i) { return i < args.size() && args[i] == "1"; };
  c.SetPattern(args[0]);
  c.SetIgnoreCase(!flag(3));
  c.SetWholeWord(flag(4));
  c.SetPlainText(!flag(5));
  c.SetFuzzy(flag(6));
  c.FileMask = CompleteGrepMask(args.size() > 1 ? Utf8(args[1]) : std::string());
  c.SubFolders = flag(2);
  c.IncludeBinary = flag(7);
  c.BaseFolder = baseFolder;
  c.RelativePath = false;
  c.MatchedTextOnly = false;
  c.DetectCode = true;
  return true;
}

std::string GrepStatusText(std::int64_t hitCount, std::int64_t fileCount) {
  if (hitCount == 0) return Sjis("検索語がマッチするファイルはありませんでした");
  return Sjis("検索マッチ数：") + std::to_string(hitCount) + Sjis("    マッチしたファイル数：") +
         std::to_string(fileCount);
}

}  // namespace vorn
