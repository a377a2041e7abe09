// TStrings and TStringList: the string-list interface that line lists of every kind share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

class TStream;

// Text is Shift_JIS bytes; GetTextStr puts CR LF after every string.
class TStrings {
public:
  virtual ~TStrings() = default;

  virtual int Count() const = 0;
  virtual std::string Get(int i) const = 0;
  virtual void Put(int i, std::string_view s) = 0;
  virtual void Insert(int i, std::string_view s) = 0;
  virtual void Delete(int i) = 0;
  virtual void Clear() = 0;
  virtual int Add(std::string_view s);
  virtual std::string GetTextStr() const;
  // Clears the list and adds one string per line (breaks CR LF, CR or LF; none after the last).
  virtual void SetTextStr(std::string_view text);
  virtual void Assign(const TStrings& source);
  virtual void LoadFromStream(TStream& stream);
  virtual void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

protected:
  virtual void SetUpdateState(bool updating) { (void)updating; }

private:
  int updateCount_ = 0;
};

class TStringList : public TStrings {
public:
  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int i) const override { return items_.at(static_cast<std::size_t>(i)); }
  void Put(int i, std::string_view s) override { items_.at(static_cast<std::size_t>(i)) = std::string(s); }
  void Insert(int i, std::string_view s) override;
  void Delete(int i) override;
  void Clear() override { items_.clear(); }
  const std::vector<std::string>& Items() const { return items_; }
  std::vector<std::string>& Items() { return items_; }

private:
  std::vector<std::string> items_;
};

}  // namespace vorn
