// SPDX-License-Identifier: MIT
#pragma once
// Kuvell's notification-area icon: uID 1, the core's four pictures at the
// small-icon size of the window's display scale, a tooltip, and a callback
// message to the window.
#include <windows.h>

#include <array>
#include <optional>
#include <string_view>

#include "monitor/core/TrayPictures.h"

namespace kuvell {

class TrayIcon
{
  public:
    // callbackMessage arrives at `window` with the mouse message in lParam.
    TrayIcon(HWND window, UINT callbackMessage);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // picture: 1 to 4; tip in UTF-8, cut to what the notification area holds.
    void add(int picture, std::string_view tip);
    // nullopt: that part stays. Nothing happens before add or after remove.
    void modify(std::optional<int> picture, std::optional<std::string_view> tip);
    // Explorer started again (TaskbarCreated): the icon as it was, added anew.
    void addAgain();
    void remove();
    // The window's display scale changed (dots per inch): the pictures are
    // made anew at its small-icon size, and a shown icon takes them.
    void setDpi(int dpi);

  private:
    void makeIcons(int dpi);
    void destroyIcons();
    void setPictureAndTip(std::optional<int> picture, std::optional<std::string_view> tip);

    NOTIFYICONDATAW data_{};
    std::array<HICON, kTrayImageCount> icons_{};
    bool wanted_ = false;  // added and not removed since
    bool shown_ = false;   // the notification area took it
};

}  // namespace kuvell
