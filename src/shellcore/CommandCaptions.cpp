// Menu captions: mostly the display name with an accelerator, a few worded differently.
#include "shellcore/CommandCaptions.h"

#include <algorithm>
#include <array>

#include "base/sjis.h"
#include "shellcore/FunctionTable.h"

namespace vorn {
namespace {

constexpr TExtraAction kExtraActions[] = {
    {"EditCommonSet", "共通設定(&C)...", false},
    {"EditExtSet", "ファイルタイプ別の設定(&F)...", false},
    {"SaveKeyMap", "", false},
    {"LoadKeyMap", "", false},
    {"ToolBarToggle", "ツールバー(&T)", true},
    {"StatusBarToggle", "ステイタスバー(&S)", true},
};

struct TAccelerator {
  std::string_view name;
  char letter;
};

constexpr TAccelerator kAccelerators[] = {
    {"NewFile", 'N'},        {"LoadFromFile", 'O'},    {"CloseOpen", 'L'},    {"SaveFile", 'S'},
    {"SaveAs", 'A'},         {"ReadFileToCaret", 'I'}, {"SaveClose", 'E'},    {"Close", 'X'},
    {"AllSaveClose", 'T'},   {"AllClose", 'Q'},        {"AllSave", 'B'},      {"JumpRow", 'J'},
    {"ShowMarkList", 'L'},   {"FindUnderMark", 'D'},   {"FindOverMark", 'O'}, {"ClearAllMark", 'C'},
    {"SelectAll", 'S'},      {"Copy", 'C'},            {"InyouCopy", 'I'},    {"Paste", 'P'},
    {"Undo", 'U'},           {"Redo", 'R'},            {"ChangeUpperCase", 'U'}, {"ChangeLowerCase", 'L'},
    {"InsertIndent", 'I'},   {"ReverseIndent", 'R'},   {"Find", 'F'},         {"FindDown", 'L'},
    {"FindUp", 'U'},         {"Replace", 'R'},         {"TagJump", 'T'},      {"VerticalLineup", 'V'},
    {"HorizotalLineup", 'H'}, {"Pile", 'C'},           {"LineupOrder", 'T'},  {"AllMinimize", 'N'},
    {"Seikei", 'S'},
};

struct TOwnCaption {
  std::string_view name;
  std::string_view caption;
};

// Worded apart from the display name; the full-width parenthesis before "&M" is deliberate.
constexpr TOwnCaption kOwnCaptions[] = {
    {"ToggleMark", "現在行のマーク／マーク解除（&M)"},
    {"Cut", "切り取り(&T)"},
    {"TabToSpace", "タブをスペースに変換"},
    {"SpaceToTab", "スペースをタブに変換"},
    {"FindComeback", "検索開始位置に戻る(&C)"},
    {"ToggleMacroRecord", "マクロ記録開始／記録終了"},
    {"ReplayMacro", "マクロ再生"},
    {"ChangeOpenFileCode", "保存時の文字コードと改行種類の変更"},
    {"ExecInputMacro", "カーソル直前のマクロを実行"},
    {"ClearFindItem", "検索語のクリア"},
    {"NewWindow", "別の編集ウィンドウ"},
    {"DiffExec", "diffの実行"},
    {"FindUnderDiff", "下の差分情報を探す"},
    {"FindOverDiff", "上の差分情報を探す"},
};


template <class T, std::size_t N>
const T* FindByName(const T (&items)[N], std::string_view name) {
  for (const T& item : items)
    if (sjis::SameTextI(item.name, name)) return &item;
  return nullptr;
}

}  // namespace

std::span<const TExtraAction> ExtraActions() { return kExtraActions; }

const TExtraAction* ExtraActionByName(std::string_view name) {
  for (const TExtraAction& a : kExtraActions)
    if (sjis::SameTextI(a.Name, name)) return &a;
  return nullptr;
}

std::string CaptionWithAccelerator(std::string_view displayName, char letter) {
  const std::string mark = std::string("(&") + letter + ")";
  constexpr std::string_view kDots = "...";
  if (displayName.ends_with(kDots))
    return std::string(displayName.substr(0, displayName.size() - kDots.size())) + mark + std::string(kDots);
  return std::string(displayName) + mark;
}

std::string MenuCaption(std::string_view commandName) {
  if (const TExtraAction* extra = ExtraActionByName(commandName)) return std::string(extra->Caption);
  const TFunctionInfo* f = FunctionByName(commandName);
  if (!f) return {};
  if (const TOwnCaption* own = FindByName(kOwnCaptions, f->Name)) return std::string(own->caption);
  if (const TAccelerator* acc = FindByName(kAccelerators, f->Name))
    return CaptionWithAccelerator(f->DisplayName, acc->letter);
  return std::string(f->DisplayName);
}

int ActionTag(int functionNumber) {
  const TFunctionInfo* f = FunctionByNumber(functionNumber);
  if (!f) return 0;
  if (f->Name == "AllSaveOnlyModified") return 1;
  for (std::string_view family : {"SetMark", "JumpMark", "Macro"})
    if (f->Name.starts_with(family) && f->Name.size() > family.size() &&
        std::all_of(f->Name.begin() + family.size(), f->Name.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return std::stoi(std::string(f->Name.substr(family.size())));
  return 0;
}

}  // namespace vorn
