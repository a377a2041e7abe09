// The menus in their order; captions come from the command captions so they cannot drift.
#include "shellcore/MenuTree.h"

#include <algorithm>
#include <functional>

#include "shellcore/CommandCaptions.h"

namespace vorn {
namespace {

TMenuNode Cmd(const std::string& name) { return {mnCommand, name, MenuCaption(name), {}}; }
TMenuNode Sep() { return {mnSeparator, {}, {}, {}}; }
TMenuNode Sub(const std::string& caption, std::vector<TMenuNode> children) {
  return {mnSubmenu, {}, caption, std::move(children)};
}
TMenuNode Help(const char* name, const std::string& caption) { return {mnHelpItem, name, caption, {}}; }
TMenuNode RunTime(const char* name) { return {mnRunTimeList, name, {}, {}}; }

std::vector<TMenuNode> Cmds(std::initializer_list<const char*> names) {
  std::vector<TMenuNode> nodes;
  for (const char* n : names) nodes.push_back(n[0] == '-' ? Sep() : Cmd(n));
  return nodes;
}

std::vector<TMenuNode> Numbered(const std::string& family) {
  std::vector<TMenuNode> nodes;
  for (int digit = 0; digit <= 9; ++digit) nodes.push_back(Cmd(family + std::to_string(digit)));
  return nodes;
}

std::vector<TMenuNode> Join(std::initializer_list<std::vector<TMenuNode>> parts) {
  std::vector<TMenuNode> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::vector<TMenuNode> BuildMainMenu() {
  return {
      Sub("ファイル(&F)",
          Join({Cmds({"NewFile", "LoadFromFile", "CloseOpen", "ReadFileToCaret", "OpenExplorer",
                      "ChangeOpenFileCode", "-", "SaveFile", "SaveAs", "SaveSelectedToFile", "AllSave", "-",
                      "Print", "-", "SaveClose", "Close", "AllSaveClose", "AllClose"}),
                {RunTime(kFileHistoryList)}})),
      Sub("編集(&E)",
          Join({Cmds({"Undo", "Redo", "-", "Cut", "Copy", "InyouCopy", "Paste", "InyouPaste", "OpenFilenameCopy",
                      "-", "BoxSelection", "SelectAll"}),
                {Sub("整形", Cmds({"Seikei", "DivideLine", "InsertIndent", "ReverseIndent", "CenterAlign",
                                   "LeftAlign", "RightAlign"})),
                 Sub("挿入", Cmds({"InputDateTime", "InputDate", "InputTime"})),
                 Sub("変換", Cmds({"ChangeCharCode", "ChangeUpperCase", "ChangeLowerCase", "TabToSpace",
                                   "SpaceToTab", "EncodeQuote"}))}})),
      Sub("検索(&S)",
          Join({Cmds({"Find", "Replace", "FindDown", "FindUp", "FindComeback", "ClearFindItem", "-", "JumpRow",
                      "TagJump", "SearchBracket", "-"}),
                {Sub("マーク(&S)", Numbered("SetMark")), Sub("マークへ移動(&M)", Numbered("JumpMark"))},
                Cmds({"ShowMarkList", "ToggleMark", "FindUnderMark", "FindOverMark", "ClearAllMark", "-"}),
                {Sub("ファイル差分",
                     Cmds({"DiffExec", "ClearDiffInfo", "FindUnderDiff", "FindOverDiff", "ChangeDiffFocus"}))},
                Cmds({"Grep"})})),
      Sub("ウィンドウ(&W)",
          Join({Cmds({"VerticalLineup", "HorizotalLineup", "Pile", "LineupOrder", "AllMinimize",
                      "MaximizeVertical", "-", "DivideWindow", "NewWindow", "-", "NextEditor", "PrevEditor"}),
                {RunTime(kWindowList)}})),
      Sub("その他(&O)",
          Cmds({"EditExtSet", "EditCommonSet", "QuickSeikeiSet", "-", "ToggleMacroRecord", "ReplayMacro",
                "SaveMacro", "LoadMacro", "ExtMacroExecute", "ExecInputMacro", "-", "ProgramExec",
                "OpenFileExec", "WordRegister", "-", "ToolBarToggle", "StatusBarToggle"})),
      Sub("ヘルプ(&H)", {Help(kHelpContents, "ヘルプ(&H)"), Help(kHelpReadme, "&Readme.txtの参照"),
                         Help(kHelpCommands, "コマンドヘルプ(&M)"), Help(kHelpAbout, "バージョン情報(&A)")}),
  };
}

TMenuNode BuildPanePopup() {
  return Sub("", Join({Cmds({"Undo", "Redo", "-", "Cut", "Copy", "InyouCopy", "Paste"}),
                       {Sub("整形(&S)", Cmds({"Seikei", "DivideLine", "CenterAlign", "LeftAlign", "RightAlign"}))},
                       Cmds({"-", "FindUnderMark", "FindOverMark"}),
                       {Sub("マーク(&K)", Numbered("SetMark")), Sub("マークへ移動(&M)", Numbered("JumpMark"))},
                       Cmds({"ToggleMark", "ShowMarkList"})}));
}

void CollectCommands(const std::vector<TMenuNode>& nodes, std::vector<std::string>& names) {
  for (const TMenuNode& node : nodes) {
    if (node.Kind == mnCommand && std::find(names.begin(), names.end(), node.Name) == names.end())
      names.push_back(node.Name);
    CollectCommands(node.Children, names);
  }
}

}  // namespace

const std::vector<TMenuNode>& MainMenuTree() {
  static const std::vector<TMenuNode> tree = BuildMainMenu();
  return tree;
}

const TMenuNode& PanePopupTree() {
  static const TMenuNode tree = BuildPanePopup();
  return tree;
}

std::vector<std::string> CommandsInMenus() {
  std::vector<std::string> names;
  CollectCommands(MainMenuTree(), names);
  CollectCommands(PanePopupTree().Children, names);
  return names;
}

std::string DumpMenuTree(const std::vector<TMenuNode>& nodes, int depth) {
  std::string out;
  const std::string indent(2 * depth, ' ');
  for (const TMenuNode& node : nodes) {
    switch (node.Kind) {
      case mnSeparator: out += indent + "-\n"; break;
      case mnCommand: out += indent + node.Name + " \"" + node.Caption + "\"\n"; break;
      case mnSubmenu: out += indent + "[" + node.Caption + "]\n" + DumpMenuTree(node.Children, depth + 1); break;
      case mnHelpItem: out += indent + "help:" + node.Name + " \"" + node.Caption + "\"\n"; break;
      case mnRunTimeList: out += indent + "<" + node.Name + ">\n"; break;
    }
  }
  return out;
}

}  // namespace vorn
