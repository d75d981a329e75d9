// SPDX-License-Identifier: MIT
#pragma once
// The visible graph box: a child window that shows the core's display image
// through a 32-bit top-down DIB section, copying to the screen only what a
// frame changed. Presses on it go to the main window.
#include <windows.h>

#include <functional>

#include "monitor/core/Pixels.h"

namespace kuvell {

class GraphSurface
{
  public:
    // pressed: a mouse button went down on the graph (WM_LBUTTONDOWN, ...).
    GraphSurface(HWND parent, HINSTANCE instance, std::function<void(UINT message)> pressed);
    ~GraphSurface();
    GraphSurface(const GraphSurface&) = delete;
    GraphSurface& operator=(const GraphSurface&) = delete;

    HWND handle() const { return window_; }

    // Moves and sizes the box in its parent's client coordinates; `image` is
    // what it shows from now on (it must outlive the next place call).
    void place(const PixelRect& geometry, const PixelImage& image);

    // Puts a frame's changed rectangle of the image on the screen.
    void showChanged(const PixelRect& changed);

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void makeSection(PixelSize size);
    void copyToSection(const PixelRect& area);
    void paint();

    HWND window_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP section_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    uint32_t* sectionBits_ = nullptr;
    const PixelImage* image_ = nullptr;
    PixelSize sectionSize_;
    std::function<void(UINT)> pressed_;
};

}  // namespace kuvell
