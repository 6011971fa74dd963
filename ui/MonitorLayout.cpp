#include "ui/MonitorLayout.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

namespace {

// How many pixels of the screen the monitors cover together: overlapping (mirrored) monitors
// count once, parts beyond the screen not at all.
std::int64_t CoveredPixels(const ScreenArea& screen, const std::vector<ScreenArea>& monitors) {
  std::vector<int> xs = {screen.x, screen.x + screen.width};
  std::vector<int> ys = {screen.y, screen.y + screen.height};
  for (const ScreenArea& monitor : monitors) {
    xs.push_back(std::clamp(monitor.x, xs[0], xs[1]));
    xs.push_back(std::clamp(monitor.x + monitor.width, xs[0], xs[1]));
    ys.push_back(std::clamp(monitor.y, ys[0], ys[1]));
    ys.push_back(std::clamp(monitor.y + monitor.height, ys[0], ys[1]));
  }
  std::sort(xs.begin(), xs.end());
  std::sort(ys.begin(), ys.end());
  std::int64_t covered = 0;
  // Every cell of the grid the edges make lies wholly inside a monitor or wholly outside all.
  for (std::size_t column = 1; column < xs.size(); ++column) {
    for (std::size_t row = 1; row < ys.size(); ++row) {
      const bool inside = std::any_of(monitors.begin(), monitors.end(), [&](const ScreenArea& m) {
        return m.x <= xs[column - 1] && xs[column] <= m.x + m.width && m.y <= ys[row - 1] &&
               ys[row] <= m.y + m.height;
      });
      if (inside) {
        covered += std::int64_t{xs[column] - xs[column - 1]} * (ys[row] - ys[row - 1]);
      }
    }
  }
  return covered;
}

// How far the point lies outside the area along one axis; 0 inside.
int Outside(int point, int start, int size) {
  return std::max({0, start - point, point - (start + size - 1)});
}

int CenteredStart(int start, int size, int windowSize, int screenStart, int screenSize) {
  const int centred = start + std::max(0, (size - windowSize) / 2);
  return std::max(screenStart, std::min(centred, screenStart + screenSize - windowSize));
}

}  // namespace

MonitorLayout MonitorLayout::Choose(const ScreenArea& screen, const std::vector<ScreenArea>& randr,
                                    const std::vector<ScreenArea>& xinerama) {
  // A server may list one RandR monitor smaller than the screen while Xinerama lists every head,
  // or one spanning the screen while Xinerama tells its heads apart.
  const auto extent = [&screen](const std::vector<ScreenArea>& list) {
    return std::pair{CoveredPixels(screen, list), list.size()};
  };
  const auto& chosen = extent(xinerama) > extent(randr) ? xinerama : randr;
  std::vector<ScreenArea> monitors;
  std::copy_if(chosen.begin(), chosen.end(), std::back_inserter(monitors),
               [](const ScreenArea& m) { return m.width > 0 && m.height > 0; });
  if (monitors.empty()) monitors.push_back(screen);
  return MonitorLayout(screen, std::move(monitors));
}

const ScreenArea& MonitorLayout::MonitorAt(ScreenPoint point) const noexcept {
  const auto distance = [point](const ScreenArea& m) {
    const std::int64_t across = Outside(point.x, m.x, m.width);
    const std::int64_t down = Outside(point.y, m.y, m.height);
    return across * across + down * down;
  };
  return *std::min_element(monitors_.begin(), monitors_.end(),
                           [&](const ScreenArea& left, const ScreenArea& right) {
                             return distance(left) < distance(right);
                           });
}

ScreenPoint MonitorLayout::CenteredCorner(ScreenPoint pointer, int width,
                                          int height) const noexcept {
  const ScreenArea& monitor = MonitorAt(pointer);
  return {CenteredStart(monitor.x, monitor.width, width, screen_.x, screen_.width),
          CenteredStart(monitor.y, monitor.height, height, screen_.y, screen_.height)};
}
