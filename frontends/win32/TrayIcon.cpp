// SPDX-License-Identifier: MIT
#include "frontends/win32/TrayIcon.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/WideText.h"

namespace kuvell {
namespace {

// An icon from the core's pixels (0xAARRGGBB, straight alpha, as icons take them).
HICON iconFromPicture(const TrayPicture& picture)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.side;
    info.bmiHeader.biHeight = -picture.side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (colour == nullptr) {
        return nullptr;
    }
    std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(uint32_t));
    // The alpha channel decides; the mask only has to exist.
    const std::vector<uint8_t> clear(
        static_cast<std::size_t>((picture.side + 15) / 16 * 2) * picture.side, 0);
    HBITMAP mask = CreateBitmap(picture.side, picture.side, 1, 1, clear.data());
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmColor = colour;
    icon.hbmMask = mask;
    HICON made = mask != nullptr ? CreateIconIndirect(&icon) : nullptr;
    DeleteObject(colour);
    if (mask != nullptr) {
        DeleteObject(mask);
    }
    return made;
}

}  // namespace

TrayIcon::TrayIcon(HWND window, UINT callbackMessage)
{
    const UINT dpi = GetDpiForWindow(window);
    makeIcons(dpi != 0 ? static_cast<int>(dpi) : USER_DEFAULT_SCREEN_DPI);
    data_.cbSize = sizeof data_;
    data_.hWnd = window;
    data_.uID = 1;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
}

TrayIcon::~TrayIcon()
{
    remove();
    destroyIcons();
}

void TrayIcon::makeIcons(int dpi)
{
    const int side = std::clamp(GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi)), 1,
                                kLargestTrayImageSide);
    for (int number = 1; number <= kTrayImageCount; ++number) {
        icons_[static_cast<std::size_t>(number - 1)] = iconFromPicture(trayPicture(number, side));
    }
}

void TrayIcon::destroyIcons()
{
    for (HICON& icon : icons_) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
        icon = nullptr;
    }
}

void TrayIcon::setDpi(int dpi)
{
    const auto picture = std::find(icons_.begin(), icons_.end(), data_.hIcon) - icons_.begin();
    destroyIcons();
    makeIcons(dpi);
    if (picture < kTrayImageCount) {
        data_.hIcon = icons_[static_cast<std::size_t>(picture)];
    }
    if (shown_) {
        Shell_NotifyIconW(NIM_MODIFY, &data_);
    }
}

void TrayIcon::setPictureAndTip(std::optional<int> picture, std::optional<std::string_view> tip)
{
    if (picture) {
        const int number = *picture >= 1 && *picture <= kTrayImageCount ? *picture : 1;
        data_.hIcon = icons_[static_cast<std::size_t>(number - 1)];
    }
    if (!tip) {
        return;
    }
    // The tip is Kuvell's own ASCII text; anything else would show as nothing.
    const std::wstring text = wideFromUtf8(*tip).value_or(std::wstring());
    const std::size_t length = std::min(text.size(), std::size(data_.szTip) - 1);
    std::copy_n(text.begin(), length, data_.szTip);
    data_.szTip[length] = L'\0';
}

void TrayIcon::add(int picture, std::string_view tip)
{
    setPictureAndTip(picture, tip);
    wanted_ = true;
    // No notification area yet (Explorer not started): TaskbarCreated adds it later.
    shown_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
}

void TrayIcon::modify(std::optional<int> picture, std::optional<std::string_view> tip)
{
    if (!wanted_) {
        return;
    }
    setPictureAndTip(picture, tip);
    if (shown_) {
        Shell_NotifyIconW(NIM_MODIFY, &data_);
    }
}

void TrayIcon::addAgain()
{
    if (wanted_) {
        shown_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
    }
}

void TrayIcon::remove()
{
    if (wanted_) {
        Shell_NotifyIconW(NIM_DELETE, &data_);
    }
    wanted_ = false;
    shown_ = false;
}

}  // namespace kuvell
