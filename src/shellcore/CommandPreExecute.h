// The step every action takes before its handler: the fast-repeat flag the movements read, and
// whether the action belongs in a macro being recorded (not while one command runs others).
#pragma once

#include <cstdint>

namespace vorn {

class TCommandPreExecute {
public:
  // Actions closer together than this count as a fast repeat.
  static constexpr std::int64_t kFastRepeatMs = 99;

  struct TStep {
    bool FastRepeat = false;  // to be set on the pane (a station window never sets it)
    bool Record = false;      // append a step for the action to the recording
    bool RecordShift = false; // the step records Shift held (shift-extending functions only)
  };

  // Called for every action with the time in milliseconds from any steady clock.
  TStep Step(std::int64_t nowMs, bool stationWindow, bool recording, bool isToggleMacroRecord, bool shiftExtends,
             bool shiftHeld);

  // Commands that run other commands raise the nesting for their duration, so the inner ones
  // are not recorded.
  class TNested {
  public:
    explicit TNested(TCommandPreExecute& owner) : owner_(owner) { ++owner_.nesting_; }
    ~TNested() { --owner_.nesting_; }
    TNested(const TNested&) = delete;
    TNested& operator=(const TNested&) = delete;

  private:
    TCommandPreExecute& owner_;
  };

  int Nesting() const { return nesting_; }

private:
  std::int64_t lastMs_ = 0;
  bool haveLast_ = false;
  int nesting_ = 0;
};

}  // namespace vorn
