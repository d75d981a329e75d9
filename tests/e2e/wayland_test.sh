#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Kuvell in a Wayland session: a headless weston with XWayland, started here.
# With no platform chosen and DISPLAY set Kuvell opens an X11 window (which it
# can place and keep on top); QT_QPA_PLATFORM=wayland is obeyed; without an X
# server it runs as a Wayland client and says once, on stderr, what is lost.
#
#   wayland_test.sh <kuvell>
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"

kuvell=${1:?usage: wayland_test.sh <kuvell>}
e2e_require_binary "$kuvell"
e2e_require_program weston weston
e2e_require_program Xwayland xwayland
e2e_require_program xdotool xdotool
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
    e2e_unavailable "Qt's Wayland platform is not installed (Debian package qt6-wayland)"

artifacts=${E2E_ARTIFACTS:-${TMPDIR:-/tmp}/kuvell-e2e-artifacts}/wayland
mkdir -p "$artifacts"
e2e_tempdir work
mkdir -p "$work/runtime" "$work/home" "$work/config"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
socket=kuvell-$$

rm -f "$artifacts/weston.log"  # weston adds to an old log
weston --backend=headless-backend.so --xwayland --socket="$socket" --idle-time=0 \
    --log="$artifacts/weston.log" >/dev/null 2>&1 &
e2e_track_pid $!
xwayland_display() { sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p;T;q' "$artifacts/weston.log"; }
xwayland_offered() { [[ -n "$(xwayland_display 2>/dev/null)" ]]; }
e2e_wait_until 20 xwayland_offered ||
    e2e_fail "weston did not offer XWayland: $(tail -n 5 "$artifacts/weston.log")"
x_display=$(xwayland_display)

# run_kuvell <log> <env assignments...>: starts Kuvell in the session; sets kuvell_pid.
run_kuvell()
{
    local log=$1
    shift
    env -u DBUS_SESSION_BUS_ADDRESS -u QT_QPA_PLATFORM -u DISPLAY -u XDG_SESSION_TYPE \
        WAYLAND_DISPLAY="$socket" HOME="$work/home" XDG_CONFIG_HOME="$work/config" "$@" \
        "$kuvell" >"$log" 2>&1 &
    kuvell_pid=$!
    e2e_track_pid "$kuvell_pid"
}

stop_kuvell()
{
    kill -TERM "$kuvell_pid" 2>/dev/null || true
    wait "$kuvell_pid" 2>/dev/null || true
    e2e_untrack_pid "$kuvell_pid"
}

x11_window() { [[ -n "$(DISPLAY=$x_display xdotool search --onlyvisible --name '^Kuvell$' 2>/dev/null)" ]]; }
wayland_window() { grep -q 'xdg_toplevel@[0-9]*\.set_title("Kuvell")' "$1" 2>/dev/null; }
fail_with() { echo "--- Kuvell's output ---" >&2; tail -n 40 "$2" >&2; e2e_fail "$1"; }
note='as a Wayland client the window can neither be placed nor kept on top'

# Nothing chosen, XWayland reachable: an X11 window.
log=$artifacts/auto.log
run_kuvell "$log" DISPLAY="$x_display"
e2e_wait_until 30 x11_window || fail_with "no X11 window titled Kuvell on XWayland ($x_display)" "$log"
stop_kuvell
! grep -qF "$note" "$log" || fail_with "the Wayland note was printed for an X11 client" "$log"

# The user's choice is obeyed: a Wayland window, none on XWayland.
log=$artifacts/chosen.log
run_kuvell "$log" DISPLAY="$x_display" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client
e2e_wait_until 30 wayland_window "$log" || fail_with "QT_QPA_PLATFORM=wayland opened no Wayland window" "$log"
x11_window && fail_with "QT_QPA_PLATFORM=wayland still opened an X11 window" "$log"
stop_kuvell
! grep -qF "$note" "$log" || fail_with "the Wayland note was printed for a chosen platform" "$log"

# No X server: a Wayland client, and the note exactly once.
log=$artifacts/no-x.log
run_kuvell "$log" WAYLAND_DEBUG=client
e2e_wait_until 30 wayland_window "$log" || fail_with "without DISPLAY Kuvell opened no Wayland window" "$log"
stop_kuvell
notes=$(grep -cF "$note" "$log" || true)
((notes == 1)) || fail_with "the note that placement is lost was printed $notes times" "$log"
echo "PASS: X11 window on XWayland $x_display when nothing was chosen; QT_QPA_PLATFORM=wayland obeyed;" \
    "without DISPLAY a Wayland window and one note"
