// The replay of macro steps: one level per nested replay, each restoring the arguments and the
// playback mark of the level around it, also when a step fails.
#include "macro/MacroPlayer.h"

#include <exception>
#include <utility>

#include "editcore/EditCore.h"
#include "macro/MacroFile.h"
#include "macro/MacroText.h"
#include "platform/Cp932Utf8.h"
#include "platform/VornUtil.h"
#include "shellcore/FunctionTable.h"

namespace vorn {

void TMacroHost::SetStepPlayback(bool playing, bool shift) { CurrentPane().SetMacroPlayback(playing, shift); }

std::string TMacroHost::SelectedText() { return CurrentPane().GetSelText(); }

template <class TPlay>
bool TMacroPlayer::Outermost(TPlay play) {
  if (nesting_ > 0) {
    play();
    return true;
  }
  host_.SetBusy(true);
  std::string failure;
  bool ok = true;
  try {
    play();
  } catch (const std::exception& e) {
    ok = false;
    failure = e.what();
  }
  host_.RelayoutPanes();
  host_.SetBusy(false);
  if (!ok) host_.ShowError(failure);
  return ok;
}

bool TMacroPlayer::Replay(TMacroSet& set) {
  return Outermost([&] { Play(set); });
}

bool TMacroPlayer::ReplayFile(const std::string& path) {
  TMacroSet set;
  set.FileName = path;
  return Replay(set);
}

bool TMacroPlayer::RunLine(std::string_view line) {
  return Outermost([&] {
    const std::string shown = "マクロ行「" + Cp932ToUtf8(line) + "」: ";
    if (const std::size_t bad = FirstNonSjisByte(line); bad != std::string_view::npos)
      throw EMacroError(shown + std::to_string(bad + 1) + " バイト目が Shift_JIS の文字ではありません");
    TMacroLine parsed = ParseMacroLine(line);
    if (parsed.Kind == TMacroLine::lkError) throw EMacroError(shown + parsed.Error);
    if (parsed.Kind != TMacroLine::lkStep) return;
    TMacroSet set;
    set.Steps.push_back(std::move(parsed.Step));
    Play(set);
  });
}

void TMacroPlayer::Play(TMacroSet& set) {
  if (nesting_ >= kMaxNesting)
    throw EMacroError("マクロの呼び出しが " + std::to_string(kMaxNesting) +
                      " 段を超えました。マクロが自分自身を呼んでいないか確かめてください");
  if (set.Steps.empty() && !set.FileName.empty() && IsRegularFile(set.FileName))
    if (std::string message = LoadMacroFile(set); !message.empty()) throw EMacroError(message);
  // A step may change the set it runs from (a load into the recording, a slot emptied).
  const std::vector<TMacroItem> steps = set.Steps;
  PlaySteps(steps);
}

void TMacroPlayer::PlaySteps(const std::vector<TMacroItem>& steps) {
  struct TLevel {
    TMacroPlayer& player;
    std::vector<std::string> outerArguments;
    explicit TLevel(TMacroPlayer& p) : player(p), outerArguments(std::move(p.arguments_)) {
      ++player.nesting_;
      player.arguments_.clear();
    }
    ~TLevel() {
      --player.nesting_;
      player.arguments_ = std::move(outerArguments);
    }
  } level(*this);
  int suspensions = 0;
  try {
    for (const TMacroItem& step : steps) {
      if (step.IsText()) {
        arguments_.clear();
        host_.CurrentPane().TypeText(ReplaceMacroVariables(step.Text, host_));
      } else {
        RunCommandStep(step, suspensions);
      }
    }
  } catch (...) {
    EndSuspensions(suspensions, true);
    throw;
  }
  EndSuspensions(suspensions, false);
}

void TMacroPlayer::RunCommandStep(const TMacroItem& step, int& suspensions) {
  static const int kBeginUpdate = FunctionNumber("BeginUpdate");
  static const int kEndUpdate = FunctionNumber("EndUpdate");
  arguments_.clear();
  for (const std::string& argument : step.Arguments) arguments_.push_back(ReplaceMacroVariables(argument, host_));
  struct TMark {
    TMacroPlayer& player;
    bool outerPlaying, outerShift;
    TMark(TMacroPlayer& p, bool shift) : player(p), outerPlaying(p.playingStep_), outerShift(p.stepShift_) {
      player.playingStep_ = true;
      player.stepShift_ = shift;
      player.host_.SetStepPlayback(true, shift);
    }
    ~TMark() {
      player.playingStep_ = outerPlaying;
      player.stepShift_ = outerShift;
      player.host_.SetStepPlayback(outerPlaying, outerShift);
    }
  } mark(*this, step.Shift);
  dispatcher_.Run(step.Function, step.Shift);
  host_.AfterCommandStep();
  if (step.Function == kBeginUpdate) ++suspensions;
  else if (step.Function == kEndUpdate && suspensions > 0) --suspensions;
}

// Painting a macro left suspended is resumed while the level still counts as a macro, since
// the resume command acts only for one.
void TMacroPlayer::EndSuspensions(int count, bool unwinding) {
  static const int kEndUpdate = FunctionNumber("EndUpdate");
  arguments_.clear();
  for (int i = 0; i < count; ++i) {
    if (!unwinding) {
      dispatcher_.Run(kEndUpdate, false);
      continue;
    }
    try {
      dispatcher_.Run(kEndUpdate, false);
    } catch (...) {
      // The failure that ended the replay is the one to show.
    }
  }
}

}  // namespace vorn
