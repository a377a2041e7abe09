// Text widths as a font draws them, for shortening paths to fit a menu.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <string_view>

#include "platform/PathVariables.h"

namespace vorn {

// Measures UTF-8 text in font's own metrics.
class TFontTextMeasure : public TTextMeasure {
public:
  explicit TFontTextMeasure(const QFont& font) : metrics_(font) {}
  int TextWidth(std::string_view text) const override {
    return metrics_.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }

private:
  QFontMetrics metrics_;
};

}  // namespace vorn
