// TStringsPrinter: clamped setters, Assign and the "Print" section of Common.ini.
#include "printcore/StringsPrinter.h"

#include "settings/FontSpec.h"
#include "settings/VornMemInifile.h"

#include <algorithm>

namespace vorn {
namespace {

constexpr const char* kSection = "Print";

TStringsPrinterHeaderAlign AlignOf(int v) {
  return v >= haNone && v <= haRight ? static_cast<TStringsPrinterHeaderAlign>(v) : haNone;
}

}  // namespace

TStringsPrinter::TStringsPrinter() { values_.FontName = DefaultEditorFont().Name; }

void TStringsPrinter::SetClamped(int& field, int v, int low, int high) { SetProperty(field, std::clamp(v, low, high)); }

void TStringsPrinter::SetColumnCount(int v) { SetClamped(values_.ColumnCount, v, 1, kMaxColumns); }
void TStringsPrinter::SetColumnSpace(int v) { SetClamped(values_.ColumnSpace, v, 0, kMaxMillimetres); }
// A size of zero or below would measure a font with no height and lay out nothing.
void TStringsPrinter::SetFontSize(int v) { SetClamped(values_.FontSize, v, kMinFontSize, kMaxFontSize); }
void TStringsPrinter::SetMarginLeft(int v) { SetClamped(values_.MarginLeft, v, 0, kMaxMillimetres); }
void TStringsPrinter::SetMarginRight(int v) { SetClamped(values_.MarginRight, v, 0, kMaxMillimetres); }
void TStringsPrinter::SetMarginTop(int v) { SetClamped(values_.MarginTop, v, 0, kMaxMillimetres); }
void TStringsPrinter::SetMarginBottom(int v) { SetClamped(values_.MarginBottom, v, 0, kMaxMillimetres); }

void TStringsPrinter::SetPreviewDefaults(int screenWidth, int screenHeight) {
  BeginUpdate();
  SetPVWidth(screenWidth / 2);
  SetPVHeight(screenHeight / 3 * 2);
  SetPVLeft((screenWidth - PVWidth()) / 2);
  SetPVTop((screenHeight - PVHeight()) / 2);
  EndUpdate();
}

void TStringsPrinter::Assign(const TStringsPrinter& src) {
  if (&src == this || values_ == src.values_) return;
  values_ = src.values_;
  Changed();
}

// Values come back through the setters, so a hand-edited file cannot bypass the clamps.
void TStringsPrinter::LoadFrom(const TCustomIniFile& ini) {
  BeginUpdate();
  SetColumnCount(ini.ReadInteger(kSection, "ColumnCount", ColumnCount()));
  SetColumnSpace(ini.ReadInteger(kSection, "ColumnSpace", ColumnSpace()));
  SetFontName(ini.ReadString(kSection, "FontName", FontName()));
  SetFontSize(ini.ReadInteger(kSection, "FontSize", FontSize()));
  SetFooter(ini.ReadString(kSection, "Footer", Footer()));
  SetFooterAlign(AlignOf(ini.ReadInteger(kSection, "FooterAlign", FooterAlign())));
  SetHeader(ini.ReadString(kSection, "Header", Header()));
  SetHeaderAlign(AlignOf(ini.ReadInteger(kSection, "HeaderAlign", HeaderAlign())));
  SetLineNumber(ini.ReadBool(kSection, "LineNumber", LineNumber()));
  SetLineNumberSeparator(ini.ReadString(kSection, "LineNumberSeparator", LineNumberSeparator()));
  SetMarginBottom(ini.ReadInteger(kSection, "MarginBottom", MarginBottom()));
  SetMarginLeft(ini.ReadInteger(kSection, "MarginLeft", MarginLeft()));
  SetMarginRight(ini.ReadInteger(kSection, "MarginRight", MarginRight()));
  SetMarginTop(ini.ReadInteger(kSection, "MarginTop", MarginTop()));
  EndUpdate();
}

void TStringsPrinter::SaveTo(TCustomIniFile& ini) const {
  ini.WriteInteger(kSection, "ColumnCount", ColumnCount());
  ini.WriteInteger(kSection, "ColumnSpace", ColumnSpace());
  ini.WriteString(kSection, "FontName", FontName());
  ini.WriteInteger(kSection, "FontSize", FontSize());
  ini.WriteString(kSection, "Footer", Footer());
  ini.WriteInteger(kSection, "FooterAlign", FooterAlign());
  ini.WriteString(kSection, "Header", Header());
  ini.WriteInteger(kSection, "HeaderAlign", HeaderAlign());
  ini.WriteBool(kSection, "LineNumber", LineNumber());
  ini.WriteString(kSection, "LineNumberSeparator", LineNumberSeparator());
  ini.WriteInteger(kSection, "MarginBottom", MarginBottom());
  ini.WriteInteger(kSection, "MarginLeft", MarginLeft());
  ini.WriteInteger(kSection, "MarginRight", MarginRight());
  ini.WriteInteger(kSection, "MarginTop", MarginTop());
}

}  // namespace vorn
