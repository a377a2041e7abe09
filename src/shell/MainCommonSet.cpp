// TVornEditMain: the common settings of "Common.ini" that belong to the window itself (history
// sizes, what the history restores, the questions it asks), read at start and applied here.
#include "shell/Main.h"

#include "platform/VornUtil.h"
#include "settings/CommonSet.h"

#include <algorithm>

namespace vorn {
namespace {

// Receives the window's share of the settings; the panes take theirs elsewhere.
class TWindowOptionsTarget : public TSettingsWindowTarget, public TSettingsApplyTarget {
public:
  void SetTypeOptions(const TWindowTypeOptions&) override {}
  void SetCommonOptions(const TWindowCommonOptions& options) override { window = options; }
  std::vector<TSettingsPaneTarget*> Panes() override { return {}; }
  std::vector<TSettingsWindowTarget*> Windows() override { return {this}; }
  void SetTypeIniFileName(const std::string&) override {}
  void SetMacros(const std::vector<std::string>&, const std::vector<std::string>&) override {}

  TWindowCommonOptions window;
};

}  // namespace

void TVornEditMain::LoadCommonSettings() {
  TCommonSet settings(ProgramFolder());
  settings.LoadFrom(HistoryUserFolder() + "Common.ini");
  for (const std::string& message : settings.TakeMessages()) ShowHistoryMessage(message);
  TWindowOptionsTarget target;
  settings.ApplyToWindows(target);
  SetCommonOptions(target.window);
}

// Hand-edited files may hold any number; the history never shows more than it keeps.
void TVornEditMain::SetCommonOptions(const TWindowCommonOptions& options) {
  common_ = options;
  common_.FileHistCount = std::clamp(options.FileHistCount, 0, TFileHistory::kMaxEntries);
  common_.FolderHistCount = std::clamp(options.FolderHistCount, 0, TFileHistory::kMaxEntries);
  common_.StationFileHistCount = std::clamp(options.StationFileHistCount, 0, TFileHistory::kMaxEntries);
  if (history_.MenuCount() != common_.FileHistCount) {
    history_.SetMenuCount(common_.FileHistCount);
    history_.SetMenuNeedsRebuild(true);
  }
}

}  // namespace vorn
