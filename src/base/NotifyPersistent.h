// TNotifyPersistent: base of every option record and pattern object; tells its owner of real changes.
#pragma once

#include <functional>
#include <utility>

namespace vorn {

class TNotifyPersistent {
public:
  using TNotifyEvent = std::function<void(TNotifyPersistent* sender)>;

  TNotifyPersistent() = default;
  // A copy is a new record: it has no owner to notify and is not inside an update.
  TNotifyPersistent(const TNotifyPersistent&) {}
  TNotifyPersistent& operator=(const TNotifyPersistent&) { return *this; }
  virtual ~TNotifyPersistent() = default;

  void BeginUpdate() { ++updateCount_; }
  void EndUpdate() {
    --updateCount_;
    Changed();
  }
  int UpdateCount() const { return updateCount_; }

  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

  virtual void Changed() {
    if (updateCount_ == 0 && onChange_) onChange_(this);
  }
  // Owned records bind their OnChange here so that one change below reaches the owner once.
  virtual void ChildChanged(TNotifyPersistent* sender) {
    if (sender != this) Changed();
  }

  // Binds a child record so that its changes reach this record's ChildChanged.
  void Adopt(TNotifyPersistent& child) {
    child.SetOnChange([this](TNotifyPersistent* sender) { ChildChanged(sender); });
  }

protected:
  // The setter rule of every record: store the value and notify only when it really changed.
  template <class T, class U>
  void SetProperty(T& field, U&& value) {
    if (field == value) return;
    field = std::forward<U>(value);
    Changed();
  }

private:
  TNotifyEvent onChange_;
  int updateCount_ = 0;
};

}  // namespace vorn
