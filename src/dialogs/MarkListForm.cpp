// TMarkListForm and TJumpInputForm: the mark list and the line-jump dialog.
#include "dialogs/MarkListForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/VornUtil.h"
#include "settings/SjisText.h"

namespace vorn {
namespace {

// The window's mark images: 0 the unnumbered mark, n + 1 numbered mark n, drawn as the margin
// draws marks (a filled box, the number in it).
QIcon MarkImage(int index) {
  constexpr int kSize = 16;
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x30, 0x60, 0xc0));
  p.drawRoundedRect(QRectF(1, 1, kSize - 2, kSize - 2), 3, 3);
  if (index > 0) {
    QFont font = p.font();
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QString::number(index - 1));
  }
  return QIcon(pixmap);
}

}  // namespace

TMarkListForm::TMarkListForm(TMarkListActions actions, QWidget* owner)
    : TVornNotHideForm(owner), actions_(std::move(actions)) {
  setWindowTitle(QStringLiteral("マーク一覧"));
  resize(630, 371);
  list_ = new QTreeWidget(this);
  list_->setRootIsDecorated(false);
  list_->setColumnCount(3);
  list_->setHeaderLabels({QString(), QStringLiteral("行数"), QStringLiteral("行の内容")});
  list_->header()->resizeSection(0, 32);
  list_->header()->resizeSection(1, 64);
  jumpButton_ = new QPushButton(QStringLiteral("ジャンプ(&J)"), this);
  markButton_ = new QPushButton(QStringLiteral("マーク(&M)"), this);
  deleteButton_ = new QPushButton(QStringLiteral("削除(&D)"), this);
  clearAllButton_ = new QPushButton(QStringLiteral("すべてクリア(&C)"), this);
  clearNumberedButton_ = new QPushButton(QStringLiteral("番号マーククリア(&N)"), this);
  clearUnnumberedButton_ = new QPushButton(QStringLiteral("通常マーククリア(&U)"), this);
  auto* helpButton = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {jumpButton_, markButton_, deleteButton_, clearAllButton_, clearNumberedButton_,
                         clearUnnumberedButton_, helpButton})
    buttons->addWidget(b);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);

  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { JumpToSelected(); });
  connect(jumpButton_, &QPushButton::clicked, this, [this] { JumpToSelected(); });
  connect(markButton_, &QPushButton::clicked, this, [this] {
    if (actions_.ToggleMark) actions_.ToggleMark();
    Refresh();
  });
  connect(deleteButton_, &QPushButton::clicked, this, [this] {
    if (const TMarkListEntry* e = Selected(); e && actions_.Remove) actions_.Remove(e->Entry);
    Refresh();
  });
  const auto clear = [this](bool unnumbered, bool numbered) {
    if (actions_.Clear) actions_.Clear(unnumbered, numbered);
    Refresh();
  };
  connect(clearAllButton_, &QPushButton::clicked, this, [clear] { clear(true, true); });
  connect(clearNumberedButton_, &QPushButton::clicked, this, [clear] { clear(false, true); });
  connect(clearUnnumberedButton_, &QPushButton::clicked, this, [clear] { clear(true, false); });
  connect(helpButton, &QPushButton::clicked, this, [] { ShowHelp("Mark_ListDlg.html"); });
  Refresh();
}

void TMarkListForm::Refresh() {
  entries_ = actions_.Entries ? actions_.Entries() : std::vector<TMarkListEntry>{};
  list_->clear();
  for (const TMarkListEntry& e : entries_) {
    auto* item = new QTreeWidgetItem(list_);
    if (e.Image() >= 0) item->setIcon(0, MarkImage(e.Image()));
    item->setText(1, QString::number(e.LineNumber()));
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setText(2, QString::fromStdString(Utf8(e.Text)));
  }
  UpdateButtons();
}

const TMarkListEntry* TMarkListForm::Selected() const {
  const int row = list_->currentItem() && list_->currentItem()->isSelected()
                      ? list_->indexOfTopLevelItem(list_->currentItem())
                      : -1;
  return row >= 0 && row < static_cast<int>(entries_.size()) ? &entries_[static_cast<std::size_t>(row)] : nullptr;
}

void TMarkListForm::UpdateButtons() {
  const TMarkListButtons b = MarkListButtonStates(entries_, Selected() != nullptr);
  jumpButton_->setEnabled(b.Jump);
  deleteButton_->setEnabled(b.Delete);
  clearAllButton_->setEnabled(b.ClearAll);
  clearNumberedButton_->setEnabled(b.ClearNumbered);
  clearUnnumberedButton_->setEnabled(b.ClearUnnumbered);
}

void TMarkListForm::JumpToSelected() {
  const TMarkListEntry* e = Selected();
  if (!e) return;
  if (actions_.Jump) actions_.Jump(e->Line);
  accept();
}

TJumpInputForm::TJumpInputForm(std::function<void(int)> jump, QWidget* owner)
    : TVornNotHideForm(owner), jump_(std::move(jump)) {
  setWindowTitle(QStringLiteral("行ジャンプ"));
  auto* label = new QLabel(QStringLiteral("ジャンプする行数(&L)"), this);
  edit_ = new QLineEdit(this);
  // Line numbers are typed with the input method closed.
  edit_->setAttribute(Qt::WA_InputMethodEnabled, false);
  label->setBuddy(edit_);
  jumpButton_ = new QPushButton(QStringLiteral("ジャンプ(&J)"), this);
  jumpButton_->setDefault(true);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(edit_, 1);
  layout->addWidget(jumpButton_);
  connect(jumpButton_, &QPushButton::clicked, this, [this] { JumpPressed(); });
}

void TJumpInputForm::JumpPressed() {
  bool ok = false;
  const int n = edit_->text().trimmed().toInt(&ok);
  if (!ok) {
    CenteredMessageDlg(QStringLiteral("数字を入力してください"), mtWarning, mbOK, false, this);
    edit_->clear();
    edit_->setFocus();
    return;
  }
  if (jump_) jump_(n);
  accept();
}

}  // namespace vorn
