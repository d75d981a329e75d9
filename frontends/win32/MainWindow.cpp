// SPDX-License-Identifier: MIT
#include "frontends/win32/MainWindow.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ResourceIds.h"
#include "frontends/win32/SettingsDialog.h"
#include "frontends/win32/TrayMenu.h"
#include "monitor/core/MainLayout.h"
#include "platform/SystemReason.h"
#include "platform/WideText.h"
#include "platform/core/Twips.h"
#include "platform/core/WindowBounds.h"
#include "settings/core/ProgramVariables.h"

namespace kuvell {
namespace {

constexpr wchar_t kClassName[] = L"KuvellMain";
constexpr UINT kTickMilliseconds = 1000;

// Kuvell's own texts are valid UTF-8; one that is not shows as nothing.
std::wstring wide(std::string_view text) { return wideFromUtf8(text).value_or(std::wstring()); }

// A child's rectangle in its parent's client coordinates.
PixelRect childRect(HWND child)
{
    RECT area;
    GetWindowRect(child, &area);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&area), 2);
    return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

void moveChild(HWND child, const PixelRect& to)
{
    MoveWindow(child, to.x, to.y, std::max(0, to.width), std::max(0, to.height), TRUE);
}

// 0 when the system cannot say (an invalid window): 96 then.
int windowDpi(HWND window)
{
    const UINT dpi = GetDpiForWindow(window);
    return dpi != 0 ? static_cast<int>(dpi) : kBaseDpi;
}

BOOL CALLBACK addScreenArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        const RECT& work = info.rcWork;
        reinterpret_cast<std::vector<PixelRect>*>(areas)->push_back(
            {work.left, work.top, work.right - work.left, work.bottom - work.top});
    }
    return TRUE;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, ProgramVariables& vars, KeyValueStore& store,
                       MonitorSetup setup)
    : vars_(vars), store_(store), presenter_(vars, store, *this, std::move(setup))
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &MainWindow::windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    // Kuvell's icon, for the task switcher (none where the program carries no resources).
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(KUVELL_ICON_RESOURCE));
    RegisterClassExW(&windowClass);
    // A borderless, sizable tool window: no caption, no taskbar button.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_LAYERED, kClassName, L"Kuvell",
                              WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN, 0, 0, kMaxWindowWidth,
                              kMaxWindowWidth, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("the main window could not be made: " +
                                 systemReason(GetLastError()));
    }
    dpi_ = windowDpi(window_);
    // A layered window shows nothing until it has an opacity; opaque unless
    // the stored transparency says otherwise.
    SetLayeredWindowAttributes(window_, 0, 255, LWA_ALPHA);
    createControls(instance);
    tray_ = std::make_unique<TrayIcon>(window_, kTrayMessage);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    SetTimer(window_, kTickTimer, kTickMilliseconds, nullptr);
}

MainWindow::~MainWindow()
{
    // No message reaches a window that is half taken apart.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    tray_.reset();
    graphView_.reset();
    DestroyWindow(window_);
    if (labelFont_ != nullptr) {
        DeleteObject(labelFont_);
    }
}

void MainWindow::createControls(HINSTANCE instance)
{
    // The sunken frame around the graph; the graph moves and is clipped inside it.
    graphPanel_ =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                        0, 0, 0, 0, window_, nullptr, instance, nullptr);
    graphView_ = std::make_unique<GraphSurface>(graphPanel_, instance,
                                                [this](UINT message) { onGraphPressed(message); });
    // A real static text, so screen readers and tests read it with GetWindowTextW.
    rateLabel_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0, 0, 0,
                                 window_, nullptr, instance, nullptr);
    // No graph to show until start-up lays the window out.
    static const PixelImage noGraph;
    placeControls(presenter_.controls(), noGraph);
}

int MainWindow::run()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void MainWindow::setOpacity(int16_t alpha)
{
    SetLayeredWindowAttributes(window_, 0, static_cast<BYTE>(std::clamp<int>(alpha, 0, 255)),
                               LWA_ALPHA);
}

std::vector<PixelRect> MainWindow::screenAreas() const
{
    std::vector<PixelRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, &addScreenArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

void MainWindow::placeWindow(const WindowPlacement& at, bool onTop)
{
    // The size bounds apply in WM_WINDOWPOSCHANGING.
    const auto px = [this](int32_t twips) { return twipsToPixels(twips, dpi_); };
    SetWindowPos(window_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, px(at.left), px(at.top),
                 px(at.width), px(at.height), SWP_NOACTIVATE);
}

PixelSize MainWindow::windowSize() const
{
    const PixelRect outer = outerRect();
    return {outer.width, outer.height};
}

void MainWindow::resizeWindow(PixelSize size)
{
    SetWindowPos(window_, nullptr, 0, 0, size.width, size.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The controls come in outer window coordinates; children stand in the client
// area, inside the system's sizing frame, and are clipped to it as the core
// expects.
void MainWindow::placeControls(const MainControls& controls, const PixelImage& graph)
{
    if (rateLabel_ == nullptr) {
        return;  // a resize while the window is being made
    }
    POINT client{0, 0};
    ClientToScreen(window_, &client);
    const PixelRect outer = outerRect();
    const int dx = client.x - outer.x;
    const int dy = client.y - outer.y;
    const auto inClient = [dx, dy](PixelRect rect) {
        rect.x -= dx;
        rect.y -= dy;
        return rect;
    };
    moveChild(graphPanel_, inClient(controls.panel));
    // The graph's place counts from the panel's outer corner; the panel's own
    // frame (the system's width at every scale) lies before its client area.
    POINT panelClient{0, 0};
    ClientToScreen(graphPanel_, &panelClient);
    RECT panelOuter;
    GetWindowRect(graphPanel_, &panelOuter);
    graphView_->place(
        controls.graph.translated(panelOuter.left - panelClient.x, panelOuter.top - panelClient.y),
        graph);
    moveChild(rateLabel_, inClient(controls.rateLabel));
    setLabelFont(controls.rateLabelFontPoints);
}

void MainWindow::setLabelFont(double points)
{
    if (points == labelPoints_ && dpi_ == labelDpi_) {
        return;
    }
    const int height = -static_cast<int>(std::nearbyint(points * dpi_ / 72.0));
    HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    if (font == nullptr) {
        return;
    }
    SendMessageW(rateLabel_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (labelFont_ != nullptr) {
        DeleteObject(labelFont_);
    }
    labelFont_ = font;
    labelPoints_ = points;
    labelDpi_ = dpi_;
}

void MainWindow::showRates(std::string_view line)
{
    SetWindowTextW(rateLabel_, wide(line).c_str());
}

void MainWindow::updateTrayIcon(std::optional<int> picture, std::optional<std::string_view> tip)
{
    tray_->modify(picture, tip);
}

void MainWindow::showWindow(bool activate)
{
    ShowWindow(window_, SW_SHOW);
    if (activate) {
        SetForegroundWindow(window_);
    }
}

PixelRect MainWindow::outerRect() const
{
    RECT outer;
    GetWindowRect(window_, &outer);
    return {outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top};
}

void MainWindow::showMessage(std::string_view text)
{
    MessageBoxW(window_, wide(text).c_str(), L"Kuvell", MB_OK | MB_ICONWARNING);
}

void MainWindow::exitProgram(int status) { PostQuitMessage(status); }

void MainWindow::logNote(std::string_view text)
{
    OutputDebugStringW((L"kuvell: " + wide(text) + L"\n").c_str());
}

void MainWindow::beginMove()
{
    // The system's own move loop, as a press on a caption would start it.
    ReleaseCapture();
    SendMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void MainWindow::showPopupMenu(bool fromTray)
{
    // The tray's menu lists the interfaces of the moment it opens.
    const std::vector<InterfaceMenuEntry> interfaces =
        fromTray ? presenter_.openInterfaceMenu() : std::vector<InterfaceMenuEntry>();
    HMENU menu = fromTray ? createTrayMenu(interfaces) : createGraphMenu();
    POINT at;
    GetCursorPos(&at);
    // Without the foreground the menu would not close on a click elsewhere.
    SetForegroundWindow(window_);
    const UINT command = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window_, nullptr));
    PostMessageW(window_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (command == kQuitCommand) {
        presenter_.quit();
    } else if (command == kOptionsCommand) {
        openSettings();
    } else if (const auto entry = interfaceEntryOf(command, interfaces.size())) {
        presenter_.interfaceMenuChosen(*entry);
    }
}

void MainWindow::openSettings()
{
    // The tray's menu still answers while the dialog is open: one dialog at a time.
    if (settingsWindow_ != nullptr) {
        SetForegroundWindow(settingsWindow_);
        return;
    }
    SettingsDialog dialog(vars_, store_, *this, window_, RunValueTarget{});
    if (!dialog.open()) {
        logNote("the settings dialog could not be made");
        return;
    }
    settingsWindow_ = dialog.window();
    dialog.runModal();
    settingsWindow_ = nullptr;
}

void MainWindow::nudgeSize()
{
    // Height first, then width, one pixel (15 twips) each, from the size before the nudge.
    const PixelSize before = windowSize();
    resizeWindow({before.width, before.height + 1});
    resizeWindow({before.width + 1, before.height + 1});
}

void MainWindow::setTopMost(bool onTop)
{
    SetWindowPos(window_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::onGraphPressed(UINT message)
{
    if (message == WM_RBUTTONDOWN) {
        showPopupMenu(false);
    } else {
        beginMove();
    }
}

// The window moved onto a monitor of another scale: the system's suggested
// rectangle keeps it where the user put it, at the size the new scale gives.
void MainWindow::onDpiChanged(int dpi, const RECT& suggested)
{
    dpi_ = dpi;
    tray_->setDpi(dpi);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Laid out again at the new scale also when the size stayed.
    presenter_.resized(windowSize());
}

void MainWindow::onTrayMessage(LPARAM mouseMessage)
{
    switch (LOWORD(mouseMessage)) {
        case WM_LBUTTONDBLCLK:
            presenter_.trayClicked(TrayClick::Double, static_cast<int64_t>(GetTickCount64()));
            break;
        case WM_LBUTTONUP:
            presenter_.trayClicked(TrayClick::Single, static_cast<int64_t>(GetTickCount64()));
            break;
        case WM_RBUTTONUP:
            showPopupMenu(true);
            break;
        default:
            break;
    }
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_TIMER:
            if (wParam == kTickTimer) {
                presenter_.tick();
            }
            return 0;
        case WM_SIZE:
            if (rateLabel_ != nullptr) {
                presenter_.resized(windowSize());
            }
            return 0;
        case WM_GETMINMAXINFO:
            if (sizeBounded_) {
                auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
                const WindowSizeBounds bounds = windowSizeBounds(dpi_);
                info->ptMinTrackSize = {bounds.smallest.cx, bounds.smallest.cy};
                info->ptMaxTrackSize = {bounds.largest.cx, bounds.largest.cy};
                return 0;
            }
            break;
        case WM_WINDOWPOSCHANGING:
            // Every size change, the program's own included, stays within the bounds.
            if (auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
                sizeBounded_ && (pos->flags & SWP_NOSIZE) == 0) {
                const WindowSize bounded = clampWindowSize({pos->cx, pos->cy}, dpi_);
                pos->cx = bounded.cx;
                pos->cy = bounded.cy;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: {
            // The rate line lets presses through to the window: either button moves it.
            const PixelRect line = childRect(rateLabel_);
            if (line.contains(static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam)))) {
                beginMove();
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == rateLabel_) {
                HDC context = reinterpret_cast<HDC>(wParam);
                SetTextColor(context, GetSysColor(COLOR_WINDOWTEXT));
                SetBkColor(context, GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            }
            break;
        case kTrayMessage:
            onTrayMessage(lParam);
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            presenter_.endWithoutSaving();
            return 0;
        case WM_ENDSESSION:
            if (wParam != FALSE) {
                presenter_.endWithoutSaving();
            }
            return 0;
        default:
            if (taskbarCreated_ != 0 && message == taskbarCreated_) {
                tray_->addAgain();
                return 0;
            }
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

}  // namespace kuvell
