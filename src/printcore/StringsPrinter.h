// TStringsPrinter: the print settings of one print command, with their clamps and storage.
#pragma once

#include "base/NotifyPersistent.h"

#include <string>

namespace vorn {

class TCustomIniFile;

enum TStringsPrinterHeaderAlign { haNone = 0, haLeft = 1, haCenter = 2, haRight = 3 };

// Every setting as one value, so copying and comparing cannot forget a field.
struct TStringsPrinterValues {
  int ColumnCount = 1;
  int ColumnSpace = 4;  // mm
  std::string FileName;  // Shift_JIS, as %f and %F print it
  std::string FontName;  // Shift_JIS face name
  int FontSize = 10;     // points
  std::string Header;
  std::string Footer;
  TStringsPrinterHeaderAlign HeaderAlign = haNone;
  TStringsPrinterHeaderAlign FooterAlign = haNone;
  bool LineNumber = false;
  std::string LineNumberSeparator = ":";
  int MarginLeft = 0;  // mm from the paper edge
  int MarginRight = 0;
  int MarginTop = 0;
  int MarginBottom = 0;
  int PVLeft = 0;  // preview window, pixels
  int PVTop = 0;
  int PVWidth = 0;
  int PVHeight = 0;
  bool PVMaximized = false;
  friend bool operator==(const TStringsPrinterValues&, const TStringsPrinterValues&) = default;
};

class TStringsPrinter : public TNotifyPersistent {
public:
  static constexpr int kMaxColumns = 3;
  static constexpr int kMaxMillimetres = 100;
  static constexpr int kMinFontSize = 1;
  static constexpr int kMaxFontSize = 400;

  TStringsPrinter();

  const TStringsPrinterValues& Values() const { return values_; }
  int ColumnCount() const { return values_.ColumnCount; }
  int ColumnSpace() const { return values_.ColumnSpace; }
  const std::string& FileName() const { return values_.FileName; }
  const std::string& FontName() const { return values_.FontName; }
  int FontSize() const { return values_.FontSize; }
  const std::string& Header() const { return values_.Header; }
  const std::string& Footer() const { return values_.Footer; }
  TStringsPrinterHeaderAlign HeaderAlign() const { return values_.HeaderAlign; }
  TStringsPrinterHeaderAlign FooterAlign() const { return values_.FooterAlign; }
  bool LineNumber() const { return values_.LineNumber; }
  const std::string& LineNumberSeparator() const { return values_.LineNumberSeparator; }
  int MarginLeft() const { return values_.MarginLeft; }
  int MarginRight() const { return values_.MarginRight; }
  int MarginTop() const { return values_.MarginTop; }
  int MarginBottom() const { return values_.MarginBottom; }
  int PVLeft() const { return values_.PVLeft; }
  int PVTop() const { return values_.PVTop; }
  int PVWidth() const { return values_.PVWidth; }
  int PVHeight() const { return values_.PVHeight; }
  bool PVMaximized() const { return values_.PVMaximized; }

  void SetColumnCount(int v);
  void SetColumnSpace(int v);
  void SetFileName(const std::string& v) { SetProperty(values_.FileName, v); }
  void SetFontName(const std::string& v) { SetProperty(values_.FontName, v); }
  void SetFontSize(int v);
  void SetHeader(const std::string& v) { SetProperty(values_.Header, v); }
  void SetFooter(const std::string& v) { SetProperty(values_.Footer, v); }
  void SetHeaderAlign(TStringsPrinterHeaderAlign v) { SetProperty(values_.HeaderAlign, v); }
  void SetFooterAlign(TStringsPrinterHeaderAlign v) { SetProperty(values_.FooterAlign, v); }
  void SetLineNumber(bool v) { SetProperty(values_.LineNumber, v); }
  void SetLineNumberSeparator(const std::string& v) { SetProperty(values_.LineNumberSeparator, v); }
  void SetMarginLeft(int v);
  void SetMarginRight(int v);
  void SetMarginTop(int v);
  void SetMarginBottom(int v);
  void SetPVLeft(int v) { SetProperty(values_.PVLeft, v); }
  void SetPVTop(int v) { SetProperty(values_.PVTop, v); }
  void SetPVWidth(int v) { SetProperty(values_.PVWidth, v); }
  void SetPVHeight(int v) { SetProperty(values_.PVHeight, v); }
  void SetPVMaximized(bool v) { SetProperty(values_.PVMaximized, v); }
  // Half the screen wide, two thirds high, centred: where the preview opens by default.
  void SetPreviewDefaults(int screenWidth, int screenHeight);

  // The page number %p prints; the layout counts it up.
  int PageNumber() const { return pageNumber_; }
  void SetPageNumber(int v) { pageNumber_ = v; }

  // Copies every setting (the page number is the layout's, not a setting).
  void Assign(const TStringsPrinter& src);
  bool operator==(const TStringsPrinter& o) const { return values_ == o.values_; }

  // The section "Print" of Common.ini; a missing key keeps the current value.
  void LoadFrom(const TCustomIniFile& ini);
  void SaveTo(TCustomIniFile& ini) const;

private:
  void SetClamped(int& field, int v, int low, int high);

  TStringsPrinterValues values_;
  int pageNumber_ = 1;
};

}  // namespace vorn
