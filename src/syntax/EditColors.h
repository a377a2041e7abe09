// The editor's colour table: 48 named entries of text colour, background colour and font style.
#pragma once

#include "base/NotifyPersistent.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vorn {

// Colour values as stored: 0x00BBGGRR for a fixed colour, 0xFF0000nn for system colour nn.
using TColor = uint32_t;
constexpr TColor SystemColor(uint8_t index) { return 0xFF000000u | index; }
constexpr TColor clDesktop = SystemColor(1);  // painted as "no colour of its own"
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
// The other spelling of the transparent marker that stored colour sets may carry.
constexpr TColor clTransparentAlt = 0x80000001u;

// Font style set, as bit flags.
using TFontStyles = uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

// How an entry looks; what two entries are compared by.
struct TVornEditColorLooks {
  TColor BkColor = clWindow;
  TColor Color = clWindowText;
  TFontStyles Style = 0;
  friend bool operator==(const TVornEditColorLooks&, const TVornEditColorLooks&) = default;
};

class TVornEditColor : public TNotifyPersistent {
public:
  explicit TVornEditColor(int index = 0) : index_(index) {}

  const std::string& Name() const { return name_; }
  TColor BkColor() const { return looks_.BkColor; }
  TColor Color() const { return looks_.Color; }
  TFontStyles Style() const { return looks_.Style; }
  int Index() const { return index_; }
  void SetName(const std::string& v);
  void SetBkColor(TColor v) { SetProperty(looks_.BkColor, v); }
  void SetColor(TColor v) { SetProperty(looks_.Color, v); }
  void SetStyle(TFontStyles v) { SetProperty(looks_.Style, v); }

  // Entries that look the same are equal whatever their names.
  bool operator==(const TVornEditColor& o) const { return looks_ == o.looks_; }
  // Copies name and looks, but leaves an entry that already looks the same untouched.
  void Assign(const TVornEditColor& src);

private:
  std::string name_;
  TVornEditColorLooks looks_;
  int index_;
};

class TVornEditColors : public TNotifyPersistent {
public:
  using TItemFactory = std::function<std::unique_ptr<TVornEditColor>(int index)>;
  static constexpr int DefaultCount = 48;

  TVornEditColors();
  // Subclasses (the colour-set files) substitute their own entry class.
  explicit TVornEditColors(TItemFactory itemFactory);
  TVornEditColors(const TVornEditColors& o);
  TVornEditColors& operator=(const TVornEditColors&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TVornEditColor& Items(int index) { return *items_[index]; }
  const TVornEditColor& Items(int index) const { return *items_[index]; }
  TVornEditColor& operator[](int index) { return *items_[index]; }
  const TVornEditColor& operator[](int index) const { return *items_[index]; }

  bool operator==(const TVornEditColors& o) const;
  void Assign(const TVornEditColors& src);

private:
  void AddItem();
  void FillDefaults();
  TItemFactory itemFactory_;
  std::vector<std::unique_ptr<TVornEditColor>> items_;
};

}  // namespace vorn
