#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Kuvell's tray icon on a StatusNotifierItem host: a private session bus with a
# stand-in watcher and host (sni_host.py) receives Kuvell's item. Two
# activations 120 ms apart (one double-click) hide the window, one more shows
# it, the icon comes drawn at each of the five sizes, and the exported menu
# holds "Gränssnitt", "Inställningar" and "Avsluta"; "Avsluta" there ends
# Kuvell with status 0 after saving.
# openbox: the same under openbox, whose _NET_WM_STATE for the window must hold
# SKIP_TASKBAR, SKIP_PAGER and ABOVE from the first map on and after hide/show.
#
#   tray_test.sh <kuvell> [plain|openbox]
set -euo pipefail
export LC_ALL=C.UTF-8
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"

usage="usage: tray_test.sh <kuvell> [plain|openbox]"
kuvell=${1:?$usage}
mode=${2:-plain}
[[ "$mode" =~ ^(plain|openbox)$ ]] || e2e_fail "$usage"
e2e_require_binary "$kuvell"
e2e_require_program xdotool xdotool
e2e_require_program dbus-daemon dbus-daemon
# Debian's own interpreter, where python3-dbus lives, whatever python3 the PATH finds first.
python=/usr/bin/python3
"$python" -c 'import dbus, dbus.mainloop.glib, gi.repository.GLib' 2>/dev/null ||
    e2e_unavailable "python3 cannot talk D-Bus (Debian packages python3-dbus and python3-gi)"

[[ "$mode" == openbox ]] && e2e_require_program openbox openbox && e2e_require_program xprop x11-utils
artifacts=${E2E_ARTIFACTS:-${TMPDIR:-/tmp}/kuvell-e2e-artifacts}/tray-$mode
mkdir -p "$artifacts"
e2e_tempdir work
host="$python $here/sni_host.py"

fail_with_evidence()
{
    e2e_screenshot "$artifacts/screen.png"
    echo "--- Kuvell's output ---" >&2
    cat "$artifacts/kuvell.log" >&2 || true
    echo "--- the host's output ---" >&2
    cat "$artifacts/host.log" >&2 || true
    e2e_fail "$*"
}

# The window manager's record of the window's states; sets missing_states.
off_taskbar()
{
    local window states
    missing_states=(window)
    window=$(e2e_window_named "$kuvell_pid" Kuvell) || return 1
    states=$(xprop -id "$window" _NET_WM_STATE)
    missing_states=()
    for state in _NET_WM_STATE_SKIP_TASKBAR _NET_WM_STATE_SKIP_PAGER _NET_WM_STATE_ABOVE; do
        grep -qw "$state" <<<"$states" || missing_states+=("$state")
    done
    ((${#missing_states[@]} == 0))
}

expect_off_taskbar()
{
    e2e_wait_until 15 off_taskbar || fail_with_evidence "$1, _NET_WM_STATE lacks ${missing_states[*]}"
}

e2e_start_xvfb
if [[ "$mode" == openbox ]]; then
    openbox --sm-disable >"$artifacts/openbox.log" 2>&1 &
    e2e_track_pid $!
    wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
    e2e_wait_until 15 wm_running || fail_with_evidence "openbox did not start"
fi
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus" 2>"$artifacts/bus.log" &
e2e_track_pid $!
e2e_wait_until 20 test -s "$work/bus" || e2e_fail "the private session bus did not start"
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

$host watch "$work/items" >"$artifacts/host.log" 2>&1 &
e2e_track_pid $!
watcher_up() { dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2>/dev/null | grep -q true; }
e2e_wait_until 20 watcher_up || fail_with_evidence "the stand-in watcher did not take its name"

mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
ini=$work/config/kuvell/kuvell.ini
env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
    XDG_RUNTIME_DIR="$work/runtime" "$kuvell" >"$artifacts/kuvell.log" 2>&1 &
kuvell_pid=$!
e2e_track_pid "$kuvell_pid"

window_shown() { [[ -n "$(e2e_window_named "$kuvell_pid" Kuvell)" ]]; }
window_hidden() { ! window_shown; }
e2e_wait_until 30 window_shown || fail_with_evidence "no window titled Kuvell appeared within 30 s"
e2e_wait_until 15 test -s "$work/items" || fail_with_evidence "Kuvell registered no StatusNotifierItem"
item=$(head -n1 "$work/items")
# The window manager settles the states before it maps the window: no waiting here.
if [[ "$mode" == openbox ]] && ! off_taskbar; then
    fail_with_evidence "at the first map, _NET_WM_STATE lacks ${missing_states[*]}"
fi

$host activate "$item" 2 120 || fail_with_evidence "the item refused an activation"
sleep 1  # longer than any double-click interval: a late second toggle would show by now
window_hidden || fail_with_evidence "two activations 120 ms apart did not leave the window hidden"
$host activate "$item" 1 0 || fail_with_evidence "the item refused an activation"
e2e_wait_until 15 window_shown || fail_with_evidence "one more activation did not show the window"
[[ "$mode" == openbox ]] && expect_off_taskbar "shown again after hiding"

labels=$($host menu "$item") || fail_with_evidence "the item exports no readable menu"
[[ "$labels" == $'Gränssnitt\nInställningar\nAvsluta' ]] ||
    fail_with_evidence "the exported menu holds '$labels', expected Gränssnitt, Inställningar and Avsluta"

# The host is sent the picture drawn for each size on the list, none of them empty.
pixmaps=$($host pixmaps "$item") || fail_with_evidence "the item's icon pixmaps are malformed"
sizes=$(awk '$2 > 0 { printf "%s ", $1 }' <<<"$pixmaps")
[[ "$sizes" == "16x16 22x22 24x24 32x32 48x48 " ]] ||
    fail_with_evidence "the item sends the pixmaps '$pixmaps', expected 16 to 48 px, drawn"

$host click "$item" Avsluta || fail_with_evidence "the menu's Avsluta could not be clicked"
kuvell_gone() { ! kill -0 "$kuvell_pid" 2>/dev/null; }
e2e_wait_until 15 kuvell_gone || fail_with_evidence "Kuvell still runs 15 s after the tray's Avsluta"
status=0
wait "$kuvell_pid" || status=$?
e2e_untrack_pid "$kuvell_pid"
((status == 0)) || fail_with_evidence "Kuvell ended with status $status"
grep -q '^DLtot=' "$ini" 2>/dev/null || fail_with_evidence "the tray's Avsluta saved no totals to $ini"
echo "PASS ($mode): item $item sent pixmaps of ${sizes% };" \
    "a double-click toggled once, a single activation showed the window;" \
    "the tray menu's Avsluta saved and ended Kuvell"
