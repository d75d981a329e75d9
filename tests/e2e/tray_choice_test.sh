#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The interface to measure, chosen from the tray menu's "Gränssnitt". The
# monitor namespace's first veth carries 10 frames of 1024 bytes a second; an
# idle veth pair made after it holds the last hardware addresses, so with
# nothing chosen Kuvell measures that and shows 0. Choosing the first veth in
# the menu makes the rate line (read over the accessibility bus) show 10 kb/s
# within two ticks and writes interface= to the settings file; "Automatiskt"
# goes back to 0 and removes the key. The totals "Avsluta" saves then grew by
# what the first veth received while it was chosen, and not by what it had
# received before.
#   sni:    the menu as a StatusNotifierItem host sees it (sni_host.py on a
#           private session bus): AboutToShow, GetLayout and a "clicked" event.
#   xembed: the menu Qt opens on a right click on the icon in trayer, an XEmbed
#           tray, walked with the keyboard.
#
#   tray_choice_test.sh <kuvell> <kuvell_e2e_pacer> <kuvell_e2e_label> sni|xembed
set -euo pipefail
export LC_ALL=C.UTF-8
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"

readonly FRAME=1024 FRAMES=10 INITIAL_TOTAL=1000
usage="usage: tray_choice_test.sh <kuvell> <kuvell_e2e_pacer> <kuvell_e2e_label> sni|xembed"
kuvell=${1:?$usage}
pacer=${2:?$usage}
label=${3:?$usage}
mode=${4:?$usage}
[[ "$mode" =~ ^(sni|xembed)$ ]] || e2e_fail "$usage"
for binary in "$kuvell" "$pacer" "$label"; do
    e2e_require_binary "$binary"
done
e2e_require_program dbus-daemon dbus-daemon
e2e_require_program xdotool xdotool
[[ -x /usr/libexec/at-spi-bus-launcher ]] ||
    e2e_unavailable "the accessibility bus is not installed (Debian package at-spi2-core)"
python=/usr/bin/python3
if [[ "$mode" == sni ]]; then
    "$python" -c 'import dbus, dbus.mainloop.glib, gi.repository.GLib' 2>/dev/null ||
        e2e_unavailable "python3 cannot talk D-Bus (Debian packages python3-dbus and python3-gi)"
else
    e2e_require_program trayer trayer
fi
e2e_netns_pair
mon_index=$(ip netns exec "$NS_MON" cat "/sys/class/net/$IF_MON/ifindex")
IDLE_A="${IF_MON}i" IDLE_B="${IF_MON}j"
ip -n "$NS_MON" link add "$IDLE_A" index $((mon_index + 10)) type veth peer name "$IDLE_B" index $((mon_index + 11))

artifacts=${E2E_ARTIFACTS:-${TMPDIR:-/tmp}/kuvell-e2e-artifacts}/tray-choice-$mode
mkdir -p "$artifacts"
e2e_tempdir work
# Every D-Bus party lives in the monitor namespace with Kuvell: the
# accessibility bus that the session starts listens on an abstract socket,
# which only that namespace sees.
in_mon() { ip netns exec "$NS_MON" "$@"; }
host="in_mon $python $here/sni_host.py"
ini=$work/config/kuvell/kuvell.ini
readings=$artifacts/readings

fail_with_evidence()
{
    e2e_screenshot "$artifacts/screen.png"
    echo "--- the rate line, read as time and text ---" >&2
    tail -n 40 "$readings" >&2 || true
    echo "--- Kuvell's output ---" >&2
    cat "$artifacts/kuvell.log" >&2 || true
    echo "--- the settings file ---" >&2
    cat "$ini" >&2 || true
    e2e_fail "$*"
}

e2e_start_xvfb
mkdir -p "$work/config/kuvell" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
bus_address="unix:path=$work/bus.socket"
in_mon dbus-daemon --session --nofork --nopidfile --address="$bus_address" >"$artifacts/bus.log" 2>&1 &
e2e_track_pid $!
e2e_wait_until 20 test -S "$work/bus.socket" || e2e_fail "the private session bus did not start"
export DBUS_SESSION_BUS_ADDRESS=$bus_address
if [[ "$mode" == sni ]]; then
    $host watch "$work/items" >"$artifacts/host.log" 2>&1 &
    e2e_track_pid $!
    watcher_up() { in_mon dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2>/dev/null | grep -q true; }
    e2e_wait_until 20 watcher_up || fail_with_evidence "the stand-in watcher did not take its name"
else
    trayer --edge top --align right --widthtype pixel --width 96 --height 32 >"$artifacts/trayer.log" 2>&1 &
    e2e_track_pid $!
    tray_up() { xdotool search --class trayer >/dev/null 2>&1; }
    e2e_wait_until 20 tray_up || fail_with_evidence "trayer did not start"
fi

printf '[setting]\nDLtot=%s\nULtot=%s\n' "$INITIAL_TOTAL" "$INITIAL_TOTAL" >"$ini"
ip netns exec "$NS_SND" "$pacer" 7001 "$ADDR_MON" 7001 $((FRAMES * FRAME)) 90 "$FRAME" >/dev/null &
e2e_track_pid $!
ip netns exec "$NS_MON" "$pacer" 7001 "$ADDR_SND" 7001 0 90 >/dev/null &
e2e_track_pid $!
ip netns exec "$NS_MON" env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    HOME="$work" XDG_CONFIG_HOME="$work/config" "$kuvell" >"$artifacts/kuvell.log" 2>&1 &
kuvell_pid=$!
e2e_track_pid "$kuvell_pid"
label_start=$(date +%s.%N)
in_mon "$label" 90 250 >"$readings" 2>"$artifacts/label.log" &
e2e_track_pid $!

window_shown() { [[ -n "$(e2e_window_named "$kuvell_pid" Kuvell)" ]]; }
e2e_wait_until 30 window_shown || fail_with_evidence "no window titled Kuvell appeared within 30 s"
if [[ "$mode" == sni ]]; then
    e2e_wait_until 15 test -s "$work/items" || fail_with_evidence "Kuvell registered no StatusNotifierItem"
    item=$(head -n1 "$work/items")
else
    # The icon is Kuvell's second mapped window, embedded in the tray.
    tray_icon() { e2e_visible_windows "$kuvell_pid" | grep -vx "$(e2e_window_named "$kuvell_pid" Kuvell)" | head -n1; }
    e2e_wait_until 15 tray_icon >/dev/null || fail_with_evidence "Kuvell's icon did not appear in trayer"
    icon=$(tray_icon)
fi

now() { awk -v start="$label_start" -v now="$(date +%s.%N)" 'BEGIN { printf "%.2f", now - start }'; }
# rates_since <seconds>: the download rates read since then, one a line.
rates_since()
{
    awk -v since="$1" '$1 >= since && $2 == "DL:" { print $3 }' "$readings"
}
# shows_since <seconds> <low> <high>: a rate read since then lies within low..high.
shows_since()
{
    rates_since "$1" | awk -v low="$2" -v high="$3" '$1 >= low && $1 <= high { found = 1 } END { exit !found }'
}
rx() { e2e_counter "$NS_MON" "$IF_MON" rx_bytes; }

# A right click on the icon in trayer opens the tray menu. Not --sync: the
# pointer already on the icon would never move, and xdotool would wait.
open_tray_menu()
{
    local x y w h
    read -r x y w h < <(e2e_geometry "$icon")
    xdotool mousemove $((x + w / 2)) $((y + h / 2))
    sleep 0.2
    xdotool click 3
    sleep 0.7
}

# entries: the submenu's entries as a StatusNotifierItem host shows them,
# "<ticked> <enabled> <caption>".
entries() { $host entries "$item" Gränssnitt; }
# choose <caption> <position from the top>: picks the submenu's entry.
choose()
{
    if [[ "$mode" == sni ]]; then
        $host click "$item" "$1" Gränssnitt
        return
    fi
    open_tray_menu
    # "Gränssnitt" is the first entry: Down selects it, Right opens it.
    xdotool key Down Right
    sleep 0.5
    local steps=()
    for ((i = 1; i < $2; i++)); do steps+=(Down); done
    xdotool key "${steps[@]}" Return
}

# Nothing chosen: the idle pair is measured.
sleep 4
shows_since 1 0 0 || fail_with_evidence "no rate line read 0 while the idle pair was measured"
! shows_since 1 1 1000000 || fail_with_evidence "with nothing chosen a rate other than 0 was read"
if [[ "$mode" == sni ]]; then
    menu=$(entries) || fail_with_evidence "the exported menu has no Gränssnitt submenu"
    echo "--- the submenu as the host shows it:"$'\n'"$menu"
    grep -qx "1 1 Automatiskt" <<<"$menu" || fail_with_evidence "Automatiskt is not ticked: $menu"
    grep -qx "0 1 $IF_MON – uppe" <<<"$menu" || fail_with_evidence "$IF_MON is not offered as up: $menu"
    grep -qx "0 1 $IDLE_B – nere" <<<"$menu" || fail_with_evidence "$IDLE_B is not offered as down: $menu"
fi

# lo, the first veth, then the idle pair: the first veth is the submenu's third entry.
# The times are taken once the choice is made: a menu walked by keys takes a while.
before_switch=$(rx)
choose "$IF_MON – uppe" 3 || fail_with_evidence "the menu's $IF_MON could not be chosen"
switched=$(now)
e2e_wait_until 5 grep -qx "interface=$IF_MON" "$ini" || fail_with_evidence "interface=$IF_MON was not written"
sleep 3
shows_since "$switched" 8.9 11.1 || fail_with_evidence "the chosen $IF_MON showed no 10 kb/s within three seconds"
first_rate=$(awk -v since="$switched" '$1 >= since && $2 == "DL:" && $3 >= 8.9 { print $1; exit }' "$readings")
# Two ticks, and what it takes to read the line.
awk -v at="$first_rate" -v since="$switched" 'BEGIN { exit !(at - since <= 2.5) }' ||
    fail_with_evidence "10 kb/s came $first_rate s after the choice at $switched s: more than two ticks"
if [[ "$mode" == sni ]]; then
    grep -qx "1 1 $IF_MON – uppe" <<<"$(entries)" || fail_with_evidence "$IF_MON is not ticked once chosen"
fi
sleep 3

# "Automatiskt" is the first entry.
before_back=$(rx)
choose Automatiskt 1 || fail_with_evidence "the menu's Automatiskt could not be chosen"
back=$(now)
e2e_wait_until 5 bash -c "! grep -q '^interface=' '$ini'" || fail_with_evidence "Automatiskt left the key in the file"
sleep 3
since_back=$(rates_since "$(awk -v t="$back" 'BEGIN { print t + 1.3 }')" | sort -u | tr '\n' ' ')
[[ "$since_back" == "0 " ]] || fail_with_evidence "after Automatiskt the rates read were $since_back, not 0"

if [[ "$mode" == sni ]]; then
    $host click "$item" Avsluta || fail_with_evidence "the menu's Avsluta could not be clicked"
else
    open_tray_menu
    xdotool key Up Return  # "Avsluta" is the last entry
fi
kuvell_gone() { ! kill -0 "$kuvell_pid" 2>/dev/null; }
e2e_wait_until 15 kuvell_gone || fail_with_evidence "Kuvell still runs 15 s after it was asked to end"
e2e_untrack_pid "$kuvell_pid"
total=$(sed -n 's/^DLtot=//p' "$ini")
grown=$((total - INITIAL_TOTAL))
carried=$((before_back - before_switch))
# The first tick after the choice is only the baseline, and the last one before
# Automatiskt took effect may fall a little after its counter was read: about
# two ticks' traffic may be missing, one more tick's may have come in. What the
# veth received before the choice (tens of kilobytes by then) must not count.
((grown <= carried + FRAMES * FRAME && grown >= carried - 3 * FRAMES * FRAME)) ||
    fail_with_evidence "the totals grew by $grown bytes; $IF_MON received $carried while chosen" \
        "and $before_switch before"
echo "PASS ($mode): 0 with nothing chosen, 10 kb/s within two ticks of choosing $IF_MON, interface= written" \
    "and removed again; the totals grew by $grown of the $carried bytes received while chosen"

