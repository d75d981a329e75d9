// SPDX-License-Identifier: MIT
#pragma once
// A rectangle of whole pixels, for windows, screens and the graph's changes alike.
#include <algorithm>

namespace kuvell {

// A rectangle of whole pixels; empty when it has no width or no height.
struct PixelRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    // The last column and row inside it.
    int right() const { return x + width - 1; }
    int bottom() const { return y + height - 1; }
    bool contains(int column, int row) const
    {
        return column >= x && column <= right() && row >= y && row <= bottom();
    }
    bool contains(const PixelRect& other) const
    {
        return !other.empty() && contains(other.x, other.y) &&
               contains(other.right(), other.bottom());
    }
    // The smallest rectangle around both; an empty one adds nothing.
    PixelRect united(const PixelRect& other) const
    {
        if (other.empty()) {
            return *this;
        }
        if (empty()) {
            return other;
        }
        const int left = std::min(x, other.x);
        const int top = std::min(y, other.y);
        const int right = std::max(this->right(), other.right());
        const int bottom = std::max(this->bottom(), other.bottom());
        return {left, top, right - left + 1, bottom - top + 1};
    }
    // The part both share; empty (all zero) when they do not meet.
    PixelRect intersected(const PixelRect& other) const
    {
        const int left = std::max(x, other.x);
        const int top = std::max(y, other.y);
        const int right = std::min(this->right(), other.right());
        const int bottom = std::min(this->bottom(), other.bottom());
        if (empty() || other.empty() || right < left || bottom < top) {
            return {};
        }
        return {left, top, right - left + 1, bottom - top + 1};
    }
    PixelRect translated(int dx, int dy) const { return {x + dx, y + dy, width, height}; }
    bool operator==(const PixelRect&) const = default;
};

}  // namespace kuvell
