// The eight panels of an editor window's status bar.
#pragma once

#include <QStatusBar>
#include <QWidget>

#include <array>
#include <string>

#include "shellcore/StatusTexts.h"

namespace vorn {

// One panel: its text centred both ways; a text that begins with "*" is drawn white on red,
// which is how a character code or line break fixed by the user stands out.
class TStatusPanel : public QWidget {
  Q_OBJECT
public:
  explicit TStatusPanel(QWidget* parent = nullptr, bool bevel = true);
  void SetText(const QString& text);
  const QString& Text() const { return text_; }
  // Width of sample text plus three frame widths, as every fixed panel is sized.
  void SetWidthForText(const QString& sample);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QString text_;
  bool bevel_;
};

class TStatusPanels : public QStatusBar {
  Q_OBJECT
public:
  enum : int { spMessage, spAutoFormat, spBoxSelect, spCharCode, spLineBreak, spCaret, spInsert, spEnd, spCount };
  explicit TStatusPanels(QWidget* parent = nullptr);
  TStatusPanel* Panel(int index) const { return panels_[index]; }
  void SetPanelText(int index, const QString& text) { panels_[index]->SetText(text); }
  // Panels 1 to 7 from the texts computed over the document and pane state; panel 0 keeps its
  // message. Only panels whose text changed repaint.
  void ShowStateTexts(const std::array<std::string, spCount>& texts);

Q_SIGNALS:
  void Clicked();

protected:
  void mousePressEvent(QMouseEvent* event) override;

private:
  std::array<TStatusPanel*, spCount> panels_{};
};

static_assert(static_cast<int>(TStatusPanels::spCharCode) == static_cast<int>(vorn::spCharCode) &&
                  static_cast<int>(TStatusPanels::spCount) == static_cast<int>(vorn::spPanelCount),
              "the window's panels and the computed texts count panels alike");

}  // namespace vorn
