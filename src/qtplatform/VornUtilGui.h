// The Qt side of the shared utilities: the centred message box, bringing a window forward and
// TVornNotHideForm, the dialog base that centres on its owner and stays inside the work area.
//
// Errors, qtplatform: services return false when the desktop refuses them; the message boxes
// here are where the layers above show a failure.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace vorn {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Button set: any combination of these bits.
enum TMsgDlgBtn : unsigned {
  mbYes = 1u << 0,
  mbNo = 1u << 1,
  mbOK = 1u << 2,
  mbCancel = 1u << 3,
  mbAbort = 1u << 4,
  mbRetry = 1u << 5,
  mbIgnore = 1u << 6,
  mbAll = 1u << 7,
  mbNoToAll = 1u << 8,
  mbYesToAll = 1u << 9,
  mbHelp = 1u << 10,
};
using TMsgDlgButtons = unsigned;

// Answers keep the Windows dialog-result numbers, which callers compare and macros store.
enum TModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
  mrAll = 8,
  mrNoToAll = 9,
  mrYesToAll = 10,
};

// The desktop's panel (task bar): its rectangle, its edge (0 top, 1 right, 2 bottom, 3 left) and
// whether it takes no space. Panels are seen only as the difference between the screen and its
// available area, so an auto-hiding or absent panel counts as hidden.
struct TTaskBarInfo {
  QRect rect;
  int edge = 2;
  bool hidden = true;
  // The screen less the panel when it takes space.
  QRect WorkArea(const QRect& screen) const;
};

TTaskBarInfo TaskBarInfoFrom(const QRect& screen, const QRect& available);
// For the owner's screen, or the primary screen.
TTaskBarInfo TaskBarInfo(const QWidget* owner = nullptr);

// Where a window of size `size` goes: centred on `owner` (halves rounded toward zero), then
// moved back inside `area` shrunk by `margin` on every side; the left and top edges win when
// the window is larger than the area.
QPoint CenteredPlacement(const QRect& owner, const QSize& size, const QRect& area, int margin = 0);

// The work area a dialog of `owner` must stay in: the owner's screen's available geometry, or
// the primary screen's when there is no owner.
QRect WorkAreaFor(const QWidget* owner);

// A modal message box centred on owner's window and kept inside the work area, with the beep
// of its kind. Returns the TModalResult of the button pressed (mrCancel when closed).
int CenteredMessageDlg(const QString& message, TMsgDlgType kind, TMsgDlgButtons buttons, bool stayOnTop,
                       QWidget* owner);

// Brings a window of this process to the top and gives it the focus; when the window manager
// refuses, the window asks for attention instead.
void ForceForeground(QWidget* window);

// Base of the settings and tool dialogs: when shown it is centred on its owner window and, on a
// single-monitor desktop, kept one frame width inside the work area.
class TVornNotHideForm : public QDialog {
  Q_OBJECT
public:
  explicit TVornNotHideForm(QWidget* owner = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

protected:
  void showEvent(QShowEvent* event) override;
  // The "OK" / "キャンセル" row that accepts or rejects the dialog.
  QWidget* NewOkCancelButtons();
};

}  // namespace vorn
