// Writing and reading the colour list record.
#include "settings/FbdColors.h"

namespace vorn {

namespace {
constexpr std::size_t kEntryBytes = 9;
}

void SaveColorList(const TVornEditColors& colors, TRecordWriter& out) {
  out.WriteInt32(colors.Count());
  for (int i = 0; i < colors.Count(); ++i) {
    const TVornEditColor& c = colors[i];
    out.WriteInt32(static_cast<std::int32_t>(c.BkColor()));
    out.WriteInt32(static_cast<std::int32_t>(c.Color()));
    out.WriteByte(c.Style());
  }
}

void LoadColorList(TVornEditColors& colors, TRecordReader& in) {
  std::int32_t count = 0;
  try {
    count = in.ReadInt32();
  } catch (const ERecordReadError&) {
    while (!in.AtEnd()) in.ReadByte();
    return;
  }
  colors.BeginUpdate();
  for (std::int32_t i = 0; i < count; ++i) {
    // A partial entry at the end is the end of the stream as well.
    TRecordReader probe = in;
    bool whole = true;
    for (std::size_t b = 0; b < kEntryBytes && whole; ++b) {
      if (probe.AtEnd()) whole = false;
      else probe.ReadByte();
    }
    if (!whole) {
      while (!in.AtEnd()) in.ReadByte();
      break;
    }
    const auto bk = static_cast<TColor>(in.ReadInt32());
    const auto text = static_cast<TColor>(in.ReadInt32());
    const TFontStyles style = in.ReadByte() & (fsBold | fsItalic | fsUnderline | fsStrikeOut);
    if (i >= colors.Count()) continue;
    colors[i].SetBkColor(bk);
    colors[i].SetColor(text);
    colors[i].SetStyle(style);
  }
  colors.EndUpdate();
}

}  // namespace vorn
