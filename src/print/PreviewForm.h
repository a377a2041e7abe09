// TPrintPreviewForm: one page picture at a time, with page navigation and three zoom modes.
#pragma once

#include "print/PrintPages.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QScrollArea;
class QToolButton;

namespace vorn {

enum class TPreviewZoom { pzActualSize, pzFitWidth, pzFitHeight };

class TPrintPreviewForm : public QDialog {
  Q_OBJECT
public:
  // Takes the pages; the settings' preview geometry places the window and receives it back.
  TPrintPreviewForm(TPrintPages pages, TStringsPrinter& settings, QWidget* parent);
  ~TPrintPreviewForm() override;

  int CurrentPage() const { return current_; }  // 0-based
  int PageCount() const { return pages_.Count(); }
  void ShowPage(int index);
  void SetZoom(TPreviewZoom zoom);
  TPreviewZoom Zoom() const { return zoom_; }
  QString PageText() const;
  // The page image's size in screen pixels under the current zoom.
  QSize ImageSize() const;

protected:
  void done(int result) override;
  void resizeEvent(QResizeEvent* e) override;

private:
  class TPageView;
  QHBoxLayout* BuildTools();
  void UpdateState();
  QRectF PaperRect() const;  // printer pixels, the unprintable edge added back

  TPrintPages pages_;
  TStringsPrinter& settings_;
  TPagePainter painter_;
  int current_ = 0;
  TPreviewZoom zoom_ = TPreviewZoom::pzFitHeight;
  QScrollArea* scroll_ = nullptr;
  TPageView* view_ = nullptr;
  QLabel* pageLabel_ = nullptr;
  QComboBox* zoomBox_ = nullptr;
  QToolButton* first_ = nullptr;
  QToolButton* prev_ = nullptr;
  QToolButton* next_ = nullptr;
  QToolButton* last_ = nullptr;
};

}  // namespace vorn
