// TVornEditStation: the resident station of station mode. It shows no document and no window:
// it keeps the file history and the common settings, answers the other editors on the bus
// (closing when every editor is told to, reading its files again when another window changed
// them) and starts editor processes.
#pragma once

#include "platform/BusEndpoint.h"
#include "settings/SettingsApplyTarget.h"
#include "shellcore/BusWindowHandler.h"
#include "shellcore/FileHistory.h"

#include <QWidget>

#include <string>

class QSocketNotifier;

namespace vorn {

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

private:
  TBusReply CloseWindow() override;
  TBusReply Reload(TBusMessage which) override;
  std::string HistoryFolder() const;

  std::string historyFolder_;
  TFileHistory history_;
  TWindowCommonOptions common_;
  std::string lastMessage_;
  std::unique_ptr<TBusEndpoint> endpoint_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vorn
