// TDiffPart: the comparison, its marks and the partner window.
#include "shell/DiffPart.h"

#include "dialogs/ChildRunWait.h"
#include "dialogs/DiffExecForm.h"
#include "editor/VornEdit.h"
#include "platform/BusClient.h"
#include "platform/FileBytes.h"
#include "platform/TempFile.h"
#include "platform/VornUtil.h"
#include "settings/FileSetting.h"
#include "settings/VornMemInifile.h"
#include "shell/EditorWindow.h"
#include "shell/MainBus.h"
#include "shellcore/DiffRun.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/InstanceCoordination.h"
#include "shellcore/PipeText.h"
#include "store/ScreenStrings.h"

#include <unistd.h>

#include <memory>

namespace vorn {
namespace {

constexpr const char* kNoProgram =
    "diffが見つかりません。diffをVornEditorの実行フォルダか、パスの通ったフォルダに入れてください";
constexpr const char* kTempFailed = "テンポラリファイルの作成に失敗しました";
constexpr const char* kStartFailed = "Diffの起動に失敗しました。";

// The file type's ini file, where its "DIFF" options are kept; empty without one.
std::string TypeIniPath(TEditorWindow& window) {
  const auto& typeFor = window.Services().fileTypeFor;
  TFileSetting* type = typeFor ? typeFor(window.FileName()) : nullptr;
  if (!type || type->IniFileName().empty()) return {};
  const std::string& name = type->IniFileName();
  return name.front() == '/' ? name : UserFolder() + name;
}

std::string ReadAllBytes(const std::string& path) {
  try {
    const TByteBuffer bytes = ReadFileBytes(path);
    return std::string(bytes.Data(), bytes.Size());
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

void TDiffPart::AddCommands(TCommandDispatcher& dispatcher) {
  dispatcher.Set(FunctionNumber("DiffExec"), [this](bool) { DiffExecCommand(); });
  dispatcher.Set(FunctionNumber("FindUnderDiff"), [this](bool) { FindUnder(); });
  dispatcher.Set(FunctionNumber("FindOverDiff"), [this](bool) { FindOver(); });
  dispatcher.Set(FunctionNumber("ClearDiffInfo"), [this](bool) { Clear(true); });
  dispatcher.Set(FunctionNumber("ChangeDiffFocus"), [this](bool) { ChangeFocus(); });
}

std::vector<TDiffPartnerItem> TDiffPart::Partners() const {
  std::vector<TDiffPartnerItem> items;
  TMainBus* bus = window_.BusEndpoint();
  if (!bus) return items;
  const TBusFolder& folder = bus->Endpoint().Folder();
  std::vector<TBusPeer> peers;
  for (const TBusPeer& peer : folder.List())
    if (peer.IsMainWindow() && peer.IsEditor() && peer.pid != ::getpid()) peers.push_back(peer);
  std::vector<std::int64_t> ids;
  for (const TBusPeer& peer : peers) ids.push_back(peer.id);
  const std::vector<TBusReply> names = SendBusMessageToAll(folder, ids, MakeBusRequest(TBusMessage::bmQueryOpenFile));
  for (std::size_t i = 0; i < peers.size(); ++i) {
    const TBusReply& reply = names[i];
    const bool named = reply.status == TBusStatus::bsHandled && reply.text && *reply.text != kUntitledMarker;
    items.push_back(TDiffPartnerItem{peers[i].id, QString::fromStdString(named ? *reply.text : peers[i].title)});
  }
  return items;
}

bool TDiffPart::Ask(const std::vector<TDiffPartnerItem>& partners, TDiffRequest& request) {
  if (const auto& ask = window_.Services().askDiff) return ask(partners, request);
  const std::string iniPath = TypeIniPath(window_);
  TDiffOptions options;
  if (!iniPath.empty()) options.Read(TVornMemInifile(iniPath));
  TDiffExecForm form(partners, options, &window_);
  const bool ran = form.exec() == QDialog::Accepted;
  if (ran) request = form.Request();
  // The check boxes belong to the file type whatever the dialog ended with.
  if (!iniPath.empty()) {
    TVornMemInifile ini(iniPath);
    (ran ? request.Options : form.Request().Options).Write(ini);
    ini.UpdateFile();
  }
  return ran;
}

void TDiffPart::DiffExecCommand() {
  TDiffRequest request;
  if (!Ask(Partners(), request)) return;
  Run(request);
}

std::string TDiffPart::ComparedText(bool anySelection) {
  TVornEditCore& core = window_.Editor()->Core();
  const TByteRange& sel = core.Selection().Bytes;
  const bool useSelection = core.HasSelection() && (anySelection || sel.StartRow != sel.EndRow);
  comparedOffset_ = useSelection ? core.RowToLine(sel.StartRow) : 0;
  return useSelection ? core.GetSelText() : window_.Lines().GetTextStr();
}

bool TDiffPart::WriteOtherSide(const TDiffRequest& request, const std::string& path) {
  if (request.FromEditor) {
    TMainBus* bus = window_.BusEndpoint();
    if (!bus) return false;
    const TBusReply reply = SendBusMessage(bus->Endpoint().Folder(), request.PartnerId,
                                           MakeBusRequest(TBusMessage::bmSaveToTempFile, 1, 0, path),
                                           kBusActionTimeoutMs);
    return reply.status == TBusStatus::bsHandled && reply.result == 1;
  }
  std::string bytes = ReadAllBytes(request.ExtFile);
  const TCharCodeKind kind = DetectCharCode(bytes);
  if (request.SjisConvert) bytes = kind == ckBinary ? std::string() : PipeOutputText(bytes).Text;
  else if (kind != ckUnicodeLE && kind != ckUnicodeBE) bytes = NormalizeBreaksToCrLf(bytes);
  return OverwriteFileNoFollow(path, bytes);
}

void TDiffPart::Run(const TDiffRequest& request) {
  const std::string program = FindDiffProgram(ProgramFolder());
  if (program.empty()) {
    window_.Prompts().Warn(kNoProgram);
    return;
  }
  TDiffJob job;
  std::string error;
  if (!job.Prepare(error)) {
    window_.Prompts().Warn(kTempFailed);
    return;
  }
  const std::string own = ComparedText(false);
  const int ownOffset = comparedOffset_;
  if (!job.OwnFile().Write(own) || !WriteOtherSide(request, job.OtherFile().Path())) {
    window_.Prompts().Warn(kTempFailed);
    return;
  }
  if (!job.Start(program, request.Options, request.OwnIsNew, error)) {
    window_.Prompts().Warn(std::string(kStartFailed) + "\n" + error);
    return;
  }
  if (WaitForChildRun(job.Run(), &window_, QStringLiteral("diffの実行")) != TChildWaitEnd::weFinished) return;
  if (!job.Succeeded(error)) {
    window_.Prompts().Warn(std::string(kStartFailed) + "\n" + error);
    return;
  }
  const std::string output = job.TakeOutput();
  comparedOffset_ = ownOffset;
  MarkWith(output, request.OwnIsNew ? TDiffSide::dsNew : TDiffSide::dsOld);
  if (request.FromEditor) {
    partner_ = request.PartnerId;
    TellPartnerResult(output, request.OwnIsNew ? TDiffSide::dsOld : TDiffSide::dsNew);
  }
  window_.UpdateActions();
}

void TDiffPart::TellPartnerResult(const std::string& output, TDiffSide partnerSide) {
  TMainBus* bus = window_.BusEndpoint();
  TTempFile result;
  if (!bus || !result.Create() || !result.Write(output)) return;
  const TBusFolder& folder = bus->Endpoint().Folder();
  SendBusMessage(folder, partner_,
                 MakeBusRequest(TBusMessage::bmLoadDiff, partnerSide == TDiffSide::dsNew ? 1 : 0, 0, result.Path()),
                 kBusActionTimeoutMs);
  PostBusMessage(folder, partner_, MakeBusRequest(TBusMessage::bmSetDiffMode, 1, window_.BusId()));
}

int TDiffPart::MarkWith(std::string_view output, TDiffSide side) {
  TVornEditScreenStrings& store = window_.Editor()->Core().Store();
  if (store.Count() == 0) return 0;
  const int hunks = ApplyDiffMarks(store, ParseDiffOutput(output, side), comparedOffset_, end_);
  shown_ = true;
  // The marks live in the line-number margin, so a window without one could not show them.
  if (!window_.Editor()->Look().VerticalRuler) ShowLineNumbers(true);
  RepaintPanes();
  if (hunks == 0) SetStatus(QStringLiteral("相違はありませんでした"));
  window_.UpdateActions();
  return hunks;
}

TBusReply TDiffPart::Answer(const TBusRequest& request, TBusMessage which) {
  switch (which) {
    case TBusMessage::bmSaveToTempFile: {
      if (!request.text || request.text->empty()) return TBusWindowHandler::Handled(0);
      return TBusWindowHandler::Handled(OverwriteFileNoFollow(*request.text, ComparedText(request.wParam == 1)) ? 1 : 0);
    }
    case TBusMessage::bmLoadDiff: {
      if (!request.text) return TBusWindowHandler::Handled(0);
      const std::string output = ReadAllBytes(*request.text);
      ::unlink(request.text->c_str());
      MarkWith(output, request.wParam == 1 ? TDiffSide::dsNew : TDiffSide::dsOld);
      return TBusWindowHandler::Handled(1);
    }
    case TBusMessage::bmSetDiffMode:
      if (request.wParam == 1) {
        partner_ = request.lParam;
        window_.UpdateActions();
      } else {
        partner_ = 0;
        Clear(false);
      }
      return TBusWindowHandler::Handled(1);
    case TBusMessage::bmJumpDiffInfo:
      JumpToHunk(static_cast<int>(request.wParam), static_cast<int>(request.lParam));
      return TBusWindowHandler::Handled(1);
    default: return TBusWindowHandler::NotHandled();
  }
}

void TDiffPart::SetStatus(const QString& text) {
  if (TStatusPanels* status = window_.StatusPanels()) status->SetPanelText(TStatusPanels::spMessage, text);
}

// The row after the last line shows the end marker's kind in every pane.
void TDiffPart::RepaintPanes() {
  window_.ForEachPane([this](TVornEdit& pane) {
    pane.SetLastLineInfo(end_.Kind);
    pane.SetLastLineIndex(end_.Hunk);
    pane.RepaintAll();
  });
}

void TDiffPart::ShowLineNumbers(bool on) {
  for (TEditorWindow* window : window_.Process().Windows())
    window->ForEachPane([on](TVornEdit& pane) {
      TPaneLook look = pane.Look();
      if (look.VerticalRuler == on) return;
      look.VerticalRuler = on;
      pane.SetLook(look);
    });
}

void TDiffPart::MoveTo(const TDiffTarget& target) {
  TVornEditCore& core = window_.Editor()->Core();
  core.ClearSelection();
  if (target.AtEnd) core.MoveFileEnd();
  else core.GoToPosition(target.Row, 0);
  window_.Editor()->Flush();
  window_.UpdateStatus();
}

void TDiffPart::FindUnder() {
  SetStatus(QString());
  TVornEditCore& core = window_.Editor()->Core();
  const TDiffTarget target = FindNextDiff(core.Store(), end_, core.CaretRow());
  if (!target.Found) {
    SetStatus(QStringLiteral("下に差分情報のある行はありません"));
    return;
  }
  MoveTo(target);
  TellPartnerJump(false);
}

void TDiffPart::FindOver() {
  SetStatus(QString());
  TVornEditCore& core = window_.Editor()->Core();
  const TDiffTarget target = FindPreviousDiff(core.Store(), end_, core.CaretRow());
  if (!target.Found) {
    SetStatus(QStringLiteral("上に差分情報のある行はありません"));
    return;
  }
  MoveTo(target);
  TellPartnerJump(false);
}

void TDiffPart::TellPartnerJump(bool send) {
  TMainBus* bus = window_.BusEndpoint();
  if (!partner_ || !bus) return;
  TVornEditCore& core = window_.Editor()->Core();
  const int hunk = DiffHunkAt(core.Store(), end_, core.CaretRow());
  if (hunk < 0) return;
  const TBusRequest request = MakeBusRequest(TBusMessage::bmJumpDiffInfo, hunk, core.CaretRow() - core.TopRow());
  if (send) SendBusMessage(bus->Endpoint().Folder(), partner_, request, kBusActionTimeoutMs);
  else PostBusMessage(bus->Endpoint().Folder(), partner_, request);
}

void TDiffPart::JumpToHunk(int hunk, int offset) {
  TVornEditCore& core = window_.Editor()->Core();
  const TDiffTarget target = FindDiffHunk(core.Store(), end_, hunk);
  if (!target.Found) return;
  MoveTo(target);
  core.SetTopRow(std::max(0, core.CaretRow() - offset));
  window_.Editor()->Flush();
}

void TDiffPart::ChangeFocus() {
  TMainBus* bus = window_.BusEndpoint();
  TVornEditCore& core = window_.Editor()->Core();
  if (!partner_ || !bus || DiffHunkAt(core.Store(), end_, core.CaretRow()) < 0) return;
  TellPartnerJump(true);
  SendBusMessage(bus->Endpoint().Folder(), partner_, MakeBusRequest(TBusMessage::bmSetFocus));
}

void TDiffPart::Clear(bool tellPartner) {
  SetStatus(QString());
  ClearDiffMarks(window_.Editor()->Core().Store());
  end_ = TDiffEndMarker{};
  shown_ = false;
  if (!window_.Process().appliedTypeLineNumbers) ShowLineNumbers(false);
  RepaintPanes();
  TMainBus* bus = window_.BusEndpoint();
  if (tellPartner && partner_ && bus)
    PostBusMessage(bus->Endpoint().Folder(), partner_, MakeBusRequest(TBusMessage::bmSetDiffMode, 0));
  partner_ = 0;
  window_.UpdateActions();
}

}  // namespace vorn
