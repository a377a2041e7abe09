// TGrepForm: the grep dialog, its stored state, the OK checks and the folder tree.
#include "dialogs/GrepForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "base/VornError.h"
#include "platform/VornUtil.h"
#include "settings/SjisText.h"
#include "settings/VornMemInifile.h"
#include "syntax/KeyWord.h"

namespace vorn {
namespace {

QString FromSjis(const std::string& sjis) { return QString::fromStdString(Utf8(sjis)); }
std::string ToSjis(const QString& text) { return Sjis(text.toStdString()); }

// A path enters the Shift_JIS histories only when it comes back unchanged: a damaged entry
// would later name a folder that does not exist.
bool StorablePath(const std::string& native) { return Utf8(Sjis(native)) == native; }

QStringList ListOf(const std::vector<std::string>& sjisEntries) {
  QStringList out;
  for (const std::string& e : sjisEntries) out << FromSjis(e);
  return out;
}

QString FolderOf(const std::string& documentPath) {
  if (documentPath.empty()) return QDir::currentPath();
  return QFileInfo(QString::fromStdString(documentPath)).absolutePath();
}

QComboBox* NewHistoryCombo(QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setMinimumContentsLength(40);
  return combo;
}

}  // namespace

TGrepForm::TGrepForm(std::string iniPath, std::string documentPath, QWidget* owner)
    : TVornNotHideForm(owner),
      iniPath_(std::move(iniPath)),
      documentPath_(std::move(documentPath)),
      condition_(std::make_unique<TGrepKeyWord>()) {
  BuildControls();
  const QString folder = FolderOf(documentPath_);
  setWindowTitle(QStringLiteral("GREP - \"") + folder + QStringLiteral("\""));
  pathCombo_->setEditText(folder);
  openFileCheck_->setEnabled(!documentPath_.empty());
  LoadState();
  UpdateInterplay();
}

TGrepForm::~TGrepForm() = default;

void TGrepForm::BuildControls() {
  keywordCombo_ = NewHistoryCombo(this);
  auto* keywordLabel = new QLabel(QStringLiteral("検索語(&S)"), this);
  keywordLabel->setBuddy(keywordCombo_);
  caseCheck_ = new QCheckBox(QStringLiteral("大文字/小文字の区別(&C)"), this);
  wordCheck_ = new QCheckBox(QStringLiteral("単語の検索(&W)"), this);
  useJreCheck_ = new QCheckBox(QStringLiteral("正規表現(&R)"), this);
  fuzzCheck_ = new QCheckBox(QStringLiteral("あいまい検索(&Z)"), this);
  relativePathCheck_ = new QCheckBox(QStringLiteral("相対パス(&L)"), this);
  onlyContentsCheck_ = new QCheckBox(QStringLiteral("マッチした行文字列のみ(&E)"), this);
  openFileCheck_ = new QCheckBox(QStringLiteral("開いているファイルに対して検索する(&F)"), this);

  folderGroup_ = new QWidget(this);
  maskCombo_ = NewHistoryCombo(folderGroup_);
  maskCombo_->setEditText(QStringLiteral("*.*"));
  maskCombo_->setToolTip(QStringLiteral("複数のパターンはセミコロンで区切る （例 *.c;*.h）"));
  auto* maskLabel = new QLabel(QStringLiteral("検索ファイルマスク(&M)"), folderGroup_);
  maskLabel->setBuddy(maskCombo_);
  subFolderCheck_ = new QCheckBox(QStringLiteral("サブフォルダも検索(&B)"), folderGroup_);
  enBinCheck_ = new QCheckBox(QStringLiteral("バイナリファイルも含める(&N)"), folderGroup_);
  usePrevPathHistCheck_ = new QCheckBox(QStringLiteral("前回のファイルマスクがデフォルト(&P)"), folderGroup_);
  usePrevPathHist2Check_ = new QCheckBox(QStringLiteral("前回の検索対象フォルダがデフォルト(&Q)"), folderGroup_);
  pathCombo_ = NewHistoryCombo(folderGroup_);
  auto* pathLabel = new QLabel(QStringLiteral("検索対象フォルダ(&T)"), folderGroup_);
  pathLabel->setBuddy(pathCombo_);
  treeButton_ = new QPushButton(QStringLiteral("検索対象フォルダツリー(&D)"), folderGroup_);
  upperDirButton_ = new QPushButton(QStringLiteral("↑(&U)"), folderGroup_);

  auto* options = new QGridLayout;
  options->addWidget(caseCheck_, 0, 0);
  options->addWidget(wordCheck_, 0, 1);
  options->addWidget(useJreCheck_, 1, 0);
  options->addWidget(fuzzCheck_, 1, 1);
  options->addWidget(relativePathCheck_, 2, 0);
  options->addWidget(onlyContentsCheck_, 2, 1);

  auto* folderGrid = new QGridLayout(folderGroup_);
  folderGrid->setContentsMargins(0, 0, 0, 0);
  folderGrid->addWidget(maskLabel, 0, 0);
  folderGrid->addWidget(maskCombo_, 0, 1, 1, 2);
  folderGrid->addWidget(subFolderCheck_, 1, 1);
  folderGrid->addWidget(enBinCheck_, 1, 2);
  folderGrid->addWidget(usePrevPathHistCheck_, 2, 1);
  folderGrid->addWidget(usePrevPathHist2Check_, 2, 2);
  folderGrid->addWidget(pathLabel, 3, 0);
  folderGrid->addWidget(pathCombo_, 3, 1, 1, 2);
  auto* folderButtons = new QHBoxLayout;
  folderButtons->addStretch();
  folderButtons->addWidget(treeButton_);
  folderButtons->addWidget(upperDirButton_);
  folderGrid->addLayout(folderButtons, 4, 0, 1, 3);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  buttons->addButton(QStringLiteral("ヘルプ(&H)"), QDialogButtonBox::HelpRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &TGrepForm::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TGrepForm::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [] { ShowHelp("GREP_Dlg.html"); });

  auto* layout = new QVBoxLayout(this);
  auto* keywordRow = new QHBoxLayout;
  keywordRow->addWidget(keywordLabel);
  keywordRow->addWidget(keywordCombo_, 1);
  layout->addLayout(keywordRow);
  layout->addLayout(options);
  layout->addWidget(openFileCheck_);
  layout->addWidget(folderGroup_);
  layout->addWidget(buttons);

  connect(openFileCheck_, &QCheckBox::toggled, this, [this] { UpdateInterplay(); });
  connect(onlyContentsCheck_, &QCheckBox::toggled, this, [this] { UpdateInterplay(); });
  // A regular expression is matched as written, so letter case is always told apart.
  connect(useJreCheck_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) caseCheck_->setChecked(true);
  });
  connect(treeButton_, &QPushButton::clicked, this, [this] { ShowFolderTree(); });
  connect(upperDirButton_, &QPushButton::clicked, this, [this] { GoUpOneFolder(); });
  connect(pathCombo_->lineEdit(), &QLineEdit::editingFinished, this,
          [this] { SelectTreeFolder(pathCombo_->currentText()); });
}

void TGrepForm::LoadState() {
  try {
    TVornMemInifile ini(iniPath_);
    state_.Load(ini, openFileCheck_->isEnabled());
  } catch (const EVornError& e) {  // an unreadable file: the dialog starts from its defaults
    CenteredMessageDlg(QString::fromUtf8(e.what()), mtError, mbOK, false, parentWidget());
  }
  caseCheck_->setChecked(state_.CaseSensitive);
  wordCheck_->setChecked(state_.Word);
  useJreCheck_->setChecked(state_.UseJre);
  fuzzCheck_->setChecked(state_.Fuzz);
  relativePathCheck_->setChecked(state_.RelativePath);
  onlyContentsCheck_->setChecked(state_.OnlyContents);
  subFolderCheck_->setChecked(state_.SubFolder);
  enBinCheck_->setChecked(state_.EnBin);
  usePrevPathHistCheck_->setChecked(state_.UsePrevPathHist);
  usePrevPathHist2Check_->setChecked(state_.UsePrevPathHist2);
  if (openFileCheck_->isEnabled()) openFileCheck_->setChecked(state_.OpenFileGrep);
  lastFolder_ = Utf8(state_.PrevGrepPath);

  const QString folder = pathCombo_->currentText();
  keywordCombo_->addItems(ListOf(state_.Keywords));
  keywordCombo_->setEditText(QString());
  maskCombo_->addItems(ListOf(state_.Masks));
  maskCombo_->setEditText(state_.UsePrevPathHist && !state_.Masks.empty() ? FromSjis(state_.Masks.front())
                                                                           : QStringLiteral("*.*"));
  pathCombo_->addItems(ListOf(state_.Folders));
  pathCombo_->setEditText(state_.UsePrevPathHist2 && !lastFolder_.empty() ? QString::fromStdString(lastFolder_)
                                                                           : folder);
}

void TGrepForm::SetSearchWord(const std::string& sjisWord) { keywordCombo_->setEditText(FromSjis(sjisWord)); }

void TGrepForm::SetPendingMask(const std::string& mask, bool keepDialogFolder) {
  if (!mask.empty()) maskCombo_->setEditText(QString::fromStdString(mask));
  if (keepDialogFolder) return;
  pathCombo_->setEditText(QDir::currentPath());
  SelectTreeFolder(QDir::currentPath());
  if (usePrevPathHist2Check_->isChecked()) usePrevPathHist2Check_->setEnabled(false);
}

void TGrepForm::UpdateInterplay() {
  const bool openFile = openFileCheck_->isEnabled() && openFileCheck_->isChecked();
  folderGroup_->setVisible(!openFile);
  if (tree_ && openFile) tree_->parentWidget()->setVisible(false);
  relativePathCheck_->setEnabled(!onlyContentsCheck_->isChecked());
}

void TGrepForm::ShowFolderTree() {
  if (!tree_) {
    auto* box = new QWidget(this);
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    treeRootCombo_ = new QComboBox(box);
    treeRootCombo_->addItem(QDir::homePath());
    treeRootCombo_->addItem(QStringLiteral("/"));
    treeModel_ = new QFileSystemModel(box);
    treeModel_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
    treeModel_->setRootPath(QStringLiteral("/"));
    tree_ = new QTreeView(box);
    tree_->setModel(treeModel_);
    for (int column = 1; column < treeModel_->columnCount(); ++column) tree_->hideColumn(column);
    tree_->setHeaderHidden(true);
    tree_->setMinimumHeight(200);
    boxLayout->addWidget(treeRootCombo_);
    boxLayout->addWidget(tree_);
    static_cast<QVBoxLayout*>(layout())->insertWidget(layout()->count() - 1, box);
    connect(treeRootCombo_, &QComboBox::currentTextChanged, this,
            [this](const QString& root) { tree_->setRootIndex(treeModel_->index(root)); });
    tree_->setRootIndex(treeModel_->index(treeRootCombo_->currentText()));
    // Folders are read in the background: the selected node is brought into view again once
    // the folders above it are listed.
    connect(treeModel_, &QFileSystemModel::directoryLoaded, this, [this] { ShowTreeTarget(); });
    connect(treeModel_, &QFileSystemModel::layoutChanged, this, [this] { ShowTreeTarget(); });
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& index) {
      treeTarget_.clear();
      if (index.isValid()) pathCombo_->setEditText(treeModel_->filePath(index));
    });
  }
  tree_->parentWidget()->setVisible(true);
  SelectTreeFolder(pathCombo_->currentText());
}

// The tree follows the folder box: the node of that folder is selected and shown, under the
// home root when the folder lies there, else under the file-system root.
void TGrepForm::SelectTreeFolder(const QString& folder) {
  if (!tree_ || folder.isEmpty()) return;
  const QString path = QDir::cleanPath(QDir(folder).absolutePath());
  const QString home = QDir::homePath();
  const bool underHome = path == home || path.startsWith(home + QLatin1Char('/'));
  QSignalBlocker blockRoot(treeRootCombo_);
  treeRootCombo_->setCurrentIndex(underHome ? 0 : 1);
  tree_->setRootIndex(treeModel_->index(treeRootCombo_->currentText()));
  treeTarget_ = path;
  ShowTreeTarget();
}

// Folders are read in the background: the node is selected and brought into view again each
// time more of them are listed, until the user picks a node.
void TGrepForm::ShowTreeTarget() {
  const QModelIndex index = treeTarget_.isEmpty() ? QModelIndex() : treeModel_->index(treeTarget_);
  if (!index.isValid()) return;
  QSignalBlocker blockSelection(tree_->selectionModel());
  tree_->setCurrentIndex(index);
  tree_->scrollTo(index);
}

void TGrepForm::GoUpOneFolder() {
  QDir dir(pathCombo_->currentText());
  if (!dir.cdUp()) return;
  pathCombo_->setEditText(dir.absolutePath());
  SelectTreeFolder(dir.absolutePath());
}

bool TGrepForm::CheckPattern() {
  if (keywordCombo_->currentText().isEmpty()) {
    CenteredMessageDlg(QStringLiteral("検索語が指定されていません"), mtWarning, mbOK, false, this);
    return false;
  }
  TGrepKeyWord trial;
  trial.SetPattern(ToSjis(keywordCombo_->currentText()));
  trial.SetIgnoreCase(!caseCheck_->isChecked());
  trial.SetWholeWord(wordCheck_->isChecked());
  trial.SetPlainText(!useJreCheck_->isChecked());
  trial.SetFuzzy(fuzzCheck_->isChecked());
  if (trial.Compile()) return true;
  CenteredMessageDlg(QStringLiteral("検索条件の指定が正しくありません。\r\n「") + FromSjis(trial.ErrorMessage()) +
                         QStringLiteral("」"),
                     mtWarning, mbOK, false, this);
  return false;
}

void TGrepForm::accept() {
  if (!CheckPattern()) return;
  const bool openFile = openFileCheck_->isEnabled() && openFileCheck_->isChecked();
  const QString mask = openFile ? QString::fromStdString(documentPath_)
                                : QString::fromStdString(CompleteGrepMask(maskCombo_->currentText().toStdString()));
  const QString folder = pathCombo_->currentText();
  PushGrepHistory(state_.Keywords, ToSjis(keywordCombo_->currentText()));
  if (StorablePath(mask.toStdString())) PushGrepHistory(state_.Masks, Sjis(mask.toStdString()));
  if (!openFile && StorablePath(folder.toStdString())) {
    PushGrepHistory(state_.Folders, Sjis(folder.toStdString()));
    lastFolder_ = folder.toStdString();
  }
  BuildCondition(mask, folder);
  TVornNotHideForm::accept();
}

// The mask is resolved against the folder chosen in the dialog. (Resolving it against the
// document's folder would search somewhere the user did not choose, and changing the
// process's current folder is not safe while other threads resolve paths.)
void TGrepForm::BuildCondition(const QString& mask, const QString& folder) {
  TGrepKeyWord& c = *condition_;
  const bool openFile = openFileCheck_->isEnabled() && openFileCheck_->isChecked();
  c.SetPattern(ToSjis(keywordCombo_->currentText()));
  c.SetIgnoreCase(!caseCheck_->isChecked());
  c.SetWholeWord(wordCheck_->isChecked());
  c.SetPlainText(!useJreCheck_->isChecked());
  c.SetFuzzy(fuzzCheck_->isChecked());
  c.SubFolders = !openFile && subFolderCheck_->isChecked();
  c.RelativePath = relativePathCheck_->isChecked();
  c.BaseFolder = openFile ? FolderOf(documentPath_).toStdString() : QDir(folder).absolutePath().toStdString();
  c.IncludeBinary = enBinCheck_->isChecked() || openFile;
  c.MatchedTextOnly = onlyContentsCheck_->isChecked();
  c.DetectCode = true;
  c.FileMask = mask.toStdString();
  c.Compile();
}

void TGrepForm::SaveState() {
  state_.CaseSensitive = caseCheck_->isChecked();
  state_.Word = wordCheck_->isChecked();
  state_.UseJre = useJreCheck_->isChecked();
  state_.Fuzz = fuzzCheck_->isChecked();
  state_.RelativePath = relativePathCheck_->isChecked();
  state_.OnlyContents = onlyContentsCheck_->isChecked();
  state_.SubFolder = subFolderCheck_->isChecked();
  state_.EnBin = enBinCheck_->isChecked();
  state_.UsePrevPathHist = usePrevPathHistCheck_->isChecked();
  state_.UsePrevPathHist2 = usePrevPathHist2Check_->isChecked();
  state_.OpenFileGrep = openFileCheck_->isChecked();
  state_.PrevGrepPath = StorablePath(lastFolder_) ? Sjis(lastFolder_) : std::string();
  // The dialog's answer stands even when its settings cannot be kept; the user is told.
  try {
    TVornMemInifile ini(iniPath_);
    state_.Save(ini, openFileCheck_->isEnabled());
    ini.UpdateFile();
  } catch (const EVornError& e) {
    CenteredMessageDlg(QString::fromUtf8(e.what()), mtError, mbOK, false, this);
  }
}

void TGrepForm::done(int result) {
  SaveState();
  TVornNotHideForm::done(result);
}

}  // namespace vorn
