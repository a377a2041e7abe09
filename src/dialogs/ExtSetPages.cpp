// TExtSetForm's pages: their controls, the values shown and stored, the enable rules, and the
// colour, keyword, comment and association page operations.
#include "dialogs/ExtSetForm.h"

#include "base/VornError.h"
#include "dialogs/ColorSetListBox.h"
#include "dialogs/InputDialogForm.h"
#include "dialogs/KeyWordPropForm.h"
#include "editor/EditMetrics.h"
#include "editor/PaintPalette.h"
#include "platform/AtomicFile.h"
#include "platform/FileBytes.h"
#include "platform/ProcessStart.h"
#include "platform/VornUtil.h"
#include "settings/ColorSet.h"
#include "settings/SjisText.h"
#include "shellcore/FileAssociation.h"
#include "syntax/KeyWordFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeDatabase>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace vorn {
namespace {

QString FromSjis(const std::string& s) { return QString::fromStdString(Utf8(s)); }
std::string ToSjis(const QString& s) { return Sjis(s.toStdString()); }

QWidget* NewPage(QWidget* parent, QVBoxLayout*& layout) {
  auto* page = new QWidget(parent);
  layout = new QVBoxLayout(page);
  return page;
}

QString MethodText(const TKeyWord& k) {
  if (!k.PlainText()) return QStringLiteral("正規表現");
  QString text = k.IgnoreCase() ? QStringLiteral("No Case ") : QStringLiteral("Case ");
  if (k.WholeWord()) text += QStringLiteral("単語");
  return text;
}

QString ColorNameText(const TVornEditColors& colors, int entry) {
  return entry >= 0 && entry < colors.Count() ? FromSjis(colors[entry].Name()) : QStringLiteral("指定なし");
}

void PaintSwatch(QLabel* label, unsigned color) {
  bool clear = false;
  const QColor c = ToQColor(color, label->palette(), &clear);
  label->setStyleSheet(QStringLiteral("background:%1;border:1px solid gray").arg(c.name()));
}

// The font names are measured when the user first reaches the list rather than when the
// dialog opens: the first measuring of a process loads every Japanese font file, which would
// take about half of the dialog's first paint. Until then the list holds the shown fonts.
class TFontNameCombo : public QComboBox {
public:
  using QComboBox::QComboBox;
  std::function<QStringList()> families;

  void showPopup() override {
    Fill();
    QComboBox::showPopup();
  }

protected:
  void focusInEvent(QFocusEvent* e) override {
    Fill();
    QComboBox::focusInEvent(e);
  }
  void wheelEvent(QWheelEvent* e) override {
    Fill();
    QComboBox::wheelEvent(e);
  }

private:
  void Fill() {
    if (!families) return;
    const QStringList all = std::exchange(families, nullptr)();
    const QString shown = currentText();
    const QSignalBlocker quiet(this);
    QStringList names = all;
    for (int i = 0; i < count(); ++i)
      if (!names.contains(itemText(i))) names.push_back(itemText(i));
    clear();
    addItems(names);
    setCurrentIndex(findText(shown));
  }
};

}  // namespace

QCheckBox* TExtSetForm::Check(QWidget* parent, const char* caption, bool TFileTypeValues::*field) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
  checks_.push_back({box, field});
  connect(box, &QCheckBox::toggled, this, [this] { UpdateDependencies(); });
  return box;
}

QLineEdit* TExtSetForm::Number(QWidget* parent, int TFileTypeValues::*field, const TFieldLimit& limit, int page) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromUtf8(limit.Caption));
  edit->setMaximumWidth(80);
  numbers_.push_back({edit, field, &limit, page});
  return edit;
}

QWidget* TExtSetForm::BuildDisplayPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  auto* form = new QFormLayout;
  auto* fontName = new TFontNameCombo(page);
  fontName->families = [] { return FixedPitchFamilies(); };
  fontName_ = fontName;
  fontName_->setObjectName(QStringLiteral("フォント"));
  fontSize_ = new QComboBox(page);
  fontSize_->setEditable(true);
  fontSize_->lineEdit()->setObjectName(QStringLiteral("フォントサイズ"));
  connect(fontName_, &QComboBox::currentTextChanged, this, [this] { FillFontSizes(); });
  form->addRow(QStringLiteral("フォント(&N)"), fontName_);
  form->addRow(QStringLiteral("サイズ(&Z)"), fontSize_);
  form->addRow(QStringLiteral("タブ幅(&T)"), Number(page, &TFileTypeValues::TabCol, kTabWidthLimit, 0));
  form->addRow(QStringLiteral("行間(&G)"), Number(page, &TFileTypeValues::LineOffset, kLineOffsetLimit, 0));
  form->addRow(QStringLiteral("文字間(&K)"), Number(page, &TFileTypeValues::CharOffset, kCharOffsetLimit, 0));
  v->addLayout(form);
  auto* wrap = new QHBoxLayout;
  wrap->addWidget(Check(page, "長い行の折り返し(&P)", &TFileTypeValues::WordWrap));
  wrap->addWidget(Number(page, &TFileTypeValues::WordBytes, kWrapColumnsLimit, 0));
  wrap->addWidget(new QLabel(QStringLiteral("桁"), page));
  wrap->addStretch(1);
  v->addLayout(wrap);
  auto* window = new QGroupBox(QStringLiteral("ウィンドウ"), page);
  auto* grid = new QGridLayout(window);
  standardSize_ = new QRadioButton(QStringLiteral("標準(&S)"), window);
  fixedSize_ = new QRadioButton(QStringLiteral("サイズを固定する(&F)"), window);
  connect(fixedSize_, &QRadioButton::toggled, this, [this] { UpdateDependencies(); });
  grid->addWidget(standardSize_, 0, 0);
  grid->addWidget(fixedSize_, 1, 0);
  grid->addWidget(new QLabel(QStringLiteral("幅"), window), 1, 1);
  grid->addWidget(Number(window, &TFileTypeValues::FixWindowCol, kFixColLimit, 0), 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("高さ"), window), 1, 3);
  grid->addWidget(Number(window, &TFileTypeValues::FixWindowRow, kFixRowLimit, 0), 1, 4);
  grid->addWidget(Check(window, "位置を固定する(&P)", &TFileTypeValues::PositionFix), 2, 0);
  rememberPosition_ = new QPushButton(QStringLiteral("位置の記憶"), window);
  connect(rememberPosition_, &QPushButton::clicked, this, [this] {
    try {
      if (context_.rememberPosition) context_.rememberPosition();
    } catch (const EVornError& e) {
      CenteredMessageDlg(QString::fromUtf8(e.what()), mtWarning, mbOK, false, this);
    }
  });
  grid->addWidget(rememberPosition_, 2, 1, 1, 4);
  v->addWidget(window);
  v->addWidget(Check(page, "縦スクロールバー(&V)", &TFileTypeValues::VerticalScroll));
  v->addWidget(Check(page, "横スクロールバー(&H)", &TFileTypeValues::HorizontalScroll));
  v->addStretch(1);
  return page;
}

QWidget* TExtSetForm::BuildOutlinePage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  auto* grid = new QGridLayout;
  const std::pair<const char*, bool TFileTypeValues::*> boxes[] = {
      {"垂直ルーラ（行番号表示）(&X)", &TFileTypeValues::VerticalRuler},
      {"レイアウト行番号(&L)", &TFileTypeValues::PhysicalLineNum},
      {"左マージンに縦線を描く(&T)", &TFileTypeValues::LeftMarginLine},
      {"水平ルーラ(&R)", &TFileTypeValues::HorizontalRuler},
      {"改行マーク(&E)", &TFileTypeValues::RetVisible},
      {"EOFマーク(&O)", &TFileTypeValues::EOFVisible},
      {"タブ(&B)", &TFileTypeValues::TabVisible},
      {"全角空白(&W)", &TFileTypeValues::WSpaceVisible},
      {"半角空白(&S)", &TFileTypeValues::SpaceVisible},
      {"URL(&H)", &TFileTypeValues::UrlVisible},
      {"メールアドレス(&M)", &TFileTypeValues::EMailVisible},
      {"ファイル名(&F)", &TFileTypeValues::FileVisible},
  };
  int row = 0;
  for (const auto& [caption, field] : boxes) {
    grid->addWidget(Check(page, caption, field), row / 2, row % 2);
    ++row;
  }
  v->addLayout(grid);
  auto* line = new QHBoxLayout;
  line->addWidget(Check(page, "カーソル行に下線をひく(&U)", &TFileTypeValues::Underline));
  underlineColor_ = new QLabel(page);
  underlineColor_->setFixedSize(40, 18);
  auto* change = new QPushButton(QStringLiteral("変更...(&K)"), page);
  change->setObjectName(QStringLiteral("UnderlineColorButton"));
  connect(change, &QPushButton::clicked, this, [this] {
    const QColor c = QColorDialog::getColor(ToQColor(underlineValue_, palette()), this);
    if (c.isValid()) PaintSwatch(underlineColor_, underlineValue_ = static_cast<unsigned>(c.red() | c.green() << 8 | c.blue() << 16));
  });
  line->addWidget(underlineColor_);
  line->addWidget(change);
  line->addStretch(1);
  v->addLayout(line);
  v->addStretch(1);
  return page;
}

QWidget* TExtSetForm::BuildInputPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  v->addWidget(Check(page, "フリーカーソル(&F)", &TFileTypeValues::FreeCaret));
  v->addWidget(Check(page, "オートインデント(&A)", &TFileTypeValues::AutoIndent));
  v->addWidget(Check(page, "全角空白もインデントとみなす(&W)", &TFileTypeValues::WSpaceIndent));
  v->addWidget(Check(page, "空白をインデントとみなさない(&S)", &TFileTypeValues::SpaceIndent));
  v->addWidget(Check(page, "インデントは、半角スペースで行う(&B)", &TFileTypeValues::IndentWithSpace));
  v->addWidget(Check(page, "インデント幅はタブ幅と同じ(&M)", &TFileTypeValues::IndentWidthEqTabWidth));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("インデント幅(&I)"), Number(page, &TFileTypeValues::IndentWidth, kIndentWidthLimit, 2));
  v->addLayout(form);
  v->addWidget(Check(page, "IMEを自動でオンにする(&J)", &TFileTypeValues::ImeEnable));
  v->addStretch(1);
  return page;
}

QWidget* TExtSetForm::BuildSeikeiPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("整形文字数(&C)"), Number(page, &TFileTypeValues::SeikeiWrapCount, kSeikeiWidthLimit, 3));
  v->addLayout(form);
  v->addWidget(Check(page, "自動整形(&A)", &TFileTypeValues::SeikeiAutoTrigger));
  autoTriggerStr_ = new QLineEdit(page);
  autoTriggerStr_->setObjectName(QStringLiteral("自動整形文字"));
  v->addWidget(autoTriggerStr_);
  auto* line = new QHBoxLayout;
  line->addWidget(Check(page, "自動整形桁に縦線を入れる(&V)", &TFileTypeValues::SeikeiVLine));
  vlineColor_ = new QLabel(page);
  vlineColor_->setFixedSize(40, 18);
  auto* change = new QPushButton(QStringLiteral("変更...(&K)"), page);
  change->setObjectName(QStringLiteral("VLineColorButton"));
  connect(change, &QPushButton::clicked, this, [this] {
    const QColor c = QColorDialog::getColor(ToQColor(vlineValue_, palette()), this);
    if (c.isValid()) PaintSwatch(vlineColor_, vlineValue_ = static_cast<unsigned>(c.red() | c.green() << 8 | c.blue() << 16));
  });
  line->addWidget(vlineColor_);
  line->addWidget(change);
  line->addStretch(1);
  v->addLayout(line);
  v->addWidget(Check(page, "コメント整形のみ(&L)", &TFileTypeValues::SeikeiCommentOnly));
  v->addStretch(1);
  return page;
}

QWidget* TExtSetForm::BuildSavePage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  v->addWidget(Check(page, "タブをスペースに変換して保存する(&T)", &TFileTypeValues::ExpandTab));
  v->addWidget(Check(page, "全角空白を半角スペース２つに変換して保存する(&Z)", &TFileTypeValues::ExpandWSpace));
  v->addWidget(Check(page, "保存時に行末の空白やタブを削除する(&V)", &TFileTypeValues::TrimRight));
  v->addWidget(Check(page, "全角空白も削除する(&W)", &TFileTypeValues::TrimRightWSpace));
  v->addWidget(Check(page, "バックアップファイルを作成する(&B)", &TFileTypeValues::BackupCreate));
  v->addWidget(Check(page, "保存時にアンドゥバッファをクリアする(&U)", &TFileTypeValues::ClearUndoAtSave));
  v->addWidget(Check(page, "ファイル履歴に追加しない(&H)", &TFileTypeValues::NotAddFileHist));
  v->addWidget(Check(page, "保存後は保存ボタンを無効にする(&D)", &TFileTypeValues::SaveDisableAfterSave));
  auto* form = new QFormLayout;
  extMacroPath_ = new QLineEdit(page);
  extMacroPath_->setObjectName(QStringLiteral("外部マクロのフォルダ"));
  form->addRow(QStringLiteral("外部マクロのフォルダ(&M)"), extMacroPath_);
  v->addLayout(form);
  v->addStretch(1);
  return page;
}

QWidget* TExtSetForm::BuildColorPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  auto* row = new QHBoxLayout;
  colorList_ = new TColorSetListBox(page);
  row->addWidget(colorList_, 1);
  auto* side = new QVBoxLayout;
  auto add = [&](QWidget* w) { side->addWidget(w); return w; };
  auto button = [&](const char* caption, auto slot) {
    auto* b = new QPushButton(QString::fromUtf8(caption), page);
    connect(b, &QPushButton::clicked, this, slot);
    return add(b);
  };
  button("文字色(&F)...", [this] { ChooseColor(true); });
  auto* textClear = static_cast<QCheckBox*>(add(new QCheckBox(QStringLiteral("透過(&M)"), page)));
  button("背景色(&B)...", [this] { ChooseColor(false); });
  auto* backClear = static_cast<QCheckBox*>(add(new QCheckBox(QStringLiteral("透過(&P)"), page)));
  QCheckBox* styles[4];
  const char* styleCaptions[] = {"ボールド(&Z)", "斜体(&I)", "アンダーライン(&U)", "取消線(&S)"};
  for (int i = 0; i < 4; ++i) styles[i] = static_cast<QCheckBox*>(add(new QCheckBox(QString::fromUtf8(styleCaptions[i]), page)));
  colorSample_ = new QLabel(page);
  colorSample_->setMinimumSize(160, 28);
  add(colorSample_);
  button("リセット(&Y)", [this] {
    if (colorList_->SelectedEntry() < 0) return;
    ResetColorEntry(colorList_->Colors(), colorList_->SelectedEntry());
    UpdateColorControls();
  });
  button("すべてリセット(&E)", [this] {
    ResetListedColors(colorList_->Colors());
    UpdateColorControls();
  });
  button("背景色の統一(&G)", [this] {
    UnifyBackgrounds(colorList_->Colors());
    UpdateColorControls();
  });
  button("色設定の保存(&V)...", [this] { SaveColorSet(); });
  button("色設定の読み込み(&Q)...", [this] { LoadColorSet(); });
  side->addStretch(1);
  row->addLayout(side);
  v->addLayout(row);
  connect(colorList_, &QListWidget::currentRowChanged, this, [this] { UpdateColorControls(); });
  connect(textClear, &QCheckBox::clicked, this, [this](bool on) {
    if (settingControls_ || colorList_->SelectedEntry() < 0) return;
    SetTextTransparent(colorList_->Colors(), colorList_->SelectedEntry(), on);
    UpdateColorControls();
  });
  connect(backClear, &QCheckBox::clicked, this, [this](bool on) {
    if (settingControls_ || colorList_->SelectedEntry() < 0) return;
    SetBackTransparent(colorList_->Colors(), colorList_->SelectedEntry(), on);
    UpdateColorControls();
  });
  for (QCheckBox* s : styles)
    connect(s, &QCheckBox::clicked, this, [this, styles] {
      if (settingControls_ || colorList_->SelectedEntry() < 0) return;
      const TFontStyles style = (styles[0]->isChecked() ? fsBold : 0) | (styles[1]->isChecked() ? fsItalic : 0) |
                                (styles[2]->isChecked() ? fsUnderline : 0) | (styles[3]->isChecked() ? fsStrikeOut : 0);
      colorList_->Colors()[colorList_->SelectedEntry()].SetStyle(style);
      UpdateColorControls();
    });
  return page;
}

void TExtSetForm::UpdateColorControls() {
  colorList_->Refresh();
  const int entry = colorList_->SelectedEntry();
  if (entry < 0) return;
  const TColorPageState s = ColorPageStateOf(colorList_->Colors(), entry);
  settingControls_ = true;
  auto set = [this](const char* caption, bool enabled, int checked) {
    for (QAbstractButton* b : pages_->widget(5)->findChildren<QAbstractButton*>())
      if (b->text() == QString::fromUtf8(caption)) {
        b->setEnabled(enabled);
        if (checked >= 0) b->setChecked(checked != 0);
      }
  };
  set("文字色(&F)...", s.TextColorEnabled, -1);
  set("透過(&M)", s.TextClearEnabled, s.TextClearChecked);
  set("背景色(&B)...", s.BackColorEnabled, -1);
  set("透過(&P)", s.BackClearEnabled, s.BackClearChecked);
  set("ボールド(&Z)", s.BoldEnabled, s.BoldChecked);
  set("斜体(&I)", s.ItalicEnabled, s.ItalicChecked);
  set("アンダーライン(&U)", s.UnderlineEnabled, s.UnderlineChecked);
  set("取消線(&S)", s.StrikeOutEnabled, s.StrikeOutChecked);
  settingControls_ = false;
  // The sample through the row painter, as the editor will draw it.
  TColorSamplePainter painter(DefaultEditFont());
  painter.SetColors(colorList_->Colors(), palette());
  QPixmap pixmap(colorSample_->size());
  QPainter p(&pixmap);
  painter.Paint(p, pixmap.rect(), Sjis("Aaアｱあぁ亜阿"), entry, 4);
  p.end();
  colorSample_->setPixmap(pixmap);
}

void TExtSetForm::ChooseColor(bool text) {
  const int entry = colorList_->SelectedEntry();
  if (entry < 0) return;
  TVornEditColor& c = colorList_->Colors()[entry];
  const QColor chosen = QColorDialog::getColor(ToQColor(text ? c.Color() : c.BkColor(), palette()), this);
  if (!chosen.isValid()) return;
  const TColor value = static_cast<TColor>(chosen.red() | chosen.green() << 8 | chosen.blue() << 16);
  if (text) c.SetColor(value);
  else c.SetBkColor(value);
  UpdateColorControls();
}

// A save dialog in the program folder that asks before it replaces a file, in the dialog's words.
QString TExtSetForm::AskSaveName(const QString& filters, const QString& suffix) {
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDirectory(ProgramFolderText());
  dialog.setNameFilters(filters.split(QStringLiteral(";;")));
  dialog.setDefaultSuffix(suffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString file = dialog.selectedFiles().front();
  if (IsRegularFile(file.toStdString()) &&
      CenteredMessageDlg(QString::fromStdString(OverwriteQuestion(file.toStdString())), mtConfirmation,
                         mbOK | mbCancel, false, this) != mrOk)
    return {};
  return file;
}

void TExtSetForm::SaveColorSet() {
  const QString file = askSaveName(QStringLiteral("色設定ファイル(*.cdt);;すべてのファイル(*)"), QStringLiteral("cdt"));
  if (file.isEmpty()) return;
  try {
    WriteFileAtomicallyOrThrow(file.toStdString(), ColorSetFileText(colorList_->Colors()));
  } catch (const EVornError& e) {
    CenteredMessageDlg(QString::fromUtf8(e.what()), mtWarning, mbOK, false, this);
  }
}

void TExtSetForm::LoadColorSet() {
  const QString file = QFileDialog::getOpenFileName(this, QString(), ProgramFolderText(),
                                                    QStringLiteral("色設定ファイル(*.cdt);;すべてのファイル(*)"));
  if (file.isEmpty()) return;
  try {
    const TByteBuffer bytes = ReadFileBytes(file.toStdString());
    LoadColorSetFile(std::string_view(bytes.Data(), bytes.Size()), colorList_->Colors());
  } catch (const EVornError& e) {
    CenteredMessageDlg(QString::fromUtf8(e.what()), mtWarning, mbOK, false, this);
  }
  colorList_->setCurrentRow(0);
  UpdateColorControls();
}

QWidget* TExtSetForm::BuildKeywordPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  keywordView_ = new QTreeWidget(page);
  keywordView_->setObjectName(QStringLiteral("KWListView"));
  keywordView_->setHeaderLabels({QStringLiteral("検索語"), QStringLiteral("検索方法"), QStringLiteral("表示方法")});
  keywordView_->setRootIsDecorated(false);
  keywordView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  keywordView_->setUniformRowHeights(true);
  samplePainter_ = std::make_shared<TColorSamplePainter>(keywordView_->font());
  keywordView_->setItemDelegateForColumn(0, new TColorRowDelegate(samplePainter_, 2, keywordView_));
  auto* row = new QHBoxLayout;
  row->addWidget(keywordView_, 1);
  auto* side = new QVBoxLayout;
  auto button = [&](const char* caption, auto slot) {
    auto* b = new QPushButton(QString::fromUtf8(caption), page);
    connect(b, &QPushButton::clicked, this, slot);
    side->addWidget(b);
    return b;
  };
  button("追加(&M)...", [this] { EditKeyword(-1); });
  button("編集(&P)...", [this] {
    const auto sel = keywordView_->selectedItems();
    if (sel.size() == 1) EditKeyword(keywordView_->indexOfTopLevelItem(sel.front()));
  });
  button("↑(&U)", [this] { MoveKeywords(bmUp); });
  button("先頭へ(&E)", [this] { MoveKeywords(bmTop); });
  button("↓(&B)", [this] { MoveKeywords(bmDown); });
  button("最下位へ(&F)", [this] { MoveKeywords(bmBottom); });
  button("削除(&Q)", [this] {
    if (!shown_) return;
    for (int i = keywordView_->topLevelItemCount() - 1; i >= 0; --i)
      if (keywordView_->topLevelItem(i)->isSelected()) shown_->Keywords().Delete(i);
    FillKeywords();
  });
  button("全削除(&Z)", [this] {
    if (!shown_) return;
    shown_->Keywords().Clear();
    FillKeywords();
  });
  auto* redraw = button("再描画(&V)", [this] {
    keywordsSorted_ = false;
    FillKeywords();
  });
  redraw->setEnabled(false);
  button("保存(&S)...", [this] { SaveKeywordFile(); });
  button("読込(&Y)...", [this] { LoadKeywordFile(); });
  side->addStretch(1);
  row->addLayout(side);
  v->addLayout(row, 1);
  v->addWidget(new QLabel(QStringLiteral("上位のキーワードの強調が優先されます"), page));
  v->addWidget(Check(page, "キーワードの強調表示(&K)", &TFileTypeValues::KeyWordStrong));
  connect(keywordView_, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateKeywordButtons(); });
  connect(keywordView_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { EditKeyword(keywordView_->indexOfTopLevelItem(item)); });
  connect(keywordView_->header(), &QHeaderView::sectionClicked, this, [this] {
    keywordView_->sortItems(0, Qt::AscendingOrder);
    keywordsSorted_ = true;
    UpdateKeywordButtons();
  });
  return page;
}

void TExtSetForm::FillKeywords() {
  keywordView_->clear();
  if (!shown_) return;
  samplePainter_->SetColors(colorList_->Colors(), keywordView_->palette());
  const TKeyWordList& list = shown_->Keywords();
  QList<QTreeWidgetItem*> items;
  items.reserve(list.Count());
  for (int i = 0; i < list.Count(); ++i) {
    const TKeyWord& k = list.Items(i);
    auto* item = new QTreeWidgetItem({FromSjis(k.Pattern()), MethodText(k), ColorNameText(colorList_->Colors(), k.ColorIndex())});
    const int entry = k.ColorIndex() >= 0 && k.ColorIndex() < TPaintPalette::kEntries ? k.ColorIndex() : 0;
    item->setData(0, TColorRowDelegate::EntryRole, entry);
    item->setData(0, TColorRowDelegate::SjisTextRole, QByteArray::fromStdString(k.Pattern()));
    item->setData(1, Qt::UserRole, i);
    items.push_back(item);
  }
  keywordView_->addTopLevelItems(items);
  UpdateKeywordButtons();
}

void TExtSetForm::UpdateKeywordButtons() {
  const int selected = static_cast<int>(keywordView_->selectedItems().size());
  const bool movable = selected > 0 && !keywordsSorted_;
  QWidget* page = pages_->widget(6);
  auto enable = [page](const char* caption, bool on) {
    for (QPushButton* b : page->findChildren<QPushButton*>())
      if (b->text() == QString::fromUtf8(caption)) b->setEnabled(on);
  };
  for (const char* c : {"↑(&U)", "先頭へ(&E)", "↓(&B)", "最下位へ(&F)"}) enable(c, movable);
  enable("編集(&P)...", selected == 1);
  enable("削除(&Q)", selected > 0 && !keywordsSorted_);
  enable("全削除(&Z)", keywordView_->topLevelItemCount() > 0);
  enable("再描画(&V)", keywordsSorted_);
}

void TExtSetForm::EditKeyword(int row) {
  if (!shown_) return;
  TKeyWordPropForm form(&colorList_->Colors(), this);
  if (row >= 0) form.SetKeyWord(shown_->Keywords().Items(row));
  if (form.exec() != QDialog::Accepted) return;
  TKeyWord& target = row >= 0 ? shown_->Keywords().Items(row) : shown_->Keywords().Add();
  target.Assign(form.KeyWord());
  FillKeywords();
  const int at = row >= 0 ? row : keywordView_->topLevelItemCount() - 1;
  keywordView_->clearSelection();
  if (QTreeWidgetItem* item = keywordView_->topLevelItem(at)) {
    item->setSelected(true);
    keywordView_->scrollToItem(item);
  }
}

void TExtSetForm::MoveKeywords(int move) {
  if (!shown_ || keywordsSorted_) return;
  std::vector<bool> selected;
  for (int i = 0; i < keywordView_->topLevelItemCount(); ++i) selected.push_back(keywordView_->topLevelItem(i)->isSelected());
  const std::vector<int> order = MoveSelectedBlock(selected, static_cast<TBlockMove>(move));
  const auto copy = shown_->Keywords().Clone();
  TKeyWordList& list = shown_->Keywords();
  list.Clear();
  for (int old : order) list.Add().Assign(copy->Items(old));
  FillKeywords();
  QTreeWidgetItem* last = nullptr;
  for (std::size_t i = 0; i < order.size(); ++i)
    if (selected[static_cast<std::size_t>(order[i])]) {
      last = keywordView_->topLevelItem(static_cast<int>(i));
      last->setSelected(true);
    }
  if (last) keywordView_->scrollToItem(last);
}

void TExtSetForm::LoadKeywordFile() {
  if (!shown_ || !StoreControls()) return;
  const QString file = QFileDialog::getOpenFileName(this, QString(), ProgramFolderText(),
                                                    QStringLiteral("キーワードファイル(*.hil);;すべてのファイル(*)"));
  if (file.isEmpty()) return;
  const std::string message = LoadKeyWordFileInto(file.toStdString(), *shown_);
  if (!message.empty()) CenteredMessageDlg(QString::fromStdString(message), mtWarning, mbOK, false, this);
  ShowType(*shown_);
}

void TExtSetForm::SaveKeywordFile() {
  if (!shown_) return;
  if (CenteredMessageDlg(QString::fromUtf8(KeywordSaveQuestion()), mtConfirmation, mbOK | mbCancel, false, this) != mrOk)
    return;
  const QString file =
      askSaveName(QStringLiteral("キーワードファイル(*.hil);;すべてのファイル(*)"), QStringLiteral("hil"));
  if (file.isEmpty()) return;
  try {
    WriteFileAtomicallyOrThrow(file.toStdString(),
                               SaveKeyWordFile({shown_->Keywords(), shown_->Quotation, shown_->QuotationCanceler,
                                                shown_->Commenter(), shown_->Brackets()}));
  } catch (const EVornError& e) {
    CenteredMessageDlg(QString::fromUtf8(e.what()), mtWarning, mbOK, false, this);
  }
}

QWidget* TExtSetForm::BuildCommentPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  auto* start = new QHBoxLayout;
  commentStart_ = new QLineEdit(page);
  commentStart_->setReadOnly(true);
  commentStart_->setObjectName(QStringLiteral("コメント先頭識別子"));
  auto* set = new QPushButton(QStringLiteral("設定(&K)"), page);
  connect(set, &QPushButton::clicked, this, [this] {
    if (!shown_) return;
    TKeyWordPropForm form(nullptr, this);
    form.SetAllowEmpty(true);
    TKeyWord k;
    k.Assign(shown_->Commenter());
    form.SetKeyWord(k);
    if (form.exec() != QDialog::Accepted) return;
    shown_->Commenter().Assign(form.KeyWord());
    commentStart_->setText(FromSjis(shown_->Commenter().Pattern()));
  });
  start->addWidget(new QLabel(QStringLiteral("コメント先頭識別子(&S)"), page));
  start->addWidget(commentStart_, 1);
  start->addWidget(set);
  v->addLayout(start);
  auto* quotes = new QGroupBox(QStringLiteral("文字列の設定"), page);
  auto* grid = new QGridLayout(quotes);
  grid->addWidget(new QLabel(QStringLiteral("引用符"), quotes), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("エスケープ文字"), quotes), 0, 2);
  for (int i = 0; i < 4; ++i) {
    auto* q = new QLineEdit(quotes);
    auto* e = new QLineEdit(quotes);
    for (QLineEdit* field : {q, e}) {
      field->setMaximumWidth(40);
      connect(field, &QLineEdit::textEdited, this, [field](const QString& t) {
        const std::string kept = KeepLastByte(ToSjis(t));
        if (kept != ToSjis(t)) field->setText(FromSjis(kept));
      });
    }
    grid->addWidget(new QLabel(QString::number(i + 1), quotes), i + 1, 0);
    grid->addWidget(q, i + 1, 1);
    grid->addWidget(e, i + 1, 2);
    quoteRows_.emplace_back(q, e);
  }
  v->addWidget(quotes);
  auto* sets = new QGroupBox(QStringLiteral("コメントセット文字列 (/*～*/など)"), page);
  auto* row = new QHBoxLayout(sets);
  bracketList_ = new QListWidget(sets);
  bracketPainter_ = std::make_shared<TColorSamplePainter>(bracketList_->font());
  bracketList_->setItemDelegate(new TColorRowDelegate(bracketPainter_, 5, bracketList_));
  row->addWidget(bracketList_, 1);
  auto* side = new QVBoxLayout;
  auto button = [&](const char* caption, auto slot) {
    auto* b = new QPushButton(QString::fromUtf8(caption), sets);
    connect(b, &QPushButton::clicked, this, slot);
    side->addWidget(b);
    return b;
  };
  button("作成(&M)...", [this] { EditBracket(-1); });
  button("編集(&P)...", [this] { EditBracket(bracketList_->currentRow()); });
  button("削除(&E)", [this] {
    if (!shown_ || bracketList_->currentRow() < 0) return;
    shown_->Brackets().Delete(bracketList_->currentRow());
    FillBrackets();
  });
  button("↑(&U)", [this] { MoveBracket(-1); });
  button("↓(&Z)", [this] { MoveBracket(1); });
  side->addStretch(1);
  row->addLayout(side);
  v->addWidget(sets, 1);
  connect(bracketList_, &QListWidget::itemDoubleClicked, this, [this] { EditBracket(bracketList_->currentRow()); });
  return page;
}

void TExtSetForm::FillBrackets() {
  const int keep = bracketList_->currentRow();
  bracketList_->clear();
  if (!shown_) return;
  bracketPainter_->SetColors(colorList_->Colors(), bracketList_->palette());
  for (int i = 0; i < shown_->Brackets().Count(); ++i) {
    const TBracket& b = shown_->Brackets().Items(i);
    const std::string text = b.LeftBracket().Pattern() + " .... " + b.RightBracket().Pattern();
    auto* item = new QListWidgetItem(FromSjis(text), bracketList_);
    item->setData(TColorRowDelegate::EntryRole, std::clamp(b.ColorIndex(), 0, TPaintPalette::kEntries - 1));
    item->setData(TColorRowDelegate::SjisTextRole, QByteArray::fromStdString(text));
  }
  bracketList_->setCurrentRow(std::min(keep, bracketList_->count() - 1));
}

void TExtSetForm::EditBracket(int row) {
  if (!shown_) return;
  if (row < 0 && shown_->Brackets().Count() >= kMaxCommentSets) {
    CenteredMessageDlg(QString::fromStdString(CommentSetLimitMessage()), mtWarning, mbOK, false, this);
    return;
  }
  TBracketPropForm form(colorList_->Colors(), this);
  if (row >= 0) form.SetBracket(shown_->Brackets().Items(row));
  if (form.exec() != QDialog::Accepted) return;
  TBracket& target = row >= 0 ? shown_->Brackets().Items(row) : shown_->Brackets().Add();
  form.StoreInto(target);
  FillBrackets();
  bracketList_->setCurrentRow(row >= 0 ? row : bracketList_->count() - 1);
}

void TExtSetForm::MoveBracket(int delta) {
  const int row = bracketList_->currentRow();
  if (!shown_ || row < 0 || row + delta < 0 || row + delta >= shown_->Brackets().Count()) return;
  TBracketList& list = shown_->Brackets();
  TBracketList copy;
  copy.Assign(list);
  std::vector<int> order;
  for (int i = 0; i < list.Count(); ++i) order.push_back(i);
  std::swap(order[static_cast<std::size_t>(row)], order[static_cast<std::size_t>(row + delta)]);
  for (int i = 0; i < list.Count(); ++i) list.Items(i).Assign(copy.Items(order[static_cast<std::size_t>(i)]));
  FillBrackets();
  bracketList_->setCurrentRow(row + delta);
}

QWidget* TExtSetForm::BuildRelationPage() {
  QVBoxLayout* v;
  QWidget* page = NewPage(this, v);
  v->addWidget(new QLabel(QStringLiteral("関連付けられている拡張子(&B)"), page));
  auto* row = new QHBoxLayout;
  extList_ = new QListWidget(page);
  row->addWidget(extList_, 1);
  auto* side = new QVBoxLayout;
  auto* add = new QPushButton(QStringLiteral("追加(&M)..."), page);
  auto* edit = new QPushButton(QStringLiteral("編集(&E)..."), page);
  auto* remove = new QPushButton(QStringLiteral("削除(&Z)"), page);
  for (QPushButton* b : {add, edit, remove}) side->addWidget(b);
  side->addStretch(1);
  row->addLayout(side);
  v->addLayout(row, 1);
  auto askExtension = [this](const QString& caption, QString& text) {
    return TInputDialogForm::Execute(this, caption, QStringLiteral("拡張子をピリオド付きで入力してください"), text);
  };
  connect(add, &QPushButton::clicked, this, [this, askExtension] {
    QString text;
    while (shown_ && askExtension(QStringLiteral("新しい拡張子の入力"), text)) {
      const std::string message = AddTypeExtension(*types_, Selected(), ToSjis(text));
      if (message.empty()) break;
      CenteredMessageDlg(QString::fromStdString(message), mtWarning, mbOK, false, this);
    }
    FillExtensions();
  });
  connect(edit, &QPushButton::clicked, this, [this, askExtension] {
    const int entry = extList_->currentRow();
    if (!shown_ || entry < 0) return;
    QString text = extList_->currentItem()->text();
    while (askExtension(QStringLiteral("拡張子の編集"), text)) {
      const std::string message = EditTypeExtension(*shown_, entry, ToSjis(text));
      if (message.empty()) break;
      CenteredMessageDlg(QString::fromStdString(message), mtWarning, mbOK, false, this);
    }
    FillExtensions();
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (!shown_ || extList_->currentRow() < 0) return;
    RemoveTypeExtension(*shown_, extList_->currentRow());
    FillExtensions();
  });
  connect(extList_, &QListWidget::currentRowChanged, this, [this, edit, remove](int r) {
    edit->setEnabled(r >= 0);
    remove->setEnabled(r >= 0);
    assocExt_->setText(r >= 0 ? QString::fromStdString(AssociationFieldFor(extList_->item(r)->text().toStdString()))
                              : QString());
  });
  v->addWidget(BuildRegistrationBox(page));
  return page;
}

QWidget* TExtSetForm::BuildRegistrationBox(QWidget* page) {
  auto* box = new QGroupBox(QStringLiteral("関連付けの登録"), page);
  auto* form = new QFormLayout(box);
  assocExt_ = new QLineEdit(box);
  assocExt_->setObjectName(QStringLiteral("拡張子"));
  assocName_ = new QLineEdit(box);
  assocName_->setObjectName(QStringLiteral("ファイルタイプ名"));
  assocOptions_ = new QLineEdit(box);
  assocOptions_->setObjectName(QStringLiteral("VornEditorオプション"));
  form->addRow(QStringLiteral("拡張子(&F)"), assocExt_);
  form->addRow(QStringLiteral("ファイルタイプ名(&Y)"), assocName_);
  form->addRow(QStringLiteral("VornEditorオプション(&P)"), assocOptions_);
  assocIcon_ = new QCheckBox(QStringLiteral("ファイルのアイコンも変更(&I)"), box);
  assocStandard_ = new QCheckBox(QStringLiteral("標準の操作(&S)"), box);
  assocStandard_->setChecked(true);
  form->addRow(assocIcon_);
  form->addRow(assocStandard_);
  registerButton_ = new QPushButton(QStringLiteral("関連付けとして登録(&U)"), box);
  registerButton_->setEnabled(false);
  form->addRow(registerButton_);
  connect(assocExt_, &QLineEdit::textChanged, this, [this] { UpdateRegistration(); });
  connect(registerButton_, &QPushButton::clicked, this, [this] { RegisterExtension(); });
  return box;
}

namespace {
// What the desktop's MIME database calls files with the extension; empty when it knows none.
QMimeType SystemTypeOf(const QString& extension) {
  const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("x") + extension, QMimeDatabase::MatchExtension);
  return type.isDefault() ? QMimeType() : type;
}
}  // namespace

void TExtSetForm::UpdateRegistration() {
  const std::string field = assocExt_->text().toStdString();
  registerButton_->setEnabled(CanRegisterAssociation(extList_->currentRow() >= 0, field));
  const std::string system = field.empty() ? std::string() : SystemTypeOf(assocExt_->text()).comment().toStdString();
  assocName_->setText(QString::fromStdString(AssociationTypeName(field, system, shown_ ? Utf8(shown_->Name) : "")));
}

void TExtSetForm::RegisterExtension() {
  QListWidgetItem* entry = extList_->currentItem();
  if (!entry || !CanRegisterAssociation(true, assocExt_->text().toStdString())) return;
  TAssocRequest request;
  request.Extension = entry->text().toStdString();
  request.KnownMimeType = SystemTypeOf(entry->text()).name().toStdString();
  request.TypeName = assocName_->text().toStdString();
  request.ProgramPath = CurrentExecutablePath();
  request.Options = assocOptions_->text().toStdString();
  request.ChangeIcon = assocIcon_->isChecked();
  request.MakeDefault = assocStandard_->isChecked();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    const TAssocOutcome outcome = RegisterAssociation(request, UserAssocFolders());
    QApplication::restoreOverrideCursor();
    if (!outcome.RefreshNote.empty())
      CenteredMessageDlg(QString::fromStdString(outcome.RefreshNote), mtWarning, mbOK, false, this);
  } catch (const EVornError& e) {
    QApplication::restoreOverrideCursor();
    CenteredMessageDlg(QString::fromUtf8(e.what()), mtWarning, mbOK, false, this);
  }
}

void TExtSetForm::FillExtensions() {
  extList_->clear();
  if (!shown_) return;
  for (const std::string& e : shown_->Extensions()) extList_->addItem(FromSjis(e));
  assocExt_->clear();
  for (QPushButton* b : pages_->widget(8)->findChildren<QPushButton*>()) {
    if (b->text() == QStringLiteral("追加(&M)...")) b->setEnabled(shown_->Name != Sjis("標準"));
    else b->setEnabled(false);  // edit and delete wait for a selected entry
  }
}

namespace {

// A raster font's sizes as character heights in pixels, from the point sizes it offers.
std::vector<int> RasterCharacterHeights(const QString& family) {
  std::vector<int> heights;
  for (const int points : QFontDatabase::pointSizes(family)) {
    QFont font(family);
    font.setPointSize(points);
    heights.push_back(QFontInfo(font).pixelSize());
  }
  return heights;
}

bool MeasuresFixedPitch(const QString& family, bool hasKana) {
  QFont font(family);
  font.setPixelSize(16);
  const QFontMetrics m(font);
  TFontAdvances a{m.horizontalAdvance(QLatin1Char('i')), m.horizontalAdvance(QLatin1Char('W')),
                  m.horizontalAdvance(QLatin1Char('0')), hasKana ? m.horizontalAdvance(QChar(0x3042)) : 0};
  return IsFixedPitch(a);
}

}  // namespace

QStringList TExtSetForm::MeasureFixedPitchFamilies() {
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  QStringList all = QFontDatabase::families(QFontDatabase::Latin);
  for (const QString& f : japanese)
    if (!all.contains(f)) all.push_back(f);
  // Only the platform's "proportional" Japanese families are measured: loading every font
  // file costs the first dialog of a process more than its whole first paint may take.
  QStringList fixed;
  for (const QString& f : all)
    if (QFontDatabase::isFixedPitch(f) || (japanese.contains(f) && MeasuresFixedPitch(f, true))) fixed.push_back(f);
  fixed.sort(Qt::CaseInsensitive);
  return fixed;
}

// Measured once per process: the installed fonts do not change while the editor runs, and the
// dialog opens many times.
const QStringList& TExtSetForm::FixedPitchFamilies() {
  static const QStringList families = MeasureFixedPitchFamilies();
  return families;
}

void TExtSetForm::FillFontSizes() {
  const QString keep = fontSize_->currentText();
  fontSize_->clear();
  const double density = logicalDpiY() > 0 ? logicalDpiY() : 96;
  const QString family = fontName_->currentText();
  const bool raster = !family.isEmpty() && QFontDatabase::hasFamily(family) && !QFontDatabase::isSmoothlyScalable(family);
  const std::vector<TFontSizeEntry> sizes =
      raster ? RasterFontSizes(RasterCharacterHeights(family), density) : ScalableFontSizes(density);
  for (const TFontSizeEntry& e : sizes) fontSize_->addItem(QString::fromStdString(e.Text), e.Height);
  fontSize_->setCurrentText(keep);
}

void TExtSetForm::ShowType(TFileSetting& type) {
  settingControls_ = true;
  nameEdit_->setText(FromSjis(type.Name));
  for (const TCheckBinding& b : checks_) b.Box->setChecked(type.*(b.Field));
  for (const TNumberBinding& b : numbers_) b.Edit->setText(QString::number(type.*(b.Field)));
  fixedSize_->setChecked(type.FixWindow);
  standardSize_->setChecked(!type.FixWindow);
  const QString face = FromSjis(type.Font.Name);
  if (fontName_->findText(face) < 0 && !face.isEmpty()) fontName_->addItem(face);
  fontName_->setCurrentText(face);
  FillFontSizes();
  const int sized = fontSize_->findData(type.Font.Height);
  if (sized >= 0) fontSize_->setCurrentIndex(sized);
  else fontSize_->setCurrentText(QString::number(type.Font.Size()));
  shownFont_ = {fontName_->currentText(), fontSize_->currentText()};
  autoTriggerStr_->setText(FromSjis(type.SeikeiAutoTriggerStr));
  extMacroPath_->setText(QString::fromStdString(Utf8(type.ExtMacroPath)));
  underlineValue_ = type.UnderlineColor;
  vlineValue_ = type.SeikeiVLineColor;
  PaintSwatch(underlineColor_, underlineValue_);
  PaintSwatch(vlineColor_, vlineValue_);
  colorList_->Assign(type.Colors());
  if (colorList_->currentRow() < 0) colorList_->setCurrentRow(0);
  commentStart_->setText(FromSjis(type.Commenter().Pattern()));
  const TQuoteRows rows = QuoteRowsOf(type.Quotation, type.QuotationCanceler);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    quoteRows_[i].first->setText(FromSjis(rows[i].Quote));
    quoteRows_[i].second->setText(FromSjis(rows[i].Escape));
  }
  settingControls_ = false;
  keywordsSorted_ = false;
  FillKeywords();
  FillBrackets();
  FillExtensions();
  UpdateColorControls();
  UpdateDependencies();
}

bool TExtSetForm::StoreControls() {
  if (!shown_) return true;
  TFileTypeValues values = *shown_;
  for (const TNumberBinding& b : numbers_) {
    const bool fixField = b.Field == &TFileTypeValues::FixWindowCol || b.Field == &TFileTypeValues::FixWindowRow;
    const TFieldValue v = ParseField(b.Edit->text().toStdString(), *b.Limit);
    if (v.Value) {
      values.*(b.Field) = *v.Value;
      continue;
    }
    if (fixField) {
      // A width or height that is no number switches the fixed size off rather than block OK.
      values.FixWindowCol = 80;
      values.FixWindowRow = 25;
      fixedSize_->setChecked(false);
      continue;
    }
    pages_->setCurrentIndex(b.Page);
    CenteredMessageDlg(QString::fromStdString(v.Message), mtWarning, mbOK, false, this);
    b.Edit->setFocus();
    b.Edit->selectAll();
    return false;
  }
  const std::string sizeText = fontSize_->currentText().toStdString();
  const int listed = fontSize_->findText(fontSize_->currentText());
  // A font left as shown keeps its stored height and name, whatever this screen lists.
  const bool fontUntouched = shownFont_ == std::make_pair(fontName_->currentText(), fontSize_->currentText());
  if (!fontUntouched && listed < 0) {
    const TFontSizeValue size = ParseFontSize(sizeText);
    if (!size.Points) {
      pages_->setCurrentIndex(0);
      CenteredMessageDlg(QString::fromStdString(size.Message), mtWarning, mbOK, false, this);
      fontSize_->setFocus();
      return false;
    }
    values.Font.SetSize(static_cast<int>(std::lround(*size.Points)));
  } else if (!fontUntouched) {
    values.Font.Height = fontSize_->itemData(listed).toInt();
  }
  for (const TCheckBinding& b : checks_) values.*(b.Field) = b.Box->isChecked();
  // The margin line shows on while the ruler forces it; the type keeps its own choice for when
  // the ruler goes off again.
  if (QCheckBox* margin = CheckByCaption(QStringLiteral("左マージンに縦線を描く(&T)")); margin && !margin->isEnabled())
    values.LeftMarginLine = shown_->LeftMarginLine;
  values.FixWindow = fixedSize_->isChecked();
  if (!fontUntouched) values.Font.Name = ToSjis(fontName_->currentText());
  values.SeikeiAutoTriggerStr = ToSjis(autoTriggerStr_->text());
  values.ExtMacroPath = Sjis(extMacroPath_->text().toStdString());
  values.UnderlineColor = underlineValue_;
  values.SeikeiVLineColor = vlineValue_;
  TQuoteRows rows;
  for (std::size_t i = 0; i < rows.size(); ++i)
    rows[i] = {ToSjis(quoteRows_[i].first->text()), ToSjis(quoteRows_[i].second->text())};
  StoreQuoteRows(rows, values.Quotation, values.QuotationCanceler);
  static_cast<TFileTypeValues&>(*shown_) = values;
  shown_->Colors().Assign(colorList_->Colors());
  return true;
}

void TExtSetForm::UpdateDependencies() {
  if (settingControls_) return;
  auto enable = [this](const char* caption, bool on) {
    if (QCheckBox* c = CheckByCaption(QString::fromUtf8(caption))) c->setEnabled(on);
  };
  auto field = [this](const char* caption, bool on) {
    if (QLineEdit* e = FieldByCaption(QString::fromUtf8(caption))) e->setEnabled(on);
  };
  auto checked = [this](const char* caption) {
    QCheckBox* c = CheckByCaption(QString::fromUtf8(caption));
    return c && c->isChecked();
  };
  field("折り返し桁数", checked("長い行の折り返し(&P)"));
  const bool fixed = fixedSize_->isChecked();
  field("幅", fixed);
  field("高さ", fixed);
  enable("位置を固定する(&P)", fixed);
  if (rememberPosition_) rememberPosition_->setEnabled(fixed && checked("位置を固定する(&P)") && context_.rememberPosition);
  const bool ruler = checked("垂直ルーラ（行番号表示）(&X)");
  if (QCheckBox* margin = CheckByCaption(QStringLiteral("左マージンに縦線を描く(&T)"))) {
    if (ruler) margin->setChecked(true);
    margin->setEnabled(!ruler);
  }
  enable("レイアウト行番号(&L)", ruler);
  if (QPushButton* b = findChild<QPushButton*>(QStringLiteral("UnderlineColorButton")))
    b->setEnabled(checked("カーソル行に下線をひく(&U)"));
  if (QPushButton* b = findChild<QPushButton*>(QStringLiteral("VLineColorButton")))
    b->setEnabled(checked("自動整形桁に縦線を入れる(&V)"));
  const bool spaces = checked("インデントは、半角スペースで行う(&B)");
  enable("インデント幅はタブ幅と同じ(&M)", spaces);
  field("インデント幅", spaces && !checked("インデント幅はタブ幅と同じ(&M)"));
  enable("全角空白も削除する(&W)", checked("保存時に行末の空白やタブを削除する(&V)"));
}

}  // namespace vorn
