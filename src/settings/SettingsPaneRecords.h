// A pane target that keeps its option records as plain members: what a file type is applied to
// before its values reach a live control, and what benchmarks and tests apply settings to.
#pragma once

#include "settings/SettingsApplyTarget.h"

namespace vorn {

class TSettingsPaneRecords : public TSettingsPaneTarget {
public:
  // engine: what the view's keywords and brackets match with (none: they never match).
  explicit TSettingsPaneRecords(TBregexp* engine = nullptr) : view(engine) {}

  TVornEditCaret& Caret() override { return caret; }
  TVornEditMargin& Margin() override { return margin; }
  TVornEditMarks& Marks() override { return marks; }
  TVornEditViewInfo& View() override { return view; }
  TVornEditWrapOption& WrapOption() override { return wrap; }
  TVornEditSeikeiOption& SeikeiOption() override { return seikei; }
  bool WordWrap() const override { return typeOptions.WordWrap; }
  void SetTypeOptions(const TPaneTypeOptions& options) override { typeOptions = options; }
  void SetCommonOptions(const TPaneCommonOptions& options) override { commonOptions = options; }
  bool DocumentModified() const override { return false; }
  void ClearUndo() override {}
  void Repaint() override {}

  TVornEditCaret caret;
  TVornEditMargin margin;
  TVornEditMarks marks;
  TVornEditViewInfo view;
  TVornEditWrapOption wrap;
  TVornEditSeikeiOption seikei{nullptr};
  TPaneTypeOptions typeOptions;
  TPaneCommonOptions commonOptions;
};

}  // namespace vorn
