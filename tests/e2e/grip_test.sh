#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Graph-only layout (graphics=1) under a private Xvfb: a drag on any of the
# four sides of the sizing border resizes the window; none of them moves it.
#
#   grip_test.sh <kuvell>
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"

kuvell=${1:?usage: grip_test.sh <kuvell>}
e2e_require_binary "$kuvell"
e2e_require_program xdotool xdotool
e2e_require_program xwininfo x11-utils

artifacts=${E2E_ARTIFACTS:-${TMPDIR:-/tmp}/kuvell-e2e-artifacts}/grip
mkdir -p "$artifacts"
e2e_tempdir work
mkdir -p "$work/config/kuvell" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
printf '[options]\ngraphics=1\n[setting]\nwindowsposx=3000\nwindowsposy=3000\n' \
    >"$work/config/kuvell/kuvell.ini"

e2e_start_xvfb
env -u DBUS_SESSION_BUS_ADDRESS -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb HOME="$work/home" \
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    "$kuvell" >"$artifacts/kuvell.log" 2>&1 &
kuvell_pid=$!
e2e_track_pid "$kuvell_pid"

find_window() { window=$(e2e_window_named "$kuvell_pid" Kuvell); }
e2e_wait_until 30 find_window || e2e_fail "no window titled Kuvell appeared within 30 s"

# drag <side> <grab x> <grab y> <dx> <dy> <expected "x y w h" after>: presses one
# pixel inside the outer edge, drags, and compares the window's geometry.
drag()
{
    local before after
    before=$(e2e_geometry "$window")
    xdotool mousemove --sync "$2" "$3" mousedown 1
    xdotool mousemove_relative --sync -- "$4" "$5"
    xdotool mouseup 1
    expected=$6
    has_geometry() { [[ "$(e2e_geometry "$window")" == "$expected" ]]; }
    if ! e2e_wait_until 15 has_geometry; then
        e2e_screenshot "$artifacts/$1.png"
        cat "$artifacts/kuvell.log" >&2
        e2e_fail "a drag of $4,$5 on the $1 edge took $before to $(e2e_geometry "$window"), expected $expected"
    fi
}

read -r x y w h < <(e2e_geometry "$window")
drag bottom $((x + w / 2)) $((y + h - 2)) 0 30 "$x $y $w $((h + 30))"
h=$((h + 30))
drag top $((x + w / 2)) $((y + 1)) 0 -20 "$x $((y - 20)) $w $((h + 20))"
y=$((y - 20)) h=$((h + 20))
drag right $((x + w - 2)) $((y + h / 2)) -25 0 "$x $y $((w - 25)) $h"
w=$((w - 25))
drag left $((x + 1)) $((y + h / 2)) -15 0 "$((x - 15)) $y $((w + 15)) $h"
echo "PASS: in graph-only layout every side of the sizing border resizes the window"
