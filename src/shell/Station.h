// TVornEditStation: the resident station of station mode. It shows no document and no window:
// it keeps the file history and the common settings, answers the other editors on the bus
// (closing when every editor is told to, reading its files again when another window changed
// them) and starts editor processes.
#pragma once

#include "platform/BusEndpoint.h"
#include "settings/SettingsApplyTarget.h"
#include "shellcore/BusWindowHandler.h"
#include "shellcore/FileHistory.h"
#include "shellcore/StationMenu.h"

#include <sys/types.h>

#include <QWidget>

#include <string>

class QSocketNotifier;

namespace vorn {

class TStationTray;

class TVornEditStation : public QWidget, private TBusWindowHandler {
  Q_OBJECT
public:
  // historyFolder: where "FileHist.fhd" and "Common.ini" are read; empty for the user folder.
  explicit TVornEditStation(std::string historyFolder = {});
  ~TVornEditStation() override;

  // Registers the station on the bus under folder; empty text or the reason it could not.
  std::string OpenBus(const TBusFolder& folder);
  std::int64_t BusId() const { return endpoint_ ? endpoint_->Id() : 0; }

  // Reads "FileHist.fhd" and "Common.ini" again; what could not be read is kept as the last
  // message, since the station has no window to show it in.
  void LoadFileHistory();
  void LoadCommonSettings();
  const TFileHistory& History() const { return history_; }
  const TWindowCommonOptions& CommonOptions() const { return common_; }
  const std::string& LastMessage() const { return lastMessage_; }

  // Starts an editor process with the parameter text; false (and the reason in LastMessage)
  // when it could not be started.
  bool StartEditor(const std::string& params);
  // The same, answering the process id (0 when it could not be started).
  pid_t StartEditorProcess(const std::string& params);

  // The tray icon, its menu and the hot key; created by ShowInTray.
  void ShowInTray();
  TStationTray* Tray() const { return tray_; }
  // The station's own settings of "Common.ini" (menu length, folder list, hot key, exit all).
  const TStationSettings& Settings() const { return settings_; }
  // The folder of "Common.ini", "FileHist.fhd" and "Grep.fhd", with a trailing "/".
  std::string HistoryFolderPath() const { return HistoryFolder(); }
  // The bus the station is on (the user's own until OpenBus names another).
  const TBusFolder& Bus() const { return bus_; }
  // A failure of a station command: kept as the last message and shown in a box of its own.
  void Tell(const std::string& message);
  // Ends the station ("常駐終了", exit all with "CloseAtAllClose").
  void End();

private:
  TBusReply CloseWindow() override;
  TBusReply Reload(TBusMessage which) override;
  TBusReply ChangeStation() override;
  std::string HistoryFolder() const;

  std::string historyFolder_;
  TFileHistory history_;
  TWindowCommonOptions common_;
  std::string lastMessage_;
  TStationSettings settings_;
  TBusFolder bus_ = TBusFolder::Default();
  TStationTray* tray_ = nullptr;
  std::unique_ptr<TBusEndpoint> endpoint_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vorn
