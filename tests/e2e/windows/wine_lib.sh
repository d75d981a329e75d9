# SPDX-License-Identifier: MIT
# Helpers for the tests that run kuvell.exe under wine on a private Xvfb inside
# a monitor namespace. Source it after lib.sh with the test's arguments,
#   <kuvell.exe> <window_probe.exe> <kuvell_e2e_pacer> <wine64>;
# it checks them and sets kuvell, probe, pacer and wine. start_kuvell writes into $dir.

readonly FRAME=1024 FRAMES_PER_SECOND=10
readonly SETTINGS='HKCU\Software\kuvell'
usage="usage: $(basename "$0") <kuvell.exe> <window_probe.exe> <kuvell_e2e_pacer> <wine64>"
kuvell=${1:?$usage}
probe=${2:?$usage}
pacer=${3:?$usage}
wine=${4:?$usage}
e2e_require_binary "$kuvell"
e2e_require_binary "$probe"
e2e_require_binary "$pacer"
[[ -x "$wine" ]] || e2e_unavailable "wine64 is not installed (Debian package wine64)"
[[ -f "${WINEPREFIX:?}/system.reg" ]] || e2e_fail "no wine prefix in $WINEPREFIX"
e2e_require_program xdpyinfo x11-utils
wineserver=$(dirname "$wine")/wineserver

# wine reads the interface table in its server's processes, so the server must
# start inside the namespace; and none may outlive the test.
stop_wineserver() { "$wineserver" -k 2>/dev/null || true; "$wineserver" -w 2>/dev/null || true; }

# The prefix's other tests use wine's null display driver; these need the X
# server, and give the prefix back as they found it, its dpi too. Sets the EXIT trap.
readonly DRIVERS='HKCU\Software\Wine\Drivers'
graphics_driver() { "$wine" reg add "$DRIVERS" /v Graphics /d "$1" /f >/dev/null 2>&1; }
# The screen's dots per inch, which each wine process reads as it starts; the
# tests begin at 96.
readonly DESKTOP='HKCU\Control Panel\Desktop'
log_pixels() { "$wine" reg add "$DESKTOP" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
restore_driver() {
    stop_wineserver
    if [[ -n "$previous_driver" ]]; then
        graphics_driver "$previous_driver"
    else
        "$wine" reg delete "$DRIVERS" /v Graphics /f >/dev/null 2>&1 || true
    fi
    if [[ -n "$previous_dpi" ]]; then
        log_pixels $((previous_dpi))
    else
        "$wine" reg delete "$DESKTOP" /v LogPixels /f >/dev/null 2>&1 || true
    fi
    stop_wineserver
}
wine_on_x_server() {
    stop_wineserver
    previous_driver=$("$wine" reg query "$DRIVERS" /v Graphics 2>/dev/null | tr -d '\r' |
        awk '$1 == "Graphics" { print $3 }' || true)
    previous_dpi=$("$wine" reg query "$DESKTOP" /v LogPixels 2>/dev/null | tr -d '\r' |
        awk '$1 == "LogPixels" { print $3 }' || true)
    stop_wineserver
    trap 'restore_driver; e2e_cleanup' EXIT
    graphics_driver x11
    log_pixels 96
    stop_wineserver
}

in_monitor() { ip netns exec "$NS_MON" "$@"; }
# Windows consoles end lines with CR LF.
wine_run() { in_monitor "$wine" "$@" | tr -d '\r'; }

start_kuvell() {
    in_monitor "$wine" "$kuvell" >"$dir/out" 2>&1 &
    kuvell_pid=$!
    e2e_track_pid "$kuvell_pid"
    e2e_wait_until 60 rate_shown || e2e_fail "no window titled Kuvell with a rate line: $(wine_run "$probe")"
    report=$(wine_run "$probe")
    echo "$report"
}
rate_shown() { [[ "$(probe_key rate)" == DL:* ]]; }
# field <key>: the probe's line for the key, from its last report.
field() { awk -v key="$1" '$1 == key { sub(/^[^ ]+ /, ""); print; exit }' <<<"$report"; }
probe_key() {
    local report
    report=$(wine_run "$probe")
    field "$1"
}
ended_with_0() {
    local status=0
    wait "$kuvell_pid" || status=$?
    e2e_untrack_pid "$kuvell_pid"
    ((status == 0)) || e2e_fail "kuvell.exe ended with status $status: $(cat "$dir/out")"
}
# expect_stored <left> <top> <width> <height>: the totals and this placement
# in twips are stored; sets saved to what reg shows.
expect_stored() {
    saved=$(wine_run reg query "$SETTINGS\\setting")
    echo "$saved"
    local value
    for value in "DLtot REG_SZ [0-9]+" "ULtot REG_SZ [0-9]+" "windowsposx REG_SZ $1" \
        "windowsposy REG_SZ $2" "windowswidth REG_SZ $3" "windowsheight REG_SZ $4"; do
        grep -Eq "^ +${value// / +}\$" <<<"$saved" || e2e_fail "after Avsluta no value like '$value'"
    done
}
# store_placement <left> <top> <width>: twips for a next start.
store_placement() {
    wine_run reg add "$SETTINGS\\setting" /v windowsposx /t REG_SZ /d "$1" /f >/dev/null
    wine_run reg add "$SETTINGS\\setting" /v windowsposy /t REG_SZ /d "$2" /f >/dev/null
    wine_run reg add "$SETTINGS\\setting" /v windowswidth /t REG_SZ /d "$3" /f >/dev/null
}
expect_rect() { [[ "$(field rect)" == "$1" ]] || e2e_fail "the window is at $(field rect), not $1"; }

# start_traffic <seconds>: 10 frames of 1024 bytes a second from the sender
# namespace to the monitor's veth end. The monitor end drains its port, so no
# "port unreachable" replies travel back up the veth; its own frames go to its
# loopback, which is not counted.
start_traffic() {
    ip netns exec "$NS_SND" "$pacer" 7001 "$ADDR_MON" 7001 $((FRAME * FRAMES_PER_SECOND)) "$1" "$FRAME" \
        >/dev/null &
    e2e_track_pid $!
    in_monitor "$pacer" 7001 127.0.0.1 7009 "$FRAME" "$1" "$FRAME" >/dev/null &
    e2e_track_pid $!
}
# The rate line with the traffic arriving: a tick boundary may fall either
# side of a frame, one frame more or less.
arriving() { [[ "$(probe_key rate)" =~ ^DL:\ (9|10|11)(\.[0-9]+)?\ kb/s\ -\ UL:\ 0\ kb/s$ ]]; }
