// A TVornEdit of a known size over a wrapping store, and the helpers the widget tests share.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include <memory>
#include <string>

#include "editor/VornEdit.h"
#include "layout/StoreWrap.h"

namespace vorn::test {

inline std::unique_ptr<TVornEdit> MakeEdit(std::shared_ptr<TVornEditScreenStrings> store, QSize size = {420, 300}) {
  auto edit = std::make_unique<TVornEdit>(std::move(store));
  edit->resize(size);
  edit->show();
  QApplication::processEvents();
  edit->Flush();
  return edit;
}

// Loads text into the edit's store with word wrap at wrapByte (0: off) and the caret at the top.
inline void LoadText(TVornEdit& edit, const std::string& sjis, int wrapByte = 0, int tab = 4) {
  TVornEditCore& core = edit.Core();
  TVornEditCaretValues caret = core.CaretOptions();
  caret.TabSpaceCount = tab;
  core.SetCaretOptions(caret);
  TVornEditScreenStrings& store = core.Store();
  if (wrapByte > 0) WrapOptionOf(store).SetWrapByte(wrapByte);
  store.SetWordWrap(wrapByte > 0);
  store.ReplaceRows(0, store.Count(), sjis);
  core.SetFocused(true);
  core.SetTopRow(0);
  core.SetCaretPos(0, 0);
  edit.Flush();
}

// The first pixel where two images differ, or (-1, -1).
inline QPoint FirstDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return {-2, -2};
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return {x, y};
  return {-1, -1};
}

// A rectangle of logical pixels as img's device pixels.
inline QRect ToDevice(const QImage& img, const QRect& rect) {
  const qreal dpr = img.devicePixelRatio();
  return QRect(qRound(rect.x() * dpr), qRound(rect.y() * dpr), qRound(rect.width() * dpr), qRound(rect.height() * dpr));
}

// Pixels of rect (logical pixels) in img that are not the colour c.
inline int PixelsNot(const QImage& img, const QRect& rect, QColor c) {
  int n = 0;
  const QRect r = ToDevice(img, rect).intersected(img.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (img.pixel(x, y) != c.rgb()) ++n;
  return n;
}

}  // namespace vorn::test
