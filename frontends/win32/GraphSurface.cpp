// SPDX-License-Identifier: MIT
#include "frontends/win32/GraphSurface.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kuvell {
namespace {

constexpr wchar_t kClassName[] = L"KuvellGraph";

void registerClass(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    // No background brush: the image covers every pixel.
    RegisterClassExW(&windowClass);  // a second window finds the class registered
}

}  // namespace

GraphSurface::GraphSurface(HWND parent, HINSTANCE instance,
                           std::function<void(UINT message)> pressed)
    : pressed_(std::move(pressed))
{
    registerClass(instance, &GraphSurface::windowProc);
    window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                              nullptr, instance, this);
    memory_ = CreateCompatibleDC(nullptr);
}

GraphSurface::~GraphSurface()
{
    if (memory_ != nullptr) {
        if (previousBitmap_ != nullptr) {
            SelectObject(memory_, previousBitmap_);
        }
        DeleteDC(memory_);
    }
    if (section_ != nullptr) {
        DeleteObject(section_);
    }
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

void GraphSurface::place(const PixelRect& geometry, const PixelImage& image)
{
    MoveWindow(window_, geometry.x, geometry.y, std::max(0, geometry.width),
               std::max(0, geometry.height), TRUE);
    image_ = &image;
    if (image.size() != sectionSize_ || section_ == nullptr) {
        makeSection(image.size());
    }
    copyToSection(image.rect());
    InvalidateRect(window_, nullptr, FALSE);
}

void GraphSurface::makeSection(PixelSize size)
{
    if (section_ != nullptr) {
        SelectObject(memory_, previousBitmap_);
        DeleteObject(section_);
        section_ = nullptr;
        sectionBits_ = nullptr;
    }
    sectionSize_ = {};
    if (size.width <= 0 || size.height <= 0) {
        return;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.width;
    info.bmiHeader.biHeight = -size.height;  // top-down, the image's own row order
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    section_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section_ == nullptr) {
        return;  // nothing to show the graph with; the window stays usable
    }
    sectionBits_ = static_cast<uint32_t*>(bits);
    sectionSize_ = size;
    previousBitmap_ = SelectObject(memory_, section_);
}

void GraphSurface::showChanged(const PixelRect& changed)
{
    if (changed.empty() || sectionBits_ == nullptr) {
        return;
    }
    copyToSection(changed);
    const RECT area{changed.x, changed.y, changed.x + changed.width, changed.y + changed.height};
    InvalidateRect(window_, &area, FALSE);
}

// The image's 0xFFRRGGBB pixels are a 32-bit DIB's blue, green, red, unused bytes.
void GraphSurface::copyToSection(const PixelRect& area)
{
    if (image_ == nullptr || sectionBits_ == nullptr || image_->size() != sectionSize_) {
        return;
    }
    const int left = std::max(0, area.x);
    const int top = std::max(0, area.y);
    const int right = std::min(sectionSize_.width, area.x + area.width);
    const int bottom = std::min(sectionSize_.height, area.y + area.height);
    if (left >= right) {
        return;
    }
    GdiFlush();  // GDI may still be drawing from the section
    for (int y = top; y < bottom; ++y) {
        std::memcpy(sectionBits_ + static_cast<std::size_t>(y) * sectionSize_.width + left,
                    image_->row(y) + left, static_cast<std::size_t>(right - left) * 4);
    }
}

void GraphSurface::paint()
{
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window_, &paint);
    const RECT& area = paint.rcPaint;
    if (section_ != nullptr) {
        BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, memory_,
               area.left, area.top, SRCCOPY);
    }
    EndPaint(window_, &paint);
}

LRESULT CALLBACK GraphSurface::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<GraphSurface*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && self->window_ == window) {
        switch (message) {
            case WM_PAINT:
                self->paint();
                return 0;
            case WM_ERASEBKGND:
                return 1;  // the image covers every pixel
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDOWN:
                self->pressed_(message);
                return 0;
            default:
                break;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kuvell
