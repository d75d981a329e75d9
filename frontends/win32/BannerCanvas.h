// SPDX-License-Identifier: MIT
#pragma once
// The about page's banner on Win32: the picture, kept off screen, and the
// canvas the sweep reveals it on, read back with GetPixel as it is drawn.
#include <windows.h>

#include <cstdint>

namespace kuvell {

inline constexpr wchar_t kBannerClass[] = L"KuvellBanner";

class BannerCanvas
{
  public:
    BannerCanvas();
    ~BannerCanvas();
    BannerCanvas(const BannerCanvas&) = delete;
    BannerCanvas& operator=(const BannerCanvas&) = delete;

    static bool registerClass();
    // The control (of kBannerClass) that shows the canvas.
    void attach(HWND control);

    // Row y from column x to the right edge in the picture's colour at (x, y);
    // the column and row just outside the picture read as white. Nothing
    // outside the canvas is drawn.
    void revealRowFrom(int x, int y);
    void revealAll();
    // What the canvas shows at a point (0x00BBGGRR); white outside it.
    COLORREF shownPixel(int x, int y) const;

  private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    struct Surface
    {
        HDC dc = nullptr;
        HBITMAP bitmap = nullptr;
        HGDIOBJ previous = nullptr;
        uint32_t* pixels = nullptr;
    };
    static Surface makeSurface(const uint32_t* pixels);
    static void release(Surface& surface);

    Surface picture_;
    Surface canvas_;
    HWND control_ = nullptr;
};

}  // namespace kuvell
