// TPaneKeys: a pane's key-downs through the window's key path. The pane that got the key becomes
// the one the commands work on, the key's function runs through the dispatcher, and the key's
// text is typed on that pane unless the function stood for it.
#pragma once

#include <functional>

#include "editor/VornEdit.h"
#include "shellcore/KeyPath.h"

namespace vorn {

class TPaneKeys : public TPaneKeyRoute {
public:
  // makeCurrent, when given, learns of the pane before the key's function runs.
  explicit TPaneKeys(TKeyPath& path, std::function<void(TVornEdit&)> makeCurrent = {})
      : path_(path), makeCurrent_(std::move(makeCurrent)) {}

  void KeyDown(TVornEdit& pane, const QKeyEvent& event) override;
  bool Assigned(const QKeyEvent& event) const override;

private:
  TKeyPath& path_;
  std::function<void(TVornEdit&)> makeCurrent_;
};

}  // namespace vorn
