// TExtSetForm: the type list column, the stored and shown values, OK and the guarded save.
// The pages are built in ExtSetPages.cpp.
#include "dialogs/ExtSetForm.h"

#include "base/VornError.h"
#include "dialogs/ColorSetListBox.h"
#include "dialogs/InputDialogForm.h"
#include "platform/AtomicFile.h"
#include "platform/VornUtil.h"
#include "settings/ColorSet.h"
#include "settings/CommonSet.h"
#include "settings/SjisText.h"
#include "shellcore/ExtSetRules.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstdlib>
#include <fstream>

namespace vorn {
namespace {

QString FromSjis(const std::string& s) { return QString::fromStdString(Utf8(s)); }
std::string ToSjis(const QString& s) { return Sjis(s.toStdString()); }

// The colour picker's custom colours, one stored colour value per line.
std::string CustomColorPath(const TExtSetContext& c) { return c.Folders.User + "CustomColor.txt"; }

void LoadCustomColors(const std::string& path) {
  if (!IsRegularFile(path)) return;
  std::ifstream in(path);
  std::string line;
  for (int i = 0; i < QColorDialog::customCount() && std::getline(in, line); ++i) {
    char* end = nullptr;
    const unsigned long v = std::strtoul(line.c_str(), &end, 10);
    if (end != line.c_str()) QColorDialog::setCustomColor(i, QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF));
  }
}

void SaveCustomColors(const std::string& path) {
  std::string text;
  for (int i = 0; i < QColorDialog::customCount(); ++i) {
    const QColor c = QColorDialog::customColor(i);
    text += std::to_string(static_cast<unsigned>(c.red() | c.green() << 8 | c.blue() << 16)) + "\r\n";
  }
  try {
    WriteFileAtomicallyOrThrow(path, text);
  } catch (const EVornError&) {
    // The picker's custom colours are a convenience; a folder that refuses them loses nothing else.
  }
}

}  // namespace

TExtSetForm::TExtSetForm(TExtSetContext context, QWidget* owner)
    : TVornNotHideForm(owner),
      context_(std::move(context)),
      types_(std::make_unique<TTypeList>(context_.Folders)),
      guard_([folder = context_.Folders.User] { return TypeSettingsFingerprint(folder); }) {
  setWindowTitle(QStringLiteral("ファイルタイプ別の設定"));
  LoadCustomColors(CustomColorPath(context_));
  types_->SetDefaultFont(context_.DefaultFont);
  try {
    types_->Load();
  } catch (const EVornError& e) {
    loadMessages_.push_back(e.what());
  }
  for (std::string& m : types_->TakeMessages()) loadMessages_.push_back(std::move(m));
  guard_.Rebase();
  askSaveName = [this](const QString& filters, const QString& suffix) { return AskSaveName(filters, suffix); };
  keepOthersSettings = [this] {
    return CenteredMessageDlg(QString::fromStdString(ConcurrentSaveQuestion("ファイルタイプ別の設定")),
                              mtConfirmation, mbYes | mbNo, false, this) == mrYes;
  };

  pages_ = new QTabWidget(this);
  const std::pair<QWidget*, const char*> pages[] = {
      {BuildDisplayPage(), "表示"},          {BuildOutlinePage(), "外観"},   {BuildInputPage(), "入力"},
      {BuildSeikeiPage(), "整形"},           {BuildSavePage(), "保存等"},     {BuildColorPage(), "色"},
      {BuildKeywordPage(), "強調表示"},      {BuildCommentPage(), "コメント"}, {BuildRelationPage(), "関連付け"},
  };
  const char* const names[] = {"DisplayPage", "OutlinePage", "InputMovePage", "SeikeiPage", "SavePage",
                               "ColorPage",   "KeywordPage", "CommentPage",   "RelationPage"};
  int n = 0;
  for (const auto& [page, caption] : pages) {
    page->setObjectName(QString::fromLatin1(names[n++]));
    pages_->addTab(page, QString::fromUtf8(caption));
  }
  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  ok->setDefault(true);
  auto* apply = new QPushButton(QStringLiteral("保存しないで更新(&A)"), this);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  auto* help = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
  connect(ok, &QPushButton::clicked, this, &TExtSetForm::accept);
  connect(cancel, &QPushButton::clicked, this, &TExtSetForm::reject);
  connect(apply, &QPushButton::clicked, this, [this] {
    if (!StoreControls()) return;
    withoutSaving_ = true;
    TVornNotHideForm::accept();
  });
  connect(help, &QPushButton::clicked, this, [this] {
    QString page = pages_->currentWidget()->objectName();
    page.chop(4);
    ShowHelp("Setting_Ext_" + page.toStdString() + ".html");
  });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {ok, apply, cancel, help}) buttons->addWidget(b);
  auto* body = new QHBoxLayout;
  body->addWidget(BuildTypeColumn());
  body->addWidget(pages_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(buttons);

  FillTypeList();
  TFileSetting* first = nullptr;
  if (!context_.TypeHint.empty()) first = &types_->FindByFileName(context_.TypeHint);
  else if (context_.Grep) first = types_->FindGrep();
  if (!first) first = &types_->FindByFileName(context_.DocumentName);
  SelectType(types_->IndexOf(*first));
}

TExtSetForm::~TExtSetForm() { SaveCustomColors(CustomColorPath(context_)); }

QWidget* TExtSetForm::BuildTypeColumn() {
  auto* column = new QWidget(this);
  nameEdit_ = new QLineEdit(column);
  nameEdit_->setReadOnly(true);
  typeList_ = new QListWidget(column);
  typeList_->setContextMenuPolicy(Qt::CustomContextMenu);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(nameEdit_);
  layout->addWidget(typeList_, 1);
  auto button = [&](const char* caption, auto slot) {
    auto* b = new QPushButton(QString::fromUtf8(caption), column);
    connect(b, &QPushButton::clicked, this, slot);
    layout->addWidget(b);
    return b;
  };
  button("新規作成(&N)", [this] { NewType(false); });
  button("コピー(&C)", [this] { NewType(true); });
  deleteButton_ = button("削除(&D)", [this] { DeleteType(); });
  upButton_ = button("↑", [this] { MoveType(-1); });
  downButton_ = button("↓", [this] { MoveType(1); });
  button("名前の変更(&R)", [this] { RenameType(); });
  button("新しい設定の読込", [this] { ImportType(); });
  connect(typeList_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (settingControls_ || row < 0) return;
    SelectType(row);
  });
  connect(typeList_, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (QListWidgetItem* item = typeList_->itemAt(at)) typeList_->setCurrentItem(item);
    QMenu menu(this);
    menu.addAction(QStringLiteral("ファイルからの読み込み(&L)..."), this, [this] { ImportType(); });
    menu.addAction(QStringLiteral("ファイルへの書き出し(&S)"), this, [this] { ExportType(); });
    menu.exec(typeList_->viewport()->mapToGlobal(at));
  });
  return column;
}

int TExtSetForm::Selected() const { return shown_ ? types_->IndexOf(*shown_) : -1; }

QString TExtSetForm::ProgramFolderText() const { return QString::fromStdString(ProgramFolder()); }

void TExtSetForm::FillTypeList() {
  settingControls_ = true;
  typeList_->clear();
  for (int i = 0; i < types_->Count(); ++i) typeList_->addItem(FromSjis(types_->Items(i).Name));
  settingControls_ = false;
}

void TExtSetForm::UpdateTypeButtons() {
  const TTypeListButtons b = TypeListButtonsFor(*types_, Selected());
  upButton_->setEnabled(b.Up);
  downButton_->setEnabled(b.Down);
  deleteButton_->setEnabled(b.Delete);
}

// Switching stores what the previous type shows; a value outside its limit keeps it shown.
void TExtSetForm::SelectType(int index) {
  if (index < 0 || index >= types_->Count()) return;
  if (shown_ && &types_->Items(index) != shown_ && !StoreControls()) {
    settingControls_ = true;
    typeList_->setCurrentRow(Selected());
    settingControls_ = false;
    return;
  }
  TFileSetting& type = types_->Items(index);
  try {
    types_->EnsureLoaded(type);
  } catch (const EVornError& e) {
    CenteredMessageDlg(QString::fromUtf8(e.what()), mtWarning, mbOK, false, this);
  }
  shown_ = &type;
  settingControls_ = true;
  typeList_->setCurrentRow(index);
  settingControls_ = false;
  ShowType(type);
  UpdateTypeButtons();
}

void TExtSetForm::AskName(const QString& initial, const std::function<void(const std::string&)>& use) {
  QString text = initial;
  while (TInputDialogForm::Execute(this, QStringLiteral("新しいファイルタイプの作成"),
                                   QStringLiteral("ファイルタイプの名前(&N)"), text)) {
    const std::string message = CheckNewTypeName(*types_, ToSjis(text));
    if (message.empty()) return use(ToSjis(text));
    CenteredMessageDlg(QString::fromStdString(message), mtWarning, mbOK, false, this);
  }
}

void TExtSetForm::NewType(bool copy) {
  if (!StoreControls()) return;
  AskName(copy && shown_ ? FromSjis(shown_->Name) : QString(), [this, copy](const std::string& name) {
    TFileSetting& added = types_->Add();
    if (copy && shown_) {
      const auto clone = shown_->Clone();
      added.Assign(*clone);
    }
    added.Name = name;
    FillTypeList();
    shown_ = nullptr;
    SelectType(types_->Count() - 1);
  });
}

void TExtSetForm::RenameType() {
  if (!shown_ || !StoreControls()) return;
  AskName(FromSjis(shown_->Name), [this](const std::string& name) {
    shown_->Name = name;
    typeList_->item(Selected())->setText(FromSjis(name));
    nameEdit_->setText(FromSjis(name));
  });
}

void TExtSetForm::DeleteType() {
  const int index = Selected();
  if (!TypeListButtonsFor(*types_, index).Delete) return;
  types_->Remove(index);
  shown_ = nullptr;  // its controls are not stored anywhere
  FillTypeList();
  SelectType(std::min(index, types_->Count() - 1));
}

void TExtSetForm::MoveType(int delta) {
  const int index = Selected();
  const TTypeListButtons b = TypeListButtonsFor(*types_, index);
  if ((delta < 0 && !b.Up) || (delta > 0 && !b.Down) || !StoreControls()) return;
  types_->Move(index, index + delta);
  FillTypeList();
  settingControls_ = true;
  typeList_->setCurrentRow(index + delta);
  settingControls_ = false;
  UpdateTypeButtons();
}

void TExtSetForm::ImportType() {
  if (!StoreControls()) return;
  const QString file =
      QFileDialog::getOpenFileName(this, QString(), QString::fromStdString(context_.Folders.Setting),
                                   QStringLiteral("設定ファイル(*.ini)"));
  if (file.isEmpty()) return;
  std::string path = file.toStdString();
  path = ChangeFileExt(path, ".ini");
  try {
    const int index = types_->Import(path);
    FillTypeList();
    SelectType(index);
  } catch (const EVornError& e) {
    CenteredMessageDlg(QString::fromUtf8(e.what()), mtWarning, mbOK, false, this);
  }
}

void TExtSetForm::ExportType() {
  if (!shown_ || !StoreControls()) return;
  try {
    types_->Export(Selected());
  } catch (const EVornError& e) {
    CenteredMessageDlg(QString::fromUtf8(e.what()), mtWarning, mbOK, false, this);
  }
}

QLineEdit* TExtSetForm::FieldByCaption(const QString& caption) const { return findChild<QLineEdit*>(caption); }

QCheckBox* TExtSetForm::CheckByCaption(const QString& caption) const {
  for (QCheckBox* c : findChildren<QCheckBox*>())
    if (c->text() == caption) return c;
  return nullptr;
}

QPushButton* TExtSetForm::ButtonByCaption(const QString& caption) const {
  for (QPushButton* b : findChildren<QPushButton*>())
    if (b->text() == caption) return b;
  return nullptr;
}

bool TExtSetForm::SaveAndClose() {
  if (!StoreControls()) return false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  bool saved = false;
  try {
    saved = guard_.Save(keepOthersSettings, [this] {
      if (context_.TypeHint.empty() && !context_.DocumentName.empty())
        types_->AssociateExtension(context_.DocumentName, *shown_);
      types_->Save();
    });
  } catch (const EVornError& e) {
    QApplication::restoreOverrideCursor();
    CenteredMessageDlg(QString::fromUtf8(e.what()), mtWarning, mbOK, false, this);
    return false;
  }
  QApplication::restoreOverrideCursor();
  return saved;
}

void TExtSetForm::accept() {
  if (SaveAndClose()) TVornNotHideForm::accept();
}

}  // namespace vorn
