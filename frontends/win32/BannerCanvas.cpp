// SPDX-License-Identifier: MIT
#include "frontends/win32/BannerCanvas.h"

#include <algorithm>
#include <vector>

#include "frontends/win32/WideText.h"
#include "settings/core/BannerBackdrop.h"

namespace kuvell {

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;

// 0xFFRRGGBB pixels are a 32-bit DIB's blue, green, red, alpha bytes.
COLORREF colourRef(uint32_t pixel)
{
    return RGB((pixel >> 16) & 0xFFu, (pixel >> 8) & 0xFFu, pixel & 0xFFu);
}

uint32_t pixelOf(COLORREF colour)
{
    return 0xFF000000u | static_cast<uint32_t>(GetRValue(colour)) << 16 |
           static_cast<uint32_t>(GetGValue(colour)) << 8 | GetBValue(colour);
}

void drawTexts(HDC dc)
{
    SetBkMode(dc, TRANSPARENT);
    for (const BannerText& line : kBannerTexts) {
        HFONT font =
            CreateFontW(-line.pixelHeight, 0, 0, 0, line.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                        FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
        const HGDIOBJ previous = SelectObject(dc, font);
        SetTextColor(dc, colourRef(line.colour));
        RECT area{line.area.x, line.area.y, line.area.x + line.area.width,
                  line.area.y + line.area.height};
        DrawTextW(dc, wideText(line.text).c_str(), -1, &area,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, previous);
        DeleteObject(font);
    }
}

}  // namespace

BannerCanvas::Surface BannerCanvas::makeSurface(const uint32_t* pixels)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kBannerDrawableWidth;
    info.bmiHeader.biHeight = -kBannerDrawableHeight;  // top-down, as the core's rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    Surface surface;
    void* bits = nullptr;
    surface.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    surface.dc = CreateCompatibleDC(nullptr);
    if (surface.bitmap == nullptr || surface.dc == nullptr || bits == nullptr) {
        release(surface);
        return {};
    }
    surface.pixels = static_cast<uint32_t*>(bits);
    surface.previous = SelectObject(surface.dc, surface.bitmap);
    std::copy_n(pixels, kBannerDrawableWidth * kBannerDrawableHeight, surface.pixels);
    return surface;
}

void BannerCanvas::release(Surface& surface)
{
    if (surface.dc != nullptr) {
        if (surface.previous != nullptr) SelectObject(surface.dc, surface.previous);
        DeleteDC(surface.dc);
    }
    if (surface.bitmap != nullptr) DeleteObject(surface.bitmap);
    surface = {};
}

BannerCanvas::BannerCanvas()
{
    picture_ = makeSurface(bannerBackdrop().data());
    if (picture_.dc != nullptr) drawTexts(picture_.dc);
    const std::vector<uint32_t> white(std::size_t{kBannerDrawableWidth} * kBannerDrawableHeight,
                                      kWhite);
    canvas_ = makeSurface(white.data());
}

BannerCanvas::~BannerCanvas()
{
    if (control_ != nullptr) SetWindowLongPtrW(control_, GWLP_USERDATA, 0);
    release(picture_);
    release(canvas_);
}

bool BannerCanvas::registerClass()
{
    WNDCLASSEXW banner{};
    banner.cbSize = sizeof(banner);
    banner.lpfnWndProc = proc;
    banner.hInstance = GetModuleHandleW(nullptr);
    banner.lpszClassName = kBannerClass;
    return RegisterClassExW(&banner) != 0;
}

void BannerCanvas::attach(HWND control)
{
    control_ = control;
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void BannerCanvas::revealRowFrom(int x, int y)
{
    if (canvas_.pixels == nullptr || x < 0 || y < 0 || x >= kBannerDrawableWidth ||
        y >= kBannerDrawableHeight) {
        return;
    }
    const COLORREF colour = picture_.dc != nullptr ? GetPixel(picture_.dc, x, y) : CLR_INVALID;
    uint32_t* row = canvas_.pixels + static_cast<std::ptrdiff_t>(y) * kBannerDrawableWidth;
    std::fill(row + x, row + kBannerDrawableWidth,
              colour == CLR_INVALID ? kWhite : pixelOf(colour));
    const RECT changed{x, y, kBannerDrawableWidth, y + 1};
    InvalidateRect(control_, &changed, FALSE);
}

void BannerCanvas::revealAll()
{
    if (canvas_.pixels != nullptr && picture_.pixels != nullptr) {
        GdiFlush();  // the texts drawn into the picture have landed in its pixels
        std::copy_n(picture_.pixels, kBannerDrawableWidth * kBannerDrawableHeight, canvas_.pixels);
    }
    InvalidateRect(control_, nullptr, FALSE);
}

COLORREF BannerCanvas::shownPixel(int x, int y) const
{
    if (canvas_.pixels == nullptr || x < 0 || y < 0 || x >= kBannerDrawableWidth ||
        y >= kBannerDrawableHeight) {
        return colourRef(kWhite);
    }
    return colourRef(canvas_.pixels[static_cast<std::ptrdiff_t>(y) * kBannerDrawableWidth + x]);
}

LRESULT CALLBACK BannerCanvas::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const auto* banner =
        reinterpret_cast<const BannerCanvas*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (banner != nullptr && banner->canvas_.dc != nullptr) {
        const RECT& area = paint.rcPaint;
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
               banner->canvas_.dc, area.left, area.top, SRCCOPY);
    }
    EndPaint(window, &paint);
    return 0;
}

}  // namespace kuvell
