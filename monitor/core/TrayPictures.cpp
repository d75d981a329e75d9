// SPDX-License-Identifier: MIT
#include "monitor/core/TrayPictures.h"

#include <algorithm>
#include <cmath>

namespace kuvell {

namespace {

// A 16-colour palette look: black outlines, silver cases, navy or red screens.
constexpr uint32_t kOutline = 0xFF000000;
constexpr uint32_t kCase = 0xFFC0C0C0;
constexpr uint32_t kDarkScreen = 0xFF000080;
constexpr uint32_t kLitScreen = 0xFFFF0000;
constexpr uint32_t kStand = 0xFF808080;
constexpr uint32_t kRim = 0xD0F0F0F0;  // shows the silhouette where the outline meets a dark panel
constexpr uint32_t kClear = 0x00000000;

bool opaque(uint32_t pixel) { return (pixel >> 24) != 0; }

// The picture is designed on a 16-unit grid; every edge lands on a whole pixel
// of the size asked for, so no edge is blurred. From 22 px on, a one-pixel
// margin leaves room for the rim all round.
class Canvas
{
  public:
    explicit Canvas(int side)
        : margin_(side >= 22 ? 1 : 0), scale_((side - 2 * margin_) / 16.0), picture_{side, {}}
    {
        picture_.pixels.assign(static_cast<std::size_t>(side) * static_cast<std::size_t>(side),
                               kClear);
    }

    // Fills a rectangle of grid units, at least one pixel each way, cut at the picture's edge.
    void fill(int left, int top, int width, int height, uint32_t colour)
    {
        const int x0 = edge(left);
        const int y0 = edge(top);
        const int x1 = std::min(side(), x0 + std::max(1, edge(left + width) - x0));
        const int y1 = std::min(side(), y0 + std::max(1, edge(top + height) - y0));
        for (int y = y0; y < y1; ++y) {
            std::fill(at(x0, y), at(x1, y), colour);
        }
    }

    int side() const { return picture_.side; }
    uint32_t* at(int x, int y)
    {
        return picture_.pixels.data() + static_cast<std::size_t>(y) * side() + x;
    }
    TrayPicture take() { return std::move(picture_); }

  private:
    int edge(int units) const { return margin_ + static_cast<int>(std::nearbyint(units * scale_)); }

    int margin_;
    double scale_;
    TrayPicture picture_;
};

// A monitor whose case has its top-left corner at `originX`, `originY` (grid
// units): an 11x9 case with a 9x7 screen, and a small stand below it.
void drawMonitor(Canvas& canvas, int originX, int originY, bool lit)
{
    canvas.fill(originX, originY, 11, 9, kOutline);
    canvas.fill(originX + 1, originY + 1, 9, 7, kCase);
    canvas.fill(originX + 2, originY + 2, 7, 5, lit ? kLitScreen : kDarkScreen);
    canvas.fill(originX + 4, originY + 9, 3, 1, kStand);
    canvas.fill(originX + 2, originY + 10, 7, 1, kOutline);
}

// Every empty pixel beside (not diagonal to) the drawing gets the light rim.
void addRim(Canvas& canvas)
{
    const int side = canvas.side();
    const std::vector<uint32_t> drawn(canvas.at(0, 0), canvas.at(0, 0) + side * side);
    const auto drawnAt = [&](int x, int y) {
        return x >= 0 && x < side && y >= 0 && y < side &&
               opaque(drawn[static_cast<std::size_t>(y) * side + x]);
    };
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if (!drawnAt(x, y) && (drawnAt(x - 1, y) || drawnAt(x + 1, y) || drawnAt(x, y - 1) ||
                                   drawnAt(x, y + 1))) {
                *canvas.at(x, y) = kRim;
            }
        }
    }
}

}  // namespace

TrayPicture trayPicture(int number, int size)
{
    const bool rearLit = number == 2 || number == 4;
    const bool frontLit = number == 3 || number == 4;
    Canvas canvas(std::clamp(size, 1, kLargestTrayImageSide));
    drawMonitor(canvas, 0, 0, rearLit);
    drawMonitor(canvas, 5, 5, frontLit);  // in front, covering the rear one's corner
    if (opaque(*canvas.at(0, 0))) {
        // Without a margin the rear outline's outer corner has no rim to show it on
        // a dark panel; a rounded corner reads the same on any.
        *canvas.at(0, 0) = kClear;
    }
    addRim(canvas);
    return canvas.take();
}

}  // namespace kuvell
