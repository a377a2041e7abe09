// TPrintPart: a print command's settings live from loading Common.ini to the dialog's OK.
#include "shell/PrintPart.h"

#include "editor/VornEdit.h"
#include "print/PrintSetForm.h"
#include "settings/CommonIniUpdate.h"
#include "settings/SjisText.h"
#include "shell/EditorWindow.h"
#include "shellcore/FunctionTable.h"
#include "store/VornEditStrings.h"

namespace vorn {

void TPrintPart::AddCommands(TCommandDispatcher& dispatcher) {
  dispatcher.Set(FunctionNumber("Print"), [this](bool) { Print(); });
}

TPrintSource TPrintPart::Snapshot() const {
  TPrintSource source;
  TVornEditStrings& lines = window_.Lines();
  const int count = lines.Count();
  source.Lines.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) source.Lines.push_back(lines.Get(i));
  const TVornEdit* pane = window_.Editor();
  source.ExpandTabs = [pane](std::string_view s) { return pane->Core().ExpandTabs(s); };
  return source;
}

void TPrintPart::Print() {
  const std::string iniName = window_.Process().HistoryUserFolder() + "Common.ini";
  TStringsPrinter settings;
  {
    const TVornMemInifile ini(iniName);
    settings.LoadFrom(ini);
  }
  settings.SetFileName(Sjis(window_.FileName()));
  const QRect place = previewGeometry_.isValid() ? previewGeometry_ : window_.geometry();
  settings.SetPVLeft(place.left());
  settings.SetPVTop(place.top());
  settings.SetPVWidth(place.width());
  settings.SetPVHeight(place.height());
  settings.SetPVMaximized(previewGeometry_.isValid() ? previewMaximized_ : window_.isMaximized());
  const TPrintSource source = Snapshot();
  const TStringsPrinter before = settings;
  const bool ok = ExecutePrintSetForm(&settings, &source, &window_);
  if (settings.PVLeft() != before.PVLeft() || settings.PVTop() != before.PVTop() ||
      settings.PVWidth() != before.PVWidth() || settings.PVHeight() != before.PVHeight() ||
      settings.PVMaximized() != before.PVMaximized()) {
    previewGeometry_ = QRect(settings.PVLeft(), settings.PVTop(), settings.PVWidth(), settings.PVHeight());
    previewMaximized_ = settings.PVMaximized();
  }
  if (ok) UpdateSharedIni(iniName, [&settings](TCustomIniFile& ini) { settings.SaveTo(ini); });
}

}  // namespace vorn
