// The tiling grid, the cascade and the next/previous editor order.
#include "shellcore/WindowArrangement.h"

#include <algorithm>

namespace vorn {

TGridSize TilingGrid(TTiling tiling, int windows) {
  TGridSize g;
  const bool growColumns = tiling != TTiling::tlVertical;
  const bool growRows = tiling != TTiling::tlHorizontal;
  while (g.columns * g.rows < windows) {
    if (growColumns) ++g.columns;
    if (growRows && g.columns * g.rows < windows) ++g.rows;
  }
  return g;
}

std::vector<TWindowRect> TileWindows(TTiling tiling, int windows, const TTilingMetrics& m) {
  std::vector<TWindowRect> cells;
  if (windows <= 0) return cells;
  const TGridSize grid = TilingGrid(tiling, windows);
  const int width = (m.maximizedWidth - 2 * m.frameWidth) / grid.columns;
  const int height = (m.maximizedHeight - 2 * m.frameHeight) / grid.rows;
  for (int i = 0; i < windows; ++i) {
    const int column = i % grid.columns, row = i / grid.columns;
    cells.push_back({m.originX + column * width, m.originY + row * height, width, height});
  }
  return cells;
}

TWindowRect ClipToArea(TWindowRect rect, const TWindowRect& area) {
  rect.width = std::max(1, std::min(rect.width, area.x + area.width - rect.x));
  rect.height = std::max(1, std::min(rect.height, area.y + area.height - rect.y));
  return rect;
}

std::vector<TWindowRect> CascadeWindows(const std::vector<TWindowRect>& sizes, const TWindowRect& workArea,
                                        int captionHeight) {
  std::vector<TWindowRect> placed(sizes.size());
  const int n = static_cast<int>(sizes.size());
  for (int step = 0; step < n; ++step) {
    const std::size_t i = static_cast<std::size_t>(n - 1 - step);  // bottom of the stack first
    TWindowRect r{workArea.x + step * captionHeight, workArea.y + step * captionHeight, sizes[i].width,
                  sizes[i].height};
    placed[i] = r.width > 0 && r.height > 0 ? ClipToArea(r, workArea) : r;
  }
  return placed;
}

std::int64_t NeighbourEditor(std::vector<std::int64_t> ids, std::int64_t own, bool next) {
  if (ids.empty()) return 0;
  std::sort(ids.begin(), ids.end());
  const auto n = static_cast<std::ptrdiff_t>(ids.size());
  const auto found = std::find(ids.begin(), ids.end(), own);
  const std::ptrdiff_t at = found == ids.end() ? 0 : found - ids.begin();
  return ids[static_cast<std::size_t>((at + (next ? 1 : n - 1)) % n)];
}

}  // namespace vorn
