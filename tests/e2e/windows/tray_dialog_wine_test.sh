#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# kuvell.exe under wine on a private Xvfb that has a real XEmbed tray
# (trayer), in a monitor namespace with 10 frames of 1024 bytes a second
# arriving. Wine docks Kuvell's icon into the tray; a double-click on it hides
# the window and another shows it. A right click on the graph and
# "Inställningar" open "设置" with the controls, captions and sizes of the
# settings dialog's layout; its speed box takes digits only and "好的" stores
# the speed. After a move, "Avsluta" from the tray icon's menu stores the six
# keys, removes the icon and ends with status 0; a second start opens where
# the first one ended, and its "Avsluta" stores totals that went on from the
# first ones.
#
#   tray_dialog_wine_test.sh <kuvell.exe> <window_probe.exe> <kuvell_e2e_pacer> <wine64>
# WINEPREFIX names a prefix that wineboot has made.
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../lib.sh"


e2e_require_program xwininfo x11-utils
e2e_require_program xdotool xdotool
e2e_require_program trayer trayer
source "$here/wine_lib.sh" "$@"
wine_on_x_server

e2e_netns_pair
e2e_start_xvfb
e2e_x_answers in_monitor || e2e_fail "the X server on $DISPLAY is out of the namespace's reach"
e2e_tempdir dir

# Wine docks an icon into an XEmbed tray only if one owns the tray selection
# when the icon is added, so the tray comes first.
trayer --edge top --align left --widthtype request --height 32 >"$dir/trayer.log" 2>&1 &
e2e_track_pid $!
tray_panel() { xwininfo -root -children | awk '/"panel": \("panel" "trayer"\)/ { print $1; exit }'; }
panel_shown() { [[ -n "$(tray_panel)" ]]; }
e2e_wait_until 15 panel_shown || e2e_fail "trayer shows no panel: $(cat "$dir/trayer.log")"
panel=$(tray_panel)
# Wine's icons are windows of its explorer, embedded in the panel.
docked_icon() { xwininfo -id "$panel" -tree | awk '/\("explorer\.exe" "explorer\.exe"\)/ { print $1; exit }'; }
[[ -z "$(docked_icon)" ]] || e2e_fail "the tray holds an icon before Kuvell starts"

# A first start at a stored place, with nothing else stored.
wine_run reg delete "$SETTINGS" /f >/dev/null 2>&1 || true
store_placement 1500 750 3000

# Traffic for the whole test.
start_traffic 120

start_kuvell
expect_rect "100 50 200 164"
main=$(xdotool search --name '^Kuvell$' | head -n1)
[[ -n "$main" ]] || e2e_fail "no X window named Kuvell"

# The icon: docked, then a double-click hides the window and another shows it.
icon_docked() { [[ -n "$(docked_icon)" ]]; }
e2e_wait_until 20 icon_docked || e2e_fail "wine docked no icon into the tray"
read -r x y w h < <(e2e_geometry "$(docked_icon)")
icon_x=$((x + w / 2)) icon_y=$((y + h / 2))
echo "tray icon ${w}x$h at $x,$y"
double_click_icon() { xdotool mousemove --sync "$icon_x" "$icon_y" click --repeat 2 --delay 80 1; }
# shown_as 0|1: wine's idea of the window (IsWindowVisible) and the X server's agree on it.
shown_as() {
    local mapped
    mapped=$(xwininfo -id "$main" | awk '/Map State:/ { print $3 }')
    local want=IsUnMapped
    if [[ "$1" == 1 ]]; then want=IsViewable; fi
    [[ "$(probe_key visible)" == "$1" && "$mapped" == "$want" ]]
}
double_click_icon
e2e_wait_until 10 shown_as 0 || e2e_fail "a double-click on the tray icon did not hide the window"
double_click_icon
e2e_wait_until 10 shown_as 1 || e2e_fail "a second double-click on the tray icon did not show the window"
# Hiding waits for a window manager that never answers here (wine gives up after 2 s).
sleep 1

# "Inställningar", the popup menu's first item, from a right click on the graph.
xdotool mousemove --sync 150 100 click 3
sleep 1
xdotool key Down Return
dialog_open() { wine_run "$probe" owned >"$dir/dialog"; }
e2e_wait_until 20 dialog_open || e2e_fail "Inställningar opened no window: $(cat "$dir/dialog")"
cat "$dir/dialog"
[[ "$(sed -n 's/^title //p' "$dir/dialog")" == "设置" ]] || e2e_fail "the dialog's title is not 设置"
# Each control as "kind shown width height text", the settings page shown, the
# others hidden; sizes in pixels of the layout's twips (15 to a pixel).
sed -nE '/^control other /d; s/^control ([a-z]+) ([01]) -?[0-9]+ -?[0-9]+ ([0-9]+ [0-9]+) ?(.*)$/\1 \2 \3 \4/p' \
    "$dir/dialog" | sed 's/ $//' >"$dir/controls"
while IFS= read -r expected; do
    grep -Fxq -- "$expected" "$dir/controls" || e2e_fail "the dialog has no control '$expected'"
done <<'EOF'
button 1 73 25 设 置
button 1 73 25 流 量
button 1 73 25 关 于
button 1 73 25 帮 助
button 1 69 22 好的
frame 1 157 113 连接速度
digits 1 77 21 1024000
label 1 49 17 单位  K
label 1 129 29 拨号连接速度为56000K ADSL连接速度为1-8MB
edit 1 81 21
button 1 57 25 计算MB
frame 1 125 113 显示颜色
label 1 69 13 下载
label 1 77 13 上传
label 1 73 13 背景
checkbox 1 121 17 总在最前面
checkbox 1 145 17 显示总流量
checkbox 1 153 17 随系统启动
label 1 97 17 选择透明度
combobox 1 121 21 100 %
frame 0 141 113 下载数据
frame 0 145 113 上传数据
EOF
(($(grep -cFx 'label 1 21 21' "$dir/controls") == 3)) || e2e_fail "the dialog has not three colour swatches"
grep -q '^label 0 281 17 信息统计于 .' "$dir/controls" || e2e_fail "the traffic page tells no start date"

# control_centre <kind> <text>: where to click the shown control of that kind and text.
control_centre() {
    awk -v kind="$1" -v text="$2" '$1 == "control" && $2 == kind && $3 == 1 {
        line = ""; for (i = 8; i <= NF; i++) line = line (i > 8 ? " " : "") $i
        if (line == text) { print $4 + int($6 / 2), $5 + int($7 / 2); exit }
    }' "$dir/dialog"
}
read -r x y < <(control_centre digits 1024000)
# The speed box lets only digits in: the letter is refused.
xdotool mousemove --sync "$x" "$y" click 1
xdotool key ctrl+a
xdotool type --delay 50 '56x000'
dialog_open
grep -q '^control digits 1 .* 56000$' "$dir/dialog" ||
    e2e_fail "typing 56x000 into the speed box left: $(grep '^control digits' "$dir/dialog")"
read -r x y < <(control_centre button 好的)
xdotool mousemove --sync "$x" "$y" click 1
dialog_gone() { ! wine_run "$probe" owned >/dev/null; }
e2e_wait_until 10 dialog_gone || e2e_fail "好的 did not close the dialog"
speed=$(wine_run reg query "$SETTINGS\\setting" /v connectionspeed | awk '$1 == "connectionspeed" { print $3 }')
[[ "$speed" == 56000 ]] || e2e_fail "好的 stored the speed '$speed', not 56000"

# A move: the graph dragged by 60 x 40 pixels.
report=$(wine_run "$probe")
read -r x y w h <<<"$(field rect)"
xdotool mousemove --sync $((x + 50)) $((y + 50)) mousedown 1
xdotool mousemove --sync $((x + 80)) $((y + 70))
xdotool mousemove --sync $((x + 110)) $((y + 90))
sleep 0.3
xdotool mouseup 1
moved_by_drag() { [[ "$(probe_key rect)" == "$((x + 60)) $((y + 40)) $w $h" ]]; }
e2e_wait_until 5 moved_by_drag || e2e_fail "a drag on the graph moved the window to $(probe_key rect)"
report=$(wine_run "$probe")
placed=$(field rect)

# "Avsluta", the tray menu's last item, from a right click on the icon.
xdotool mousemove --sync "$icon_x" "$icon_y" click 3
sleep 1
xdotool key Up Return
ended_with_0
icon_gone() { ! icon_docked; }
e2e_wait_until 10 icon_gone || e2e_fail "the tray icon stayed after Avsluta"
read -r x y w h <<<"$placed"
expect_stored $((x * 15)) $((y * 15)) $((w * 15)) $((h * 15))
total() { awk -v key="$1" '$1 == key { print $3 }' <<<"$saved"; }
first_download=$(total DLtot) first_upload=$(total ULtot)
((first_download >= 10 * FRAME * FRAMES_PER_SECOND)) ||
    e2e_fail "after more than 10 s at $FRAMES_PER_SECOND kb/s the download total is $first_download"

# A second start, shorter than the first: where the first one ended, its
# totals going on from the stored ones.
start_kuvell
expect_rect "$placed"
e2e_wait_until 20 arriving || e2e_fail "the second start shows no traffic: $(probe_key rate)"
sleep 2
xdotool mousemove --sync $((x + w / 2)) $((y + h / 3)) click 3
sleep 1
xdotool key Up Return
ended_with_0
saved=$(wine_run reg query "$SETTINGS\\setting")
second_download=$(total DLtot) second_upload=$(total ULtot)
echo "totals: $first_download then $second_download down, $first_upload then $second_upload up"
((second_download >= first_download + FRAME * FRAMES_PER_SECOND && second_upload >= first_upload)) ||
    e2e_fail "the second run's totals ($second_download, $second_upload) did not go on from" \
        "the first ones ($first_download, $first_upload)"
echo "PASS: kuvell.exe docks its icon in an XEmbed tray and a double-click hides and shows it;" \
    "设置 shows its controls, takes digits only and 好的 stores the speed; Avsluta from the tray" \
    "stores the placement and totals, and a second start goes on from them"
