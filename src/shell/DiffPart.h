// TDiffPart: comparing the window's text with another window or a file, the difference marks
// in both windows, the moves between them and the partner window's messages.
#pragma once

#include "platform/BusMessage.h"
#include "shell/WindowPart.h"
#include "shellcore/DiffMarks.h"

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

class TEditorWindow;
struct TDiffPartnerItem;
struct TDiffRequest;

class TDiffPart : public TWindowPart {
public:
  explicit TDiffPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher& dispatcher) override;

  bool Shown() const { return shown_; }
  bool HasPartner() const { return partner_ != 0; }
  std::int64_t Partner() const { return partner_; }
  const TDiffEndMarker& EndMarker() const { return end_; }

  // The partner's requests: write your text, here is the result, your partner is, show hunk.
  TBusReply Answer(const TBusRequest& request, TBusMessage which);
  // Marks the window with a normal-format output as side; the text's lines start at the
  // compared text's first line. Returns the number of hunks.
  int MarkWith(std::string_view output, TDiffSide side);
  // Runs a comparison as the dialog would after "実行" (tests drive it directly).
  void Run(const TDiffRequest& request);

private:
  void DiffExecCommand();
  std::vector<TDiffPartnerItem> Partners() const;
  bool Ask(const std::vector<TDiffPartnerItem>& partners, TDiffRequest& request);
  // The text compared: a selection (its first line kept as the marks' offset) or the whole.
  std::string ComparedText(bool anySelection);
  bool WriteOtherSide(const TDiffRequest& request, const std::string& path);
  void TellPartnerResult(const std::string& output, TDiffSide partnerSide);

  void FindUnder();
  void FindOver();
  void ChangeFocus();
  void Clear(bool tellPartner);
  void MoveTo(const TDiffTarget& target);
  void JumpToHunk(int hunk, int offset);
  void TellPartnerJump(bool send);
  void SetStatus(const QString& text);
  void RepaintPanes();
  void ShowLineNumbers(bool on);

  TEditorWindow& window_;
  TDiffEndMarker end_;
  bool shown_ = false;
  std::int64_t partner_ = 0;
  int comparedOffset_ = 0;
};

}  // namespace vorn
