// A process's editor windows and panes as plain records, standing in for the shell's windows.
#pragma once

#include "settings/SettingsPaneRecords.h"

#include <memory>
#include <vector>

namespace vorn::test {

class TPaneDouble : public TSettingsPaneRecords {
public:
  bool DocumentModified() const override { return modified; }
  void ClearUndo() override { ++undoClears; }
  void Repaint() override { ++repaints; }

  bool modified = false;
  int undoClears = 0;
  int repaints = 0;
};

class TWindowDouble : public TSettingsWindowTarget {
public:
  explicit TWindowDouble(int paneCount) {
    for (int i = 0; i < paneCount; ++i) panes.push_back(std::make_unique<TPaneDouble>());
  }
  void SetTypeOptions(const TWindowTypeOptions& o) override { typeOptions = o; }
  void SetCommonOptions(const TWindowCommonOptions& o) override { commonOptions = o; }
  std::vector<TSettingsPaneTarget*> Panes() override {
    std::vector<TSettingsPaneTarget*> out;
    for (auto& p : panes) out.push_back(p.get());
    return out;
  }
  std::vector<std::unique_ptr<TPaneDouble>> panes;
  TWindowTypeOptions typeOptions;
  TWindowCommonOptions commonOptions;
};

class TProcessDouble : public TSettingsApplyTarget {
public:
  TProcessDouble() {
    windows.push_back(std::make_unique<TWindowDouble>(2));
    windows.push_back(std::make_unique<TWindowDouble>(1));
  }
  std::vector<TSettingsWindowTarget*> Windows() override {
    std::vector<TSettingsWindowTarget*> out;
    for (auto& w : windows) out.push_back(w.get());
    return out;
  }
  void SetTypeIniFileName(const std::string& path) override { typeIniFileName = path; }
  void SetMacros(const std::vector<std::string>& files, const std::vector<std::string>& strings) override {
    macroFiles = files;
    macroStrings = strings;
  }
  std::vector<TPaneDouble*> AllPanes() {
    std::vector<TPaneDouble*> out;
    for (auto& w : windows)
      for (auto& p : w->panes) out.push_back(p.get());
    return out;
  }
  std::vector<std::unique_ptr<TWindowDouble>> windows;
  std::string typeIniFileName;
  std::vector<std::string> macroFiles;
  std::vector<std::string> macroStrings;
};

}  // namespace vorn::test
