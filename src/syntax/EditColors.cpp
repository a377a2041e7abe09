// Default colour table and the table's assignment rules.
#include "syntax/EditColors.h"

namespace vorn {

namespace {

struct TColorInitRecord {
  const char* name;  // Shift_JIS
  TColor color;
  TColor bkColor;
  TFontStyles style;
};

const TColorInitRecord kDefaultColors[TVornEditColors::DefaultCount] = {
    {"\x95\x81\x92\xCA\x82\xCC\x95\xB6\x8E\x9A", clWindowText, clWindow, 0},  // 0 普通の文字
    {"\x89\xFC\x8Ds\x95\xB6\x8E\x9A", 0x00808000, clWindow, 0},  // 1 改行文字
    {"\x83^\x83u\x95\xB6\x8E\x9A", 0x00808080, clWindow, 0},  // 2 タブ文字
    {"\x91S\x8Ap\x8B\xF3\x94\x92", 0x00808080, clWindow, 0},  // 3 全角空白
    {"EOF", 0x00808000, clWindow, 0},  // 4 EOF
    {"\x83R\x83\x81\x83\x93\x83g", 0x00008000, clWindow, 0},  // 5 コメント
    {"\x91S\x8Ap\x95\xB6\x8E\x9A", clWindowText, clWindow, 0},  // 6 全角文字
    {"\x94\xBC\x8Ap\x95\xB6\x8E\x9A", clWindowText, clWindow, 0},  // 7 半角文字
    {"\x90\x94\x92l", clWindowText, clWindow, 0},  // 8 数値
    {"\x91I\x91\xF0\x94\xCD\x88\xCD", clHighlightText, clHighlight, 0},  // 9 選択範囲
    {"\x95\xB6\x8E\x9A\x97\xF1", clWindowText, clWindow, 0},  // 10 文字列
    {"\x8BL\x8D\x86", clWindowText, clWindow, 0},  // 11 記号
    {"\x83\x81\x81[\x83\x8B\x83" "A\x83h\x83\x8C\x83X", 0x00008000, clWindow, fsUnderline},  // 12 メールアドレス
    {"WEB URL", 0x00008000, clWindow, fsUnderline},  // 13 WEB URL
    {"\x83\x81\x81[\x83\x8BId", 0x00008000, clWindow, fsUnderline},  // 14 メールId
    {"\x8Ds\x94\xD4\x8D\x86", clWindowText, clWindow, 0},  // 15 行番号
    {"", clWindowText, clDesktop, 0},  // 16 (no name)
    {"\x8B\xAD\x92\xB2\x95\x5C\x8E\xA6" "1", 0x00FF0000, clWindow, fsBold},  // 17 強調表示1
    {"\x8B\xAD\x92\xB2\x95\x5C\x8E\xA6" "2", 0x000000FF, clWindow, fsBold},  // 18 強調表示2
    {"\x8B\xAD\x92\xB2\x95\x5C\x8E\xA6" "3", clWindowText, clWindow, 0},  // 19 強調表示3
    {"\x8B\xAD\x92\xB2\x95\x5C\x8E\xA6" "4", clWindowText, clWindow, 0},  // 20 強調表示4
    {"\x8B\xAD\x92\xB2\x95\x5C\x8E\xA6" "5", clWindowText, clWindow, 0},  // 21 強調表示5
    {"\x8B\xAD\x92\xB2\x95\x5C\x8E\xA6" "6", clWindowText, clWindow, 0},  // 22 強調表示6
    {"\x8Ds\x82\xCC\x8B\xAD\x92\xB2" "1", 0x00FF0000, 0x00C0C0C0, 0},  // 23 行の強調1
    {"\x8Ds\x82\xCC\x8B\xAD\x92\xB2" "2", 0x00FFFFFF, 0x00000080, fsBold},  // 24 行の強調2
    {"\x8Ds\x82\xCC\x8B\xAD\x92\xB2" "3", 0x00FFFFFF, 0x00008000, fsBold},  // 25 行の強調3
    {"\x8Ds\x82\xCC\x8B\xAD\x92\xB2" "4", 0x00FFFFFF, 0x00808000, fsBold},  // 26 行の強調4
    {"\x8Ds\x82\xCC\x8B\xAD\x92\xB2" "5", 0x00FFFFFF, 0x00000000, fsBold},  // 27 行の強調5
    {"\x8Ds\x82\xCC\x8B\xAD\x92\xB2" "6", 0x00FFFFFF, 0x00800080, fsBold},  // 28 行の強調6
    {"\x8B@\x8E\xED\x88\xCB\x91\xB6\x95\xB6\x8E\x9A\x82\xC8\x82\xC7", clWindowText, clWindow, 0},  // 29 機種依存文字など
    {"\x83t\x83@\x83" "C\x83\x8B", 0x00008000, clWindow, fsUnderline},  // 30 ファイル
    {"\x8C\x9F\x8D\xF5\x8C\xEA", clWindowText, clInactiveCaption, 0},  // 31 検索語
    {"", clWindowText, clDesktop, 0},  // 32 (no name)
    {"DIFF \x92\xC7\x89\xC1\x8Ds", 0x00FFFFFF, 0x000000FF, 0},  // 33 DIFF 追加行
    {"DIFF \x95\xCF\x8DX\x8Ds", 0x00FFFFFF, 0x00008000, 0},  // 34 DIFF 変更行
    {"DIFF \x8D\xED\x8F\x9C\x8Ds", 0x00FFFFFF, 0x00FF0000, 0},  // 35 DIFF 削除行
    {"DIFF \x89\xBA\x82\xC9\x92\xC7\x89\xC1\x82\xB3\x82\xEA\x82\xBD", 0x00FFFFFF, 0x00000000, 0},  // 36 DIFF 下に追加された
    {"DIFF \x89\xBA\x82\xA9\x82\xE7\x8D\xED\x8F\x9C\x82\xB3\x82\xEA\x82\xBD", 0x00FFFFFF, 0x00000000, 0},  // 37 DIFF 下から削除された
    {"\x90\xA7\x8C\xE4\x95\xB6\x8E\x9A", clHighlightText, clHighlight, 0},  // 38 制御文字
    {"\x95\xCF\x8DX\x8Ds\x82\xCC\x8Ds\x94\xD4\x8D\x86", clWindowText, clDesktop, fsBold},  // 39 変更行の行番号
    {"\x94\xBC\x8Ap\x8B\xF3\x94\x92", 0x00808080, clWindow, 0},  // 40 半角空白
    {"\x83}\x81[\x83N\x8Ds\x82\xCC\x83}\x81[\x83N", 0x00FFFFFF, 0x00008000, 0},  // 41 マーク行のマーク
    {"\x83" "A\x83\x93\x83_\x81[\x83\x89\x83" "C\x83\x93", 0x00000000, clDesktop, 0},  // 42 アンダーライン
    {"\x90\xAE\x8C`\x8C\x85\x8F" "c\x90\xFC", 0x00C0C0C0, clDesktop, 0},  // 43 整形桁縦線
    {"\x8B\xAD\x92\xB2\x95\x5C\x8E\xA6" "7", clWindowText, clWindow, 0},  // 44 強調表示7
    {"\x8B\xAD\x92\xB2\x95\x5C\x8E\xA6" "8", clWindowText, clWindow, 0},  // 45 強調表示8
    {"\x8B\xAD\x92\xB2\x95\x5C\x8E\xA6" "9", clWindowText, clWindow, 0},  // 46 強調表示9
    {"\x8B\xAD\x92\xB2\x95\x5C\x8E\xA6" "10", clWindowText, clWindow, 0},  // 47 強調表示10
};

}  // namespace

void TVornEditColor::SetName(const std::string& v) {
  if (name_ == v) return;
  name_ = v;
  Changed();
}

void TVornEditColor::Assign(const TVornEditColor& src) {
  if (&src == this || *this == src) return;
  name_ = src.name_;
  looks_ = src.looks_;
  Changed();
}

TVornEditColors::TVornEditColors()
    : TVornEditColors([](int index) { return std::make_unique<TVornEditColor>(index); }) {}

TVornEditColors::TVornEditColors(TItemFactory itemFactory) : itemFactory_(std::move(itemFactory)) {
  FillDefaults();
}

TVornEditColors::TVornEditColors(const TVornEditColors& o)
    : TNotifyPersistent(o), itemFactory_(o.itemFactory_) {
  FillDefaults();
  Assign(o);
}

void TVornEditColors::AddItem() {
  items_.push_back(itemFactory_(Count()));
  Adopt(*items_.back());
}

void TVornEditColors::FillDefaults() {
  for (const TColorInitRecord& rec : kDefaultColors) {
    AddItem();
    // The table has no handler of its own yet, so these setters notify nobody.
    TVornEditColor& c = *items_.back();
    c.SetName(rec.name);
    c.SetColor(rec.color);
    c.SetBkColor(rec.bkColor);
    c.SetStyle(rec.style);
  }
}

bool TVornEditColors::operator==(const TVornEditColors& o) const {
  if (Count() != o.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (!(Items(i) == o.Items(i))) return false;
  return true;
}

void TVornEditColors::Assign(const TVornEditColors& src) {
  if (&src == this || *this == src) return;
  BeginUpdate();
  while (Count() < src.Count()) AddItem();
  while (Count() > src.Count()) items_.pop_back();
  for (int i = 0; i < Count(); ++i) Items(i).Assign(src.Items(i));
  EndUpdate();
}

}  // namespace vorn
