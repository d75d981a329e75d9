#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# kuvell-ifstat --watch on real traffic: a monitor namespace and a sender
# namespace joined by a veth pair, a known byte rate each way and a loopback
# flood inside the monitor namespace. Every printed line must match what the
# kernel counted on the veth between two lines, and loopback must not count.
#
#   traffic_test.sh <kuvell-ifstat> <kuvell_e2e_pacer>
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"

readonly DOWNLOAD_RATE=60000 UPLOAD_RATE=20000 LOOPBACK_RATE=100000 # bytes per second
readonly LINES=14 WARMUP_LINES=2
readonly FRAME=1000 # bytes per frame on the wire, as the pacer sends them
readonly RATE_LINE='^DL: (-?[0-9]+([.,][0-9]+)?) kb/s - UL: (-?[0-9]+([.,][0-9]+)?) kb/s$'

# Runs inside the monitor namespace: one output row per rate line of ifstat,
# "dl ul veth_rx veth_tx lo_rx seconds", the counters read as the line arrives.
measure()
{
    local ifstat=$1 iface=$2 want=$3
    local stats=/sys/class/net/$iface/statistics
    local out reader line rx tx lo_rx got=0 other=0
    exec {out}< <(exec "$ifstat" --watch 2>&1)
    reader=$!
    e2e_track_pid "$reader"
    while ((got < want)); do
        if ! read -r -t 5 -u "$out" line; then
            echo "# kuvell-ifstat printed no line for 5 s (or ended)"
            return 1
        fi
        read -r rx <"$stats/rx_bytes"
        read -r tx <"$stats/tx_bytes"
        read -r lo_rx </sys/class/net/lo/statistics/rx_bytes
        if [[ "$line" =~ $RATE_LINE ]]; then
            echo "${BASH_REMATCH[1]/,/.} ${BASH_REMATCH[3]/,/.} $rx $tx $lo_rx $EPOCHREALTIME"
            got=$((got + 1))
        else
            echo "# $line"
            other=$((other + 1))
            ((other < 500)) || return 1
        fi
    done
}

if [[ "${1:-}" == --measure ]]; then
    shift
    measure "$@"
    exit
fi

ifstat=${1:?usage: traffic_test.sh <kuvell-ifstat> <kuvell_e2e_pacer>}
pacer=${2:?usage: traffic_test.sh <kuvell-ifstat> <kuvell_e2e_pacer>}
e2e_require_binary "$ifstat"
e2e_require_binary "$pacer"
e2e_netns_pair

seconds=$((LINES + 8))
ip netns exec "$NS_SND" "$pacer" 7001 "$ADDR_MON" 7001 "$DOWNLOAD_RATE" "$seconds" >/dev/null &
e2e_track_pid $!
ip netns exec "$NS_MON" "$pacer" 7001 "$ADDR_SND" 7001 "$UPLOAD_RATE" "$seconds" >/dev/null &
e2e_track_pid $!
ip netns exec "$NS_MON" "$pacer" 7002 127.0.0.1 7002 "$LOOPBACK_RATE" "$seconds" >/dev/null &
e2e_track_pid $!
sleep 1

samples=$(ip netns exec "$NS_MON" bash "${BASH_SOURCE[0]}" --measure "$ifstat" "$IF_MON" "$LINES") ||
    e2e_fail "measuring failed; kuvell-ifstat said:"$'\n'"$samples"
echo "dl(kb/s) ul(kb/s) veth_rx veth_tx lo_rx time"
echo "$samples"

# Per line: the printed rate against the kernel's count since the previous line.
# Between the kernel's sample and ours lie only a pipe and a read, so a few
# frames' slack per line covers scheduling; over the whole run the differences
# cancel and the sum must agree far more closely (1 kb/s is 1024 bytes, and
# each printed value is rounded to 0.1 kb/s).
verdict=$(grep -v '^#' <<<"$samples" | awk -v warmup="$WARMUP_LINES" -v frame="$FRAME" \
    -v dl_rate="$DOWNLOAD_RATE" -v ul_rate="$UPLOAD_RATE" -v lo_rate="$LOOPBACK_RATE" '
    function abs(v) { return v < 0 ? -v : v }
    { n++; dl[n] = $1; ul[n] = $2; rx[n] = $3; tx[n] = $4; lo[n] = $5; t[n] = $6 }
    END {
        first = warmup + 1
        if (n < first + 5) { print "too few rate lines: " n; exit }
        line_slack = 8 * frame / 1024
        for (i = first; i <= n; i++) {
            want_dl = (rx[i] - rx[i - 1]) / 1024; want_ul = (tx[i] - tx[i - 1]) / 1024
            if (abs(dl[i] - want_dl) > line_slack)
                printf "line %d: DL %s kb/s but the kernel counted %.1f kb/s\n", i, dl[i], want_dl
            if (abs(ul[i] - want_ul) > line_slack)
                printf "line %d: UL %s kb/s but the kernel counted %.1f kb/s\n", i, ul[i], want_ul
            sum_dl += dl[i] * 1024; sum_ul += ul[i] * 1024
        }
        sum_slack = 4 * frame + 52 * (n - warmup)
        kernel_dl = rx[n] - rx[warmup]; kernel_ul = tx[n] - tx[warmup]
        if (abs(sum_dl - kernel_dl) > sum_slack)
            printf "DL lines add up to %d bytes, the kernel counted %d\n", sum_dl, kernel_dl
        if (abs(sum_ul - kernel_ul) > sum_slack)
            printf "UL lines add up to %d bytes, the kernel counted %d\n", sum_ul, kernel_ul
        span = t[n] - t[warmup]
        # The traffic itself must have flowed as planned, or the comparison proves little.
        if (abs(kernel_dl / span - dl_rate) > dl_rate / 10)
            printf "the veth received %.0f bytes/s, %d were sent\n", kernel_dl / span, dl_rate
        if (abs(kernel_ul / span - ul_rate) > ul_rate / 10)
            printf "the veth sent %.0f bytes/s, %d were planned\n", kernel_ul / span, ul_rate
        if ((lo[n] - lo[warmup]) / span < lo_rate / 2)
            printf "loopback carried only %.0f bytes/s\n", (lo[n] - lo[warmup]) / span
    }')
[[ -z "$verdict" ]] || e2e_fail $'\n'"$verdict"
echo "PASS: the printed rates match the veth's kernel counters; loopback traffic is not counted"
