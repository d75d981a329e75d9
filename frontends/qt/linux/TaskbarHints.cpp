// SPDX-License-Identifier: MIT
#include "frontends/qt/TaskbarHints.h"

#include <xcb/xcb.h>

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace kuvell {

namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

bool isMapped(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr);
    const bool mapped = reply != nullptr && reply->map_state != XCB_MAP_STATE_UNMAPPED;
    std::free(reply);
    return mapped;
}

// The atoms the property holds now.
std::vector<xcb_atom_t> stateAtoms(xcb_connection_t* connection, xcb_window_t window,
                                   xcb_atom_t state)
{
    std::vector<xcb_atom_t> atoms;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 1024),
        nullptr);
    if (reply != nullptr && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        atoms.assign(values, values + count);
    }
    std::free(reply);
    return atoms;
}

// A mapped window's state belongs to the window manager: it is asked by a message to the root.
void requestStates(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t state,
                   const std::array<xcb_atom_t, 2>& wanted)
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen == nullptr) {
        return;
    }
    constexpr uint32_t kAdd = 1;
    constexpr uint32_t kFromApplication = 1;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = state;
    message.data.data32[0] = kAdd;
    message.data.data32[1] = wanted[0];
    message.data.data32[2] = wanted[1];
    message.data.data32[3] = kFromApplication;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

// The window's states, asked for on its current native window: Qt may replace that
// window at a show (after an always-on-top change), so the request is made again
// once the window is on screen.
void requestOffTaskbar(QWindow* handle)
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    const auto native = static_cast<xcb_window_t>(handle->winId());
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const std::array<xcb_atom_t, 2> wanted = {internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                              internAtom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    if (state == XCB_ATOM_NONE || wanted[0] == XCB_ATOM_NONE || wanted[1] == XCB_ATOM_NONE) {
        return;
    }
    std::vector<xcb_atom_t> atoms = stateAtoms(connection, native, state);
    const auto holds = [&atoms](xcb_atom_t atom) {
        return std::find(atoms.begin(), atoms.end(), atom) != atoms.end();
    };
    if (holds(wanted[0]) && holds(wanted[1])) {
        return;
    }
    if (isMapped(connection, native)) {
        requestStates(connection, native, state, wanted);
    } else {
        // Qt adds its own states (above, modal, ...) to what the property holds at map time.
        for (const xcb_atom_t atom : wanted) {
            if (!holds(atom)) {
                atoms.push_back(atom);
            }
        }
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, native, state, XCB_ATOM_ATOM, 32,
                            static_cast<uint32_t>(atoms.size()), atoms.data());
    }
    xcb_flush(connection);
}

// Asks before every map (a show event comes just before it, and a withdrawn window
// has lost its states) and again when the window is exposed.
class OffTaskbarKeeper final : public QObject
{
  public:
    explicit OffTaskbarKeeper(QWidget* window) : QObject(window), window_(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Show) {
            window_->winId();  // the native window exists from here on
            QWindow* handle = window_->windowHandle();
            if (handle != handle_) {
                handle_ = handle;
                handle_->installEventFilter(this);
            }
            requestOffTaskbar(handle_);
        } else if (watched == handle_ && event->type() == QEvent::Expose && handle_->isExposed()) {
            requestOffTaskbar(handle_);
        }
        return false;
    }

  private:
    QWidget* window_;
    QPointer<QWindow> handle_;
};

}  // namespace

void keepOffTaskbar(QWidget* window)
{
    if (window == nullptr || !window->isWindow() || qGuiApp == nullptr ||
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>() == nullptr) {
        return;
    }
    new OffTaskbarKeeper(window);
}

}  // namespace kuvell
