#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# kuvell-ifstat.exe under wine, on the interface table wine reads from the
# kernel: inside a monitor namespace joined to a sender namespace by a veth
# pair, it lists the veth, --watch shows 10 kb/s for 10 frames of 1024 bytes a
# second arriving, and Ctrl+C ends --watch cleanly.
#
#   ifstat_wine_test.sh <kuvell-ifstat.exe> <kuvell_e2e_pacer> <wine64>
# WINEPREFIX names a prefix that wineboot has made.
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../lib.sh"

readonly FRAME=1024 FRAMES_PER_SECOND=10 LINES=10 WARMUP_LINES=2
export RATE_LINE='^DL: ([0-9]+(\.[0-9]+)?) kb/s - UL: ([0-9]+(\.[0-9]+)?) kb/s$'

usage="usage: ifstat_wine_test.sh <kuvell-ifstat.exe> <kuvell_e2e_pacer> <wine64>"
ifstat=${1:?$usage}
pacer=${2:?$usage}
wine=${3:?$usage}
e2e_require_binary "$ifstat"
e2e_require_binary "$pacer"
[[ -x "$wine" ]] || e2e_unavailable "wine64 is not installed (Debian package wine64)"
[[ -f "${WINEPREFIX:?}/system.reg" ]] || e2e_fail "no wine prefix in $WINEPREFIX"
wineserver=$(dirname "$wine")/wineserver

# wine reads the interface table in its server's processes: a server left
# running outside the namespace would show that namespace's interfaces instead.
stop_wineserver() { "$wineserver" -k 2>/dev/null || true; }
stop_wineserver
trap 'stop_wineserver; e2e_cleanup' EXIT

e2e_netns_pair
in_monitor() { ip netns exec "$NS_MON" "$@"; }
# Windows consoles end lines with CR LF.
run_ifstat() { in_monitor "$wine" "$ifstat" "$@" | tr -d '\r'; }

# The hardware address as kuvell-ifstat writes it: 00 for a zero byte, else
# upper-case hex without a leading zero.
address=$(in_monitor cat "/sys/class/net/$IF_MON/address" |
    awk -F: '{ for (i = 1; i <= NF; i++) { b = toupper($i); sub(/^0/, "", b); if (b == "") b = "00";
                                           printf "%s%s", (i > 1 ? "-" : ""), b } }')

rows=$(run_ifstat) || e2e_fail "kuvell-ifstat.exe failed:"$'\n'"$rows"
echo "$rows"
awk -F'\t' -v ifname="$IF_MON" -v address="$address" '
    $3 == ifname && $7 == address && $8 == 1 && $9 == 5 { found = 1 }
    END { exit !found }' <<<"$rows" ||
    e2e_fail "no row of $IF_MON (address $address, up and operational)"
grep -q '^BytesReceived [0-9-]* BytesSent [0-9-]*$' <<<"$rows" || e2e_fail "no counter line"

# The monitor end drains its port, so no "port unreachable" replies travel back
# up the veth; its own frames go to its loopback, which is not counted.
seconds=$((LINES + 10))
ip netns exec "$NS_SND" "$pacer" 7001 "$ADDR_MON" 7001 $((FRAME * FRAMES_PER_SECOND)) "$seconds" "$FRAME" \
    >/dev/null &
e2e_track_pid $!
in_monitor "$pacer" 7001 127.0.0.1 7009 "$FRAME" "$seconds" "$FRAME" >/dev/null &
e2e_track_pid $!

watched=$(run_ifstat --watch --count "$LINES") || e2e_fail "--watch failed:"$'\n'"$watched"
echo "$watched"
# A tick boundary may fall either side of a frame: one frame more or less a
# line, while the lines together must count every frame of their span.
verdict=$(awk -v warmup="$WARMUP_LINES" -v lines="$LINES" -v rate="$FRAMES_PER_SECOND" '
    $0 !~ ENVIRON["RATE_LINE"] { print "not a rate line: " $0; next }
    NR > warmup {
        dl = $2; ul = $6; sum += dl; n++
        if (dl < rate - 1.1 || dl > rate + 1.1) print "line " NR ": DL " dl " kb/s"
        if (ul > 0.2) print "line " NR ": UL " ul " kb/s"
    }
    END {
        if (NR != lines) print NR " lines, not " lines
        if (n > 0 && (sum / n < rate - 0.3 || sum / n > rate + 0.3)) print "mean DL " sum / n " kb/s"
    }' <<<"$watched")
[[ -z "$verdict" ]] || e2e_fail $'\n'"$verdict"

# Ctrl+C (SIGINT, which wine turns into the console's CTRL_C_EVENT) after two lines.
e2e_tempdir dir
ip netns exec "$NS_MON" "$wine" "$ifstat" --watch >"$dir/out" 2>&1 &
watcher=$!
e2e_track_pid "$watcher"
two_lines() { (($(grep -c kb/s "$dir/out") >= 2)); }
e2e_wait_until 20 two_lines || e2e_fail "--watch printed: $(cat "$dir/out")"
kill -INT "$watcher"
status=0
wait "$watcher" || status=$?
e2e_untrack_pid "$watcher"
tr -d '\r' <"$dir/out"
((status == 0)) || e2e_fail "Ctrl+C ended --watch with status $status"
if tr -d '\r' <"$dir/out" | grep -Evq "$RATE_LINE"; then
    e2e_fail "Ctrl+C left something other than whole rate lines"
fi
echo "PASS: kuvell-ifstat.exe lists $IF_MON, shows $FRAMES_PER_SECOND kb/s arriving, and ends on Ctrl+C"
