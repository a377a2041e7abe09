// The function table as data; flags come from two number lists so that each reads as one set.
#include "shellcore/FunctionTable.h"

#include <algorithm>
#include <utility>

#include "base/sjis.h"

namespace vorn {
namespace {

struct TRow {
  int number;
  const char* name;
  const char* displayName;
  int category;
};

constexpr TRow kRows[kFunctionCount] = {
    {0, "NewFile", "新規作成", 1},
    {1, "LoadFromFile", "開く...", 1},
    {2, "CloseOpen", "読み直す", 1},
    {3, "CloseFile", "ファイルを閉じる", 1},
    {4, "SaveFile", "上書き保存", 1},
    {5, "SaveAs", "名前を付けて保存...", 1},
    {6, "ReadFileToCaret", "カーソル位置への読み込み...", 1},
    {7, "Print", "印刷...", 1},
    {8, "SaveClose", "保存して終了", 1},
    {9, "Close", "終了", 1},
    {10, "AllSaveClose", "全保存終了", 1},
    {11, "AllClose", "全終了", 1},
    {12, "AllSave", "全保存", 1},
    {13, "AllSaveOnlyModified", "全保存（更新ファイルのみ）", 1},
    {14, "Destroy", "破棄して終了", 1},
    {15, "EditFilename", "ファイル名変更...", 1},
    {16, "CursorUp", "カーソル上", 2},
    {17, "CursorDown", "カーソル下", 2},
    {18, "CursorRight", "カーソル右", 2},
    {19, "CursorLeft", "カーソル左", 2},
    {20, "WordRight", "単語右", 2},
    {21, "WordLeft", "単語左", 2},
    {22, "MoveLineStart", "行頭に移動", 2},
    {23, "MoveLineEnd", "行末に移動", 2},
    {24, "MoveLogicalLineStart", "レイアウト行頭に移動", 2},
    {25, "MoveLogicalLineEnd", "レイアウト行末に移動", 2},
    {26, "MoveFileStart", "ファイルの先頭に移動", 2},
    {27, "MoveFileEnd", "ファイルの最後に移動", 2},
    {28, "NextPage", "次ページ", 2},
    {29, "PrevPage", "前ページ", 2},
    {30, "MoveWindowStart", "画面の先頭に移動", 2},
    {31, "MoveWindowEnd", "画面の最後に移動", 2},
    {32, "JumpPrevModifiedPos", "最後に編集した所に移動", 2},
    {33, "JumpRow", "指定行に移動...", 2},
    {34, "ToggleMark", "現在行のマーク／マーク解除", 2},
    {35, "ShowMarkList", "マーク一覧...", 2},
    {36, "FindUnderMark", "マーク行の下検索", 2},
    {37, "FindOverMark", "マーク行の上検索", 2},
    {38, "ClearAllMark", "マークをすべて解除", 2},
    {39, "SelectAll", "すべてを選択", 3},
    {40, "Copy", "コピー", 3},
    {41, "InyouCopy", "引用付きコピー", 3},
    {42, "Paste", "貼り付け", 3},
    {43, "Cut", "切り抜き", 3},
    {44, "SelectWord", "単語選択", 3},
    {45, "SelectLine", "行の選択", 3},
    {46, "CopyWord", "単語をコピー", 3},
    {47, "CopyLine", "行をコピー", 3},
    {48, "Delete", "削除", 4},
    {49, "DeleteLine", "行削除", 4},
    {50, "DeleteLineEnd", "カーソルより後ろを削除", 4},
    {51, "DeleteLineStart", "カーソルより前を削除", 4},
    {52, "DeleteWord", "単語削除", 4},
    {53, "BackSpace", "バックスペース", 4},
    {54, "Enter", "改行", 5},
    {55, "Tab", "タブ", 5},
    {56, "InsertEmptyLine", "空行挿入", 5},
    {57, "Undo", "やり直し", 6},
    {58, "Redo", "やり直しのやり直し", 6},
    {59, "ExchangeUpperLower", "大文字<->小文字の変換", 6},
    {60, "ChangeUpperCase", "大文字に変換", 6},
    {61, "ChangeLowerCase", "小文字に変換", 6},
    {62, "TabToSpace", "TAB->空白変換", 6},
    {63, "SpaceToTab", "空白->TAB変換", 6},
    {64, "InsertIndent", "インデント", 6},
    {65, "ReverseIndent", "逆インデント", 6},
    {66, "Find", "検索...", 7},
    {67, "FindDown", "下候補", 7},
    {68, "FindUp", "上候補", 7},
    {69, "FindComeback", "検索開始位置へ戻る", 7},
    {70, "Replace", "置換...", 7},
    {71, "ToggleInsertMode", "挿入／上書き切り替え", 10},
    {72, "ToggleMacroRecord", "記録開始／記録終了", 9},
    {73, "ReplayMacro", "再生", 9},
    {74, "SaveMacro", "記録の保存...", 9},
    {75, "LoadMacro", "外部マクロ読み込み...", 9},
    {76, "TagJump", "タグジャンプ", 10},
    {77, "ToggleFreeCaret", "フリーカーソルモードの切り替え", 10},
    {78, "ProgramExec", "プログラム実行...", 10},
    {79, "SetMark1", "マーク1を設定", 2},
    {80, "SetMark2", "マーク2を設定", 2},
    {81, "SetMark3", "マーク3を設定", 2},
    {82, "SetMark4", "マーク4を設定", 2},
    {83, "SetMark5", "マーク5を設定", 2},
    {84, "SetMark6", "マーク6を設定", 2},
    {85, "SetMark7", "マーク7を設定", 2},
    {86, "SetMark8", "マーク8を設定", 2},
    {87, "SetMark9", "マーク9を設定", 2},
    {88, "SetMark0", "マーク0を設定", 2},
    {89, "JumpMark1", "マーク1に移動", 2},
    {90, "JumpMark2", "マーク2に移動", 2},
    {91, "JumpMark3", "マーク3に移動", 2},
    {92, "JumpMark4", "マーク4に移動", 2},
    {93, "JumpMark5", "マーク5に移動", 2},
    {94, "JumpMark6", "マーク6に移動", 2},
    {95, "JumpMark7", "マーク7に移動", 2},
    {96, "JumpMark8", "マーク8に移動", 2},
    {97, "JumpMark9", "マーク9に移動", 2},
    {98, "JumpMark0", "マーク0に移動", 2},
    {99, "InputDateTime", "現在の日時を入力", 10},
    {100, "InputDate", "現在の日付を入力", 10},
    {101, "InputTime", "現在の時間を入力", 10},
    {102, "VerticalLineup", "縦に並べる", 8},
    {103, "HorizotalLineup", "横に並べる", 8},
    {104, "Pile", "重ねて表示", 8},
    {105, "LineupOrder", "並べて表示", 8},
    {106, "AllMinimize", "全部最小化", 8},
    {107, "Seikei", "整形", 6},
    {108, "QuickSeikeiSet", "整形の一時設定...", 10},
    {109, "DivideLine", "行の分割", 6},
    {110, "CenterAlign", "センタリング", 6},
    {111, "LeftAlign", "左寄せ", 6},
    {112, "RightAlign", "右寄せ", 6},
    {113, "InyouPaste", "引用付き貼り付け", 3},
    {114, "MaximizeVertical", "縦方向に最大化", 8},
    {115, "ToggleBrowseMode", "閲覧モードの切り換え", 10},
    {116, "SaveSelectedToFile", "選択範囲をファイルに保存...", 1},
    {117, "OpenExplorer", "ファイルをエクスプローラで開く", 1},
    {118, "ChangeOpenFileCode", "保存時の文字コードと改行種類の変更...", 1},
    {119, "ChangeCharCode", "文字コード変換...", 10},
    {120, "WordRegister", "単語登録...", 10},
    {121, "ExtMacroExecute", "外部マクロ実行...", 9},
    {122, "Macro1", "マクロ1の実行", 9},
    {123, "Macro2", "マクロ2の実行", 9},
    {124, "Macro3", "マクロ3の実行", 9},
    {125, "Macro4", "マクロ4の実行", 9},
    {126, "Macro5", "マクロ5の実行", 9},
    {127, "Macro6", "マクロ6の実行", 9},
    {128, "Macro7", "マクロ7の実行", 9},
    {129, "Macro8", "マクロ8の実行", 9},
    {130, "Macro9", "マクロ9の実行", 9},
    {131, "Macro10", "マクロ10の実行", 9},
    {132, "BeginUpdate", "画面描画を一時的に止める", 0},
    {133, "EndUpdate", "画面描画を再開する", 0},
    {134, "EncodeQuote", "マクロ用文字列変換", 9},
    {135, "Message", "メッセージ表示", 0},
    {136, "CopyStr", "クリップボードに文字列をコピー", 0},
    {137, "SearchBracket", "対応する括弧を探す", 7},
    {138, "ExecInputMacro", "カーソル位置直前のマクロを実行", 9},
    {139, "OpenFileExec", "開いているファイルを実行", 10},
    {140, "OpenFilenameCopy", "開いているファイル名をコピー", 3},
    {141, "LineDown", "下に行スクロール", 2},
    {142, "LineUp", "上に行スクロール", 2},
    {143, "BoxSelection", "箱形選択", 3},
    {144, "Grep", "GREP...", 7},
    {145, "NextEditor", "次のウィンドウ", 8},
    {146, "PrevEditor", "前のウィンドウ", 8},
    {147, "DivideWindow", "画面分割", 8},
    {148, "ToggleWindowFocus", "ウィンドウのフォーカス移動", 8},
    {149, "ClearFindItem", "検索文字のクリア", 7},
    {150, "SplitterUp", "分割境界を上へ", 8},
    {151, "SplitterDown", "分割境界を下へ", 8},
    {152, "NewWindow", "別の編集ウィンドウ作成", 8},
    {153, "DiffExec", "diffの実行...", 7},
    {154, "FindUnderDiff", "差分情報の下検索", 7},
    {155, "FindOverDiff", "差分情報の上検索", 7},
    {156, "ClearDiffInfo", "差分情報のクリア", 7},
    {157, "ChangeDiffFocus", "比較したファイルの該当個所へ移動", 7},
    {158, "Macro11", "マクロ11の実行", 9},
    {159, "Macro12", "マクロ12の実行", 9},
    {160, "Macro13", "マクロ13の実行", 9},
    {161, "Macro14", "マクロ14の実行", 9},
    {162, "Macro15", "マクロ15の実行", 9},
    {163, "Macro16", "マクロ16の実行", 9},
    {164, "Macro17", "マクロ17の実行", 9},
    {165, "Macro18", "マクロ18の実行", 9},
    {166, "Macro19", "マクロ19の実行", 9},
    {167, "Macro20", "マクロ20の実行", 9},
};

using TRange = std::pair<int, int>;

// Movements and jumps that grow the selection when Shift is held.
constexpr TRange kShiftExtends[] = {{1, 1},   {16, 33},   {36, 37},   {69, 69},
                                    {88, 98}, {137, 137}, {148, 148}};

// Functions whose keys are worth showing beside their menu items.
constexpr TRange kShortcut[] = {{0, 2},     {4, 12},    {33, 43},   {57, 58},   {60, 70},
                                {72, 76},   {78, 114},  {116, 121}, {134, 134}, {137, 140},
                                {143, 147}, {149, 149}, {152, 157}};

template <std::size_t N>
constexpr bool InRanges(const TRange (&ranges)[N], int number) {
  for (const TRange& r : ranges)
    if (number >= r.first && number <= r.second) return true;
  return false;
}

constexpr std::array<TFunctionInfo, kFunctionCount> BuildTable() {
  std::array<TFunctionInfo, kFunctionCount> table{};
  for (const TRow& row : kRows)
    table[row.number] = TFunctionInfo{row.number,   row.name, row.displayName, row.category,
                                      InRanges(kShiftExtends, row.number), InRanges(kShortcut, row.number)};
  return table;
}

constexpr std::array<TFunctionInfo, kFunctionCount> kTable = BuildTable();

constexpr bool RowsAreInNumberOrder() {
  for (int i = 0; i < kFunctionCount; ++i)
    if (kRows[i].number != i) return false;
  return true;
}
static_assert(RowsAreInNumberOrder(), "every number 0..167 exactly once, in order");

constexpr std::string_view kCategoryNames[kCategoryCount] = {
    "",       "ファイル系", "カーソル移動系", "選択・コピー", "削除系", "挿入系",
    "その他編集", "検索系",     "ウィンドウ系",   "マクロ系",     "その他"};

constexpr std::string_view kActionSuffix = "Action";

}  // namespace

bool IsFunctionNumber(int value) { return value >= 0 && value < kFunctionCount; }

const TFunctionInfo* FunctionByNumber(int number) {
  return IsFunctionNumber(number) ? &kTable[number] : nullptr;
}

namespace {

const TFunctionInfo* FindExactName(std::string_view name) {
  auto it = std::find_if(kTable.begin(), kTable.end(),
                         [&](const TFunctionInfo& f) { return sjis::SameTextI(f.Name, name); });
  return it == kTable.end() ? nullptr : &*it;
}

}  // namespace

const TFunctionInfo* FunctionByName(std::string_view name) {
  if (name.size() > kActionSuffix.size() &&
      sjis::SameTextI(name.substr(name.size() - kActionSuffix.size()), kActionSuffix))
    if (const TFunctionInfo* f = FindExactName(name.substr(0, name.size() - kActionSuffix.size()))) return f;
  return FindExactName(name);
}

const std::array<TFunctionInfo, kFunctionCount>& AllFunctions() { return kTable; }

std::vector<int> FunctionsOfCategory(int category) {
  std::vector<int> numbers;
  if (category <= 0) return numbers;
  for (const TFunctionInfo& f : kTable)
    if (f.Category == category) numbers.push_back(f.Number);
  return numbers;
}

std::string_view CategoryName(int category) {
  return category > 0 && category < kCategoryCount ? kCategoryNames[category] : std::string_view();
}

}  // namespace vorn
