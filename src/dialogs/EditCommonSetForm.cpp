// TEditCommonSetForm: its pages, the values shown and stored, OK with the guarded save; and
// TSeikeiPropForm.
#include "dialogs/EditCommonSetForm.h"

#include "base/VornError.h"
#include "dialogs/KeyWordPropForm.h"
#include "platform/VornUtil.h"
#include "settings/SjisText.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/KeyListText.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/KeyNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vorn {
namespace {

QString FromSjis(const std::string& s) { return QString::fromStdString(Utf8(s)); }
std::string ToSjis(const QString& s) { return Sjis(s.toStdString()); }

constexpr int kFunctionRole = Qt::UserRole + 10;

QWidget* NewPage(QWidget* parent, QVBoxLayout*& layout) {
  auto* page = new QWidget(parent);
  layout = new QVBoxLayout(page);
  return page;
}

// The list rows of a keyword list, pattern and method as the keyword list view shows them.
void FillKeywordRows(QListWidget* view, const TVornEditKeywords& list) {
  view->clear();
  for (int i = 0; i < list.Count(); ++i) view->addItem(FromSjis(list.Items(i).Pattern()));
}

}  // namespace

TEditCommonSetForm::TEditCommonSetForm(TCommonSetContext context, QWidget* owner)
    : TVornNotHideForm(owner),
      context_(std::move(context)),
      common_(std::make_unique<TCommonSet>(context_.ProgramFolder)),
      commentList_(std::make_unique<TVornEditKeywords>()),
      itemizeList_(std::make_unique<TVornEditKeywords>()),
      keyPage_(*context_.Table, common_->HotKey, common_->HotKeyModifier),
      toolBar_({}),
      guard_([folder = context_.UserFolder] { return KeyMapFingerprint(folder); }) {
  setWindowTitle(QStringLiteral("エディタの環境設定"));
  try {
    common_->LoadFrom(context_.UserFolder + "Common.ini");
  } catch (const EVornError& e) {
    loadMessages_.push_back(e.what());
  }
  try {
    toolBar_ = TToolBarList(LoadToolBarFile(context_.UserFolder));
  } catch (const EVornError& e) {
    // An unreadable file must not turn into an empty tool bar on OK: the default stands in.
    toolBar_ = TToolBarList(DefaultToolBar());
    loadMessages_.push_back(e.what());
  }
  for (std::string& m : common_->TakeMessages()) loadMessages_.push_back(std::move(m));
  commentList_->Assign(common_->Seikei().CommentList());
  itemizeList_->Assign(common_->Seikei().ItemizeList());
  keepOthersSettings = [this] {
    return CenteredMessageDlg(QString::fromStdString(ConcurrentSaveQuestion("キー割り付けとツールバー")),
                              mtConfirmation, mbYes | mbNo, false, this) == mrYes;
  };
  pages_ = new QTabWidget(this);
  const std::pair<QWidget*, const char*> pages[] = {
      {BuildGeneralPage(), "一般設定"}, {BuildWrapPage(), "行の折り返し"}, {BuildMacroPage(), "マクロ"},
      {BuildKeyPage(), "キー"},         {BuildToolBarPage(), "ツールバー"}, {BuildSeikeiPage(), "整形"},
      {BuildOtherPage(), "その他"},
  };
  const char* const names[] = {"GeneralPage", "WordWrapPage", "MacroPage", "KeyPage",
                               "ToolBarPage", "SeikeiPage",   "OtherPage"};
  int n = 0;
  for (const auto& [page, caption] : pages) {
    page->setObjectName(QString::fromLatin1(names[n++]));
    pages_->addTab(page, QString::fromUtf8(caption));
  }
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  auto* help = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
  connect(ok, &QPushButton::clicked, this, &TEditCommonSetForm::accept);
  connect(cancel, &QPushButton::clicked, this, &TEditCommonSetForm::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    QString page = pages_->currentWidget()->objectName();
    page.chop(4);
    ShowHelp("Setting_Common_" + page.toStdString() + ".html");
  });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {ok, cancel, help}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_, 1);
  layout->addLayout(buttons);
  ShowValues();
}

TEditCommonSetForm::~TEditCommonSetForm() = default;

QCheckBox* TEditCommonSetForm::Check(QWidget* parent, const char* caption, bool TCommonValues::*field, bool inverted) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
  checks_.push_back({box, field, inverted});
  return box;
}

QSpinBox* TEditCommonSetForm::Number(QWidget* parent, int TCommonValues::*field, int min, int max) {
  auto* box = new QSpinBox(parent);
  box->setRange(min, max);
  numbers_.push_back({box, field});
  return box;
}

QWidget* TEditCommonSetForm::BuildGeneralPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  auto* grid = new QGridLayout;
  const std::tuple<const char*, bool TCommonValues::*, bool> boxes[] = {
      {"カーソル位置を記憶する(&C)", &TCommonValues::ReserveCaret, false},
      {"マークを記憶する(&K)", &TCommonValues::ReserveMark, false},
      {"最大化して起動する(&X)", &TCommonValues::Maximize, false},
      {"検索語を色づけする(&T)", &TCommonValues::ToneFindStr, false},
      {"閲覧モードでもカーソルを表示する(&B)", &TCommonValues::BrowseModeAsReadOnlyBehavior, false},
      {"選択範囲をドラッグで移動する(&M)", &TCommonValues::SelMove, false},
      {"「行末<->行頭」カーソル移動を禁止する(&R)", &TCommonValues::MoveNextLine, true},
      {"縦スクロールバーを使ってもカーソル位置固定(&L)", &TCommonValues::FixCaretOnScroll, true},
      {"開くダイアログで現在の拡張子を使う(&O)", &TCommonValues::UseOpenFileExtAsFilter, false},
      {"複数ウィンドウを閉じる前に確認する(&Q)", &TCommonValues::QueryCloseAllMultiWindow, false},
      {"既に開いているときのメッセージを出さない(&N)", &TCommonValues::RestrictAlreadyOpenMsg, false},
      {"コピー後に選択を解除する(&P)", &TCommonValues::CopyAndSelClear, false},
  };
  int row = 0;
  for (const auto& [caption, field, inverted] : boxes) {
    grid->addWidget(Check(page, caption, field, inverted), row / 2, row % 2);
    ++row;
  }
  v->addLayout(grid);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("ファイル履歴の数(&F)"), Number(page, &TCommonValues::FileHistMenuCount, 0, 30));
  form->addRow(QStringLiteral("フォルダ履歴の数(&O)"), Number(page, &TCommonValues::FolderHistCount, 0, 30));
  form->addRow(QStringLiteral("アンドゥの回数(&U)"), Number(page, &TCommonValues::UndoSize, 64, 32767));
  form->addRow(QStringLiteral("ホイールのスクロール行数(&W)"), Number(page, &TCommonValues::IntellCount, 0, 1000));
  auto* quote = new QLineEdit(page);
  quote->setObjectName(QStringLiteral("QuoteHeader"));
  strings_.push_back(quote);
  form->addRow(QStringLiteral("引用符(&I)"), quote);
  v->addLayout(form);
  auto* caret = new QGroupBox(QStringLiteral("カーソルの形"), page);
  auto* caretRow = new QHBoxLayout(caret);
  for (const char* c : {"Windows風(&0)", "Brief風(&1)", "DOS風(&2)"}) {
    caretStyles_.push_back(new QRadioButton(QString::fromUtf8(c), caret));
    caretRow->addWidget(caretStyles_.back());
  }
  v->addWidget(caret);
  auto* station = new QGroupBox(QStringLiteral("常駐"), page);
  auto* stationForm = new QFormLayout(station);
  QCheckBox* resident = Check(station, "常駐する(&S)", &TCommonValues::Station);
  QSpinBox* stationHist = Number(station, &TCommonValues::StationFileHistMenuCount, 0, 30);
  QCheckBox* closeAll = Check(station, "全終了時に一緒に終了(&Y)", &TCommonValues::CloseAtAllClose);
  stationForm->addRow(resident);
  stationForm->addRow(QStringLiteral("ファイル履歴の数(&D)"), stationHist);
  stationForm->addRow(closeAll);
  auto follow = [stationHist, closeAll](bool on) {
    stationHist->setEnabled(on);
    closeAll->setEnabled(on);
  };
  connect(resident, &QCheckBox::toggled, this, follow);
  follow(false);
  v->addWidget(station);
  v->addStretch(1);
  return page;
}

QWidget* TEditCommonSetForm::BuildWrapPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  v->addWidget(Check(page, "ぶら下げ処理を行う(&B)", &TCommonValues::FollowPunctuation));
  v->addWidget(Check(page, "追い出し処理を行う(&O)", &TCommonValues::Leading));
  v->addWidget(Check(page, "改行マークもぶら下げる(&R)", &TCommonValues::FollowRetMark));
  v->addWidget(Check(page, "英文ワードラップ(&W)", &TCommonValues::WordBreak));
  auto* form = new QFormLayout;
  for (const char* name : {"LeadStr", "FollowStr"}) {
    auto* e = new QLineEdit(page);
    e->setObjectName(QString::fromLatin1(name));
    strings_.push_back(e);
  }
  form->addRow(QStringLiteral("行末禁則文字(&E)"), strings_[1]);
  form->addRow(QStringLiteral("行頭禁則文字(&S)"), strings_[2]);
  v->addLayout(form);
  v->addStretch(1);
  return page;
}

QWidget* TEditCommonSetForm::BuildMacroPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  macroList_ = new QTreeWidget(page);
  macroList_->setHeaderLabels({QString(), QStringLiteral("ファイル名"), QStringLiteral("マクロの説明")});
  macroList_->setRootIsDecorated(false);
  macroList_->setTextElideMode(Qt::ElideLeft);
  auto* row = new QHBoxLayout;
  row->addWidget(macroList_, 1);
  auto* side = new QVBoxLayout;
  auto* assign = new QPushButton(QStringLiteral("マクロ割り付け(&A)..."), page);
  auto* clear = new QPushButton(QStringLiteral("クリア(&C)"), page);
  auto* edit = new QPushButton(QStringLiteral("マクロの編集(&E)"), page);
  for (QPushButton* b : {assign, clear, edit}) {
    b->setEnabled(false);
    side->addWidget(b);
  }
  side->addStretch(1);
  row->addLayout(side);
  v->addLayout(row, 1);
  auto slot = [this] { return macroList_->indexOfTopLevelItem(macroList_->currentItem()); };
  connect(macroList_, &QTreeWidget::currentItemChanged, this, [this, assign, clear, edit, slot] {
    const int s = slot();
    assign->setEnabled(s >= 0);
    clear->setEnabled(s >= 0);
    edit->setEnabled(s >= 0 && !common_->Macros[static_cast<std::size_t>(s)].empty());
  });
  connect(assign, &QPushButton::clicked, this, [this, slot] {
    const int s = slot();
    if (s < 0 || !context_.chooseMacro) return;
    const std::vector<std::string> slots(common_->Macros.begin(), common_->Macros.end());
    if (auto file = context_.chooseMacro(slots)) common_->Macros[static_cast<std::size_t>(s)] = *file;
    FillMacroRows();
    macroList_->setCurrentItem(macroList_->topLevelItem(s));
  });
  connect(clear, &QPushButton::clicked, this, [this, slot] {
    const int s = slot();
    if (s < 0) return;
    common_->Macros[static_cast<std::size_t>(s)].clear();
    FillMacroRows();
    macroList_->setCurrentItem(macroList_->topLevelItem(s));
  });
  connect(edit, &QPushButton::clicked, this, [this, slot] {
    const int s = slot();
    if (s < 0 || !context_.editMacro) return;
    const std::string& file = common_->Macros[static_cast<std::size_t>(s)];
    context_.editMacro(file.find('/') == std::string::npos ? context_.ProgramFolder + "Macro/" + file : file);
  });
  auto* strings = new QGridLayout;
  for (int i = 0; i < 10; ++i) {
    auto* e = new QLineEdit(page);
    e->setObjectName(QStringLiteral("MacroStr%1").arg(i));
    strings_.push_back(e);
    strings->addWidget(new QLabel(QStringLiteral("マクロ文字列(&%1)").arg(i), page), i / 2, (i % 2) * 2);
    strings->addWidget(e, i / 2, (i % 2) * 2 + 1);
  }
  v->addLayout(strings);
  return page;
}

void TEditCommonSetForm::FillMacroRows() {
  macroList_->clear();
  for (int i = 0; i < 20; ++i) {
    const std::string& file = common_->Macros[static_cast<std::size_t>(i)];
    auto* item = new QTreeWidgetItem(macroList_);
    item->setText(0, QString::number(i + 1));
    item->setText(1, QString::fromStdString(file.empty() ? std::string() : MacroSlotFileText(context_.ProgramFolder, file)));
  }
}

void TEditCommonSetForm::FillFunctionTree(QTreeWidget* tree, bool withHotKey) {
  tree->setHeaderHidden(true);
  for (int category = 1; category < kCategoryCount; ++category) {
    auto* node = new QTreeWidgetItem(tree, {QString::fromUtf8(std::string(CategoryName(category)))});
    node->setData(0, kFunctionRole, QVariant());
    for (int f : FunctionsOfCategory(category)) {
      auto* leaf = new QTreeWidgetItem(node, {QString::fromUtf8(std::string(FunctionByNumber(f)->DisplayName))});
      leaf->setData(0, kFunctionRole, f);
    }
  }
  if (withHotKey) {
    auto* hot = new QTreeWidgetItem(tree, {QStringLiteral("常駐メニューポップアップ")});
    hot->setData(0, kFunctionRole, kHotKeyFunction);
  }
}

int TEditCommonSetForm::SelectedFunction(QTreeWidget* tree, bool* functionNode) const {
  QTreeWidgetItem* item = tree->currentItem();
  const QVariant f = item && item->isSelected() ? item->data(0, kFunctionRole) : QVariant();
  if (functionNode) *functionNode = f.isValid();
  return f.isValid() ? f.toInt() : kNoAssignment;
}

QWidget* TEditCommonSetForm::BuildKeyPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  auto* row = new QHBoxLayout;
  keyTree_ = new QTreeWidget(page);
  FillFunctionTree(keyTree_, true);
  row->addWidget(keyTree_, 1);
  auto* side = new QVBoxLayout;
  keyCombo_ = new QComboBox(page);
  keyCombo_->addItem(QString());
  for (const TKeyListEntry& e : AssignableKeys()) keyCombo_->addItem(QString::fromUtf8(std::string(e.Name)), e.Key);
  shift_ = new QCheckBox(QStringLiteral("SHIFT(&S)"), page);
  ctrl_ = new QCheckBox(QStringLiteral("CTRL(&C)"), page);
  alt_ = new QCheckBox(QStringLiteral("ALT(&A)"), page);
  auto* keyLabel = new QLabel(QStringLiteral("キー(&K)"), page);
  keyLabel->setBuddy(keyCombo_);
  side->addWidget(keyLabel);
  side->addWidget(keyCombo_);
  for (QCheckBox* c : {shift_, ctrl_, alt_}) side->addWidget(c);
  auto button = [&](const char* caption, auto slot) {
    auto* b = new QPushButton(QString::fromUtf8(caption), page);
    connect(b, &QPushButton::clicked, this, slot);
    side->addWidget(b);
    return b;
  };
  button("割り付け(&D)", [this] { AssignSelected(); });
  button("クリア(&L)", [this] { ClearSelected(); });
  button("キー一覧の書き出し(&W)...", [this] {
    QString file = QFileDialog::getSaveFileName(this, QString(), QString(), QStringLiteral("テキスト(*.txt)"));
    if (file.isEmpty()) return;
    if (!file.contains(QLatin1Char('.'))) file += QStringLiteral(".txt");
    try {
      SaveKeyListText(file.toStdString(), *context_.Table);
    } catch (const EVornError& e) {
      CenteredMessageDlg(QString::fromUtf8(e.what()), mtWarning, mbOK, false, this);
    }
  });
  button("初期状態に戻す(&R)", [this] {
    keyPage_.ResetToBuiltIn();
    UpdateKeyPage();
  });
  button("ｺﾏﾝﾄﾞﾍﾙﾌﾟ(&M)", [this] {
    if (const TFunctionInfo* f = FunctionByNumber(SelectedFunction(keyTree_)))
      ShowHelp(CommandHelpPage(std::string(f->Name) + "Action"));
  });
  side->addStretch(1);
  row->addLayout(side);
  v->addLayout(row, 1);
  v->addWidget(new QLabel(QStringLiteral("割り付けられているキー"), page));
  assigned_ = new QListWidget(page);
  assigned_->setMaximumHeight(90);
  v->addWidget(assigned_);
  connect(keyTree_, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (!settingKey_) UpdateKeyPage();
  });
  auto keyChanged = [this] {
    if (settingKey_) return;
    // A combination chosen by hand shows the function holding it.
    settingKey_ = true;
    keyTree_->clearSelection();
    const int held = keyPage_.AssignedAt(ChosenModifiers(), ChosenKey());
    if (ChosenKey() > 0 && held != kNoAssignment) SelectFunction(held);
    settingKey_ = false;
    UpdateKeyPage();
  };
  connect(keyCombo_, &QComboBox::currentIndexChanged, this, keyChanged);
  for (QCheckBox* c : {shift_, ctrl_, alt_}) connect(c, &QCheckBox::toggled, this, keyChanged);
  return page;
}

int TEditCommonSetForm::ChosenModifiers() const {
  return (shift_->isChecked() ? kmShift : 0) | (ctrl_->isChecked() ? kmCtrl : 0) | (alt_->isChecked() ? kmAlt : 0);
}

int TEditCommonSetForm::ChosenKey() const { return keyCombo_->currentData().isValid() ? keyCombo_->currentData().toInt() : 0; }

void TEditCommonSetForm::SelectFunction(int function) {
  const bool was = settingKey_;
  settingKey_ = true;
  for (QTreeWidgetItemIterator it(keyTree_); *it; ++it)
    if ((*it)->data(0, kFunctionRole).isValid() && (*it)->data(0, kFunctionRole).toInt() == function) {
      keyTree_->setCurrentItem(*it);
      (*it)->setSelected(true);
      keyTree_->scrollToItem(*it);
      break;
    }
  settingKey_ = was;
  if (!was) UpdateKeyPage();
}

void TEditCommonSetForm::ChooseKey(int listIndex, int modifiers) {
  settingKey_ = true;
  shift_->setChecked(modifiers & kmShift);
  ctrl_->setChecked(modifiers & kmCtrl);
  alt_->setChecked(modifiers & kmAlt);
  settingKey_ = false;
  keyCombo_->setCurrentIndex(listIndex + 1);
}

void TEditCommonSetForm::UpdateKeyPage() {
  bool functionNode = false;
  const int function = SelectedFunction(keyTree_, &functionNode);
  FillAssigned();
  const bool held = ChosenKey() > 0 && keyPage_.AssignedAt(ChosenModifiers(), ChosenKey()) != kNoAssignment;
  Button(QStringLiteral("KeyPage"), QStringLiteral("割り付け(&D)"))
      ->setEnabled(keyPage_.AssignEnabled(functionNode, function, ChosenKey() > 0));
  Button(QStringLiteral("KeyPage"), QStringLiteral("クリア(&L)"))->setEnabled(held);
  Button(QStringLiteral("KeyPage"), QStringLiteral("ｺﾏﾝﾄﾞﾍﾙﾌﾟ(&M)"))->setEnabled(functionNode && function >= 0);
}

void TEditCommonSetForm::FillAssigned() {
  assigned_->clear();
  bool functionNode = false;
  const int function = SelectedFunction(keyTree_, &functionNode);
  if (!functionNode) return;
  for (const std::string& key : keyPage_.KeysOf(function)) assigned_->addItem(QString::fromStdString(key));
}

void TEditCommonSetForm::AssignSelected() {
  bool functionNode = false;
  const int function = SelectedFunction(keyTree_, &functionNode);
  if (!functionNode) return;
  switch (keyPage_.Assign(function, ChosenModifiers(), ChosenKey())) {
    case aoRefusedShift:
      CenteredMessageDlg(QString::fromUtf8(ShiftExtendsRefusal()), mtWarning, mbOK, false, this);
      break;
    case aoAskHotKey:
      if (CenteredMessageDlg(QString::fromUtf8(HotKeyQuestion()), mtConfirmation, mbYes | mbNo, false, this) == mrYes)
        keyPage_.AssignHotKey(ChosenModifiers(), ChosenKey());
      break;
    default: break;
  }
  UpdateKeyPage();
}

void TEditCommonSetForm::ClearSelected() {
  keyPage_.Clear(ChosenModifiers(), ChosenKey());
  UpdateKeyPage();
}

QWidget* TEditCommonSetForm::BuildToolBarPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  auto* row = new QHBoxLayout;
  toolBarList_ = new QListWidget(page);
  toolTree_ = new QTreeWidget(page);
  FillFunctionTree(toolTree_, false);
  auto* middle = new QVBoxLayout;
  auto button = [&](const char* caption, auto slot) {
    auto* b = new QPushButton(QString::fromUtf8(caption), page);
    connect(b, &QPushButton::clicked, this, slot);
    middle->addWidget(b);
    return b;
  };
  button("←(&A)", [this] {
    const int f = SelectedFunction(toolTree_);
    if (f < 0) return;
    toolBar_.Insert(f);
    FillToolBarList();
  });
  button("---(&S)", [this] {
    toolBar_.Insert(TToolBarList::kSeparator);
    FillToolBarList();
  });
  button("削除(&D)", [this] {
    toolBar_.Remove();
    FillToolBarList();
  });
  button("↑(&U)", [this] {
    toolBar_.MoveUp();
    FillToolBarList();
  });
  button("↓(&L)", [this] {
    toolBar_.MoveDown();
    FillToolBarList();
  });
  button("ｺﾏﾝﾄﾞﾍﾙﾌﾟ(&M)", [this] {
    if (const TFunctionInfo* f = FunctionByNumber(SelectedFunction(toolTree_)))
      ShowHelp(CommandHelpPage(std::string(f->Name) + "Action"));
  });
  middle->addStretch(1);
  row->addWidget(toolBarList_, 1);
  row->addLayout(middle);
  row->addWidget(toolTree_, 1);
  v->addLayout(row);
  connect(toolBarList_, &QListWidget::currentRowChanged, this, [this](int r) {
    toolBar_.Select(r);
    UpdateToolBarButtons();
  });
  connect(toolTree_, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateToolBarButtons(); });
  return page;
}

void TEditCommonSetForm::FillToolBarList() {
  const QSignalBlocker block(toolBarList_);
  toolBarList_->clear();
  for (int entry : toolBar_.Buttons()) toolBarList_->addItem(QString::fromStdString(ToolBarRowText(entry)));
  toolBarList_->setCurrentRow(toolBar_.Selected());
  if (toolBar_.Selected() >= 0) toolBarList_->scrollToItem(toolBarList_->item(toolBar_.Selected()));
  UpdateToolBarButtons();
}

void TEditCommonSetForm::UpdateToolBarButtons() {
  const QString page = QStringLiteral("ToolBarPage");
  bool functionNode = false;
  SelectedFunction(toolTree_, &functionNode);
  Button(page, QStringLiteral("←(&A)"))->setEnabled(functionNode);
  Button(page, QStringLiteral("ｺﾏﾝﾄﾞﾍﾙﾌﾟ(&M)"))->setEnabled(functionNode);
  Button(page, QStringLiteral("削除(&D)"))->setEnabled(toolBar_.CanRemove());
  Button(page, QStringLiteral("↑(&U)"))->setEnabled(toolBar_.CanMoveUp());
  Button(page, QStringLiteral("↓(&L)"))->setEnabled(toolBar_.CanMoveDown());
}

QWidget* TEditCommonSetForm::KeywordListBox(QWidget* parent, TVornEditKeywords& list, const char* const captions[6]) {
  auto* box = new QWidget(parent);
  auto* row = new QHBoxLayout(box);
  auto* view = new QListWidget(box);
  FillKeywordRows(view, list);
  row->addWidget(view, 1);
  auto* side = new QVBoxLayout;
  std::vector<QPushButton*> buttons;
  for (int i = 0; i < 6; ++i) {
    buttons.push_back(new QPushButton(QString::fromUtf8(captions[i]), box));
    side->addWidget(buttons.back());
  }
  side->addStretch(1);
  row->addLayout(side);
  auto update = [view, buttons] {
    const bool on = view->currentRow() >= 0;
    for (int i = 1; i < 6; ++i) buttons[static_cast<std::size_t>(i)]->setEnabled(on);
  };
  auto edit = [this, view, &list, update](int at) {
    TKeyWordPropForm form(nullptr, this);
    form.SetRegExpOnly();
    if (at >= 0) {
      TKeyWord k;
      k.Assign(list.Items(at));
      form.SetKeyWord(k);
      form.SetRegExpOnly();
    }
    if (form.exec() != QDialog::Accepted) return;
    TVornEditKeyword& target = at >= 0 ? list.Items(at) : list.AddItem();
    target.Assign(form.KeyWord());
    FillKeywordRows(view, list);
    view->setCurrentRow(at >= 0 ? at : list.Count() - 1);
    update();
  };
  auto move = [view, &list, update](int delta) {
    const int at = view->currentRow();
    if (at < 0 || at + delta < 0 || at + delta >= list.Count()) return;
    TVornEditKeyword a, b;
    a.Assign(list.Items(at));
    b.Assign(list.Items(at + delta));
    list.Items(at).Assign(b);
    list.Items(at + delta).Assign(a);
    FillKeywordRows(view, list);
    view->setCurrentRow(at + delta);
    update();
  };
  connect(buttons[0], &QPushButton::clicked, this, [edit] { edit(-1); });
  connect(buttons[1], &QPushButton::clicked, this, [edit, view] { edit(view->currentRow()); });
  connect(buttons[2], &QPushButton::clicked, this, [view, &list, update] {
    if (view->currentRow() < 0) return;
    list.Delete(view->currentRow());
    FillKeywordRows(view, list);
    update();
  });
  connect(buttons[3], &QPushButton::clicked, this, [move] { move(-1); });
  connect(buttons[4], &QPushButton::clicked, this, [move] { move(1); });
  buttons[5]->hide();
  connect(view, &QListWidget::currentRowChanged, this, update);
  update();
  return box;
}

QWidget* TEditCommonSetForm::BuildSeikeiPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  static const char* const comment[6] = {"新規作成(&N)...", "プロパティ(&P)...", "削除(&X)", "↑(&U)", "↓(&D)", ""};
  static const char* const itemize[6] = {"新規作成(&M)...", "プロパティ(&Q)...", "削除(&C)", "↑(&1)", "↓(&2)", ""};
  auto* c = new QGroupBox(QStringLiteral("コメント"), page);
  (new QVBoxLayout(c))->addWidget(KeywordListBox(c, *commentList_, comment));
  auto* i = new QGroupBox(QStringLiteral("箇条書き"), page);
  (new QVBoxLayout(i))->addWidget(KeywordListBox(i, *itemizeList_, itemize));
  v->addWidget(c);
  v->addWidget(i);
  return page;
}

QWidget* TEditCommonSetForm::BuildOtherPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  auto* row = new QHBoxLayout;
  QCheckBox* fix = Check(page, "ユーザーフォルダ名の固定(&U)", &TCommonValues::UserFolderFix);
  auto* name = new QLineEdit(page);
  name->setObjectName(QStringLiteral("UserFolderName"));
  strings_.push_back(name);
  row->addWidget(fix);
  row->addWidget(name, 1);
  v->addLayout(row);
  v->addWidget(new QLabel(QStringLiteral("（次回起動時から有効）"), page));
  v->addStretch(1);
  return page;
}

QPushButton* TEditCommonSetForm::Button(const QString& page, const QString& caption) const {
  for (int i = 0; i < pages_->count(); ++i)
    if (pages_->widget(i)->objectName() == page)
      for (QPushButton* b : pages_->widget(i)->findChildren<QPushButton*>())
        if (b->text() == caption) return b;
  return nullptr;
}

QCheckBox* TEditCommonSetForm::CheckBox(const QString& caption) const {
  for (QCheckBox* c : findChildren<QCheckBox*>())
    if (c->text() == caption) return c;
  return nullptr;
}

QLineEdit* TEditCommonSetForm::Field(const QString& name) const { return findChild<QLineEdit*>(name); }

// Strings in the order strings_ holds them: quotation prefix, the two wrap lists, the ten
// macro strings, the user folder.
void TEditCommonSetForm::ShowValues() {
  for (const TCheckBinding& b : checks_) b.Box->setChecked((*common_).*(b.Field) != b.Inverted);
  for (const TNumberBinding& b : numbers_) b.Box->setValue((*common_).*(b.Field));
  caretStyles_[static_cast<std::size_t>(std::clamp(common_->CaretStyle, 0, 2))]->setChecked(true);
  strings_[0]->setText(FromSjis(common_->QuoteHeader));
  strings_[1]->setText(FromSjis(common_->LeadStr));
  strings_[2]->setText(FromSjis(common_->FollowStr));
  for (int i = 0; i < 10; ++i) strings_[static_cast<std::size_t>(3 + i)]->setText(FromSjis(common_->MacroStr[static_cast<std::size_t>(i)]));
  strings_[13]->setText(FromSjis(common_->UserFolderName));
  FillMacroRows();
  FillToolBarList();
  UpdateKeyPage();
}

bool TEditCommonSetForm::StoreControls() {
  for (const TCheckBinding& b : checks_) (*common_).*(b.Field) = b.Box->isChecked() != b.Inverted;
  for (const TNumberBinding& b : numbers_) (*common_).*(b.Field) = b.Box->value();
  for (std::size_t i = 0; i < caretStyles_.size(); ++i)
    if (caretStyles_[i]->isChecked()) common_->CaretStyle = static_cast<int>(i);
  common_->QuoteHeader = ToSjis(strings_[0]->text());
  common_->LeadStr = ToSjis(strings_[1]->text());
  common_->FollowStr = ToSjis(strings_[2]->text());
  for (int i = 0; i < 10; ++i) common_->MacroStr[static_cast<std::size_t>(i)] = ToSjis(strings_[static_cast<std::size_t>(3 + i)]->text());
  common_->UserFolderName = ToSjis(strings_[13]->text());
  common_->Seikei().SetCommentList(*commentList_);
  common_->Seikei().SetItemizeList(*itemizeList_);
  return true;
}

bool TEditCommonSetForm::SaveAll() {
  if (!StoreControls()) return false;
  try {
    const bool keyFilesSaved = guard_.Save(keepOthersSettings, [this] {
      SaveKeyFile(context_.UserFolder, *context_.Table);
      SaveToolBarFile(context_.UserFolder, toolBar_.Buttons());
    });
    if (!keyFilesSaved) return false;
    common_->SaveTo(context_.UserFolder + "Common.ini");
  } catch (const EVornError& e) {
    CenteredMessageDlg(QString::fromUtf8(e.what()), mtWarning, mbOK, false, this);
    return false;
  }
  return true;
}

void TEditCommonSetForm::accept() {
  if (SaveAll()) TVornNotHideForm::accept();
}

TSeikeiPropForm::TSeikeiPropForm(QWidget* owner) : TVornNotHideForm(owner) {
  setWindowTitle(QStringLiteral("整形の一時設定"));
  autoTrigger_ = new QCheckBox(QStringLiteral("自動整形(&A)"), this);
  wrapCount_ = new QSpinBox(this);
  wrapCount_->setRange(20, 200);
  commentThrough_ = new QCheckBox(QStringLiteral("コメント整形(&T)"), this);
  commentOnly_ = new QCheckBox(QStringLiteral("コメント整形のみ(&L)"), this);
  insertSpace_ = new QCheckBox(QStringLiteral("スペース補完(&S)"), this);
  wordWrap_ = new QCheckBox(QStringLiteral("英文ワードラップ(&W)"), this);
  tabToSpace_ = new QCheckBox(QStringLiteral("タブをスペースに変換(&V)"), this);
  connect(commentThrough_, &QCheckBox::toggled, commentOnly_, &QCheckBox::setEnabled);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(autoTrigger_);
  auto* form = new QFormLayout;
  auto* label = new QLabel(QStringLiteral("整形文字数(&C)"), this);
  label->setBuddy(wrapCount_);
  form->addRow(label, wrapCount_);
  layout->addLayout(form);
  for (QCheckBox* c : {commentThrough_, commentOnly_, insertSpace_, wordWrap_, tabToSpace_}) layout->addWidget(c);
  layout->addWidget(NewOkCancelButtons());
  commentOnly_->setEnabled(false);
}

void TSeikeiPropForm::Show(const TVornEditSeikeiOption& o) {
  autoTrigger_->setChecked(o.AutoTrigger());
  wrapCount_->setValue(o.WrapCount());
  commentThrough_->setChecked(o.CommentThrough());
  commentOnly_->setChecked(o.CommentOnly());
  commentOnly_->setEnabled(o.CommentThrough());
  insertSpace_->setChecked(o.InsertSpace());
  wordWrap_->setChecked(o.WordWrap());
  tabToSpace_->setChecked(o.TabToSpace());
}

void TSeikeiPropForm::Store(TVornEditSeikeiOption& o) const {
  o.BeginUpdate();
  o.SetAutoTrigger(autoTrigger_->isChecked());
  o.SetWrapCount(wrapCount_->value());
  o.SetCommentThrough(commentThrough_->isChecked());
  o.SetCommentOnly(commentOnly_->isChecked());
  o.SetInsertSpace(insertSpace_->isChecked());
  o.SetWordWrap(wordWrap_->isChecked());
  o.SetTabToSpace(tabToSpace_->isChecked());
  o.EndUpdate();
}

}  // namespace vorn
