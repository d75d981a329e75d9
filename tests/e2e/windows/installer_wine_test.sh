#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows installer and zip under wine: the installer asks for no
# administrator; /S installs both programs (with their icon, version block and
# manifest) into the user's programs folder, a Start-menu shortcut and the
# uninstall key; neither the installer nor the uninstaller replaces or removes
# a program that is running, and both say so by their exit status; the
# uninstaller's /S removes everything but the user's settings; the zip holds
# exactly the two programs.
#
#   installer_wine_test.sh <setup.exe> <zip> <wine64> <cmake>
# WINEPREFIX names a prefix that wineboot has made.
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../lib.sh"

usage="usage: installer_wine_test.sh <setup.exe> <zip> <wine64> <cmake>"
setup=${1:?$usage}
zip=${2:?$usage}
wine=${3:?$usage}
cmake=${4:?$usage}
version=$(basename "$setup" | sed -n 's/^kuvell-\(.*\)-setup\.exe$/\1/p')
[[ -f "$setup" && -f "$zip" ]] ||
    e2e_fail "the Windows packages were not built (cmake --build --preset windows --target windows-packages)"
[[ -x "$wine" ]] || e2e_unavailable "wine64 is not installed (Debian package wine64)"
e2e_require_program wrestool icoutils
[[ -f "${WINEPREFIX:?}/system.reg" ]] || e2e_fail "no wine prefix in $WINEPREFIX"
# A shortcut would otherwise become a menu entry of the host's desktop.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
wineserver=$(dirname "$wine")/wineserver
stop_wineserver() { "$wineserver" -k 2>/dev/null || true; }
trap 'stop_wineserver; e2e_cleanup' EXIT

programs="kuvell-ifstat.exe kuvell.exe"
listed=$("$cmake" -E tar tf "$zip" | sort | xargs)
[[ "$listed" == "$programs" ]] || e2e_fail "the zip holds '$listed', not '$programs'"

# Both the installer and the programs run with the rights of whoever starts them.
manifest_of() { wrestool -x --raw --type=24 "$1"; }
for exe in "$setup"; do
    manifest=$(manifest_of "$exe")
    grep -q 'requestedExecutionLevel level="asInvoker"' <<<"$manifest" ||
        e2e_fail "$exe may ask for administrator rights:"$'\n'"$manifest"
done

win() { "$wine" "$@" | tr -d '\r'; }
to_unix() { win winepath -u "$1"; }
reg_value() { win reg query "$1" /v "$2" 2>/dev/null | awk -v name="$2" '$1 == name { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print }'; }
key_exists() { "$wine" reg query "$1" >/dev/null 2>&1; }

local_appdata=$(win cmd /c 'echo %LOCALAPPDATA%')
install_dir_win="$local_appdata\\Programs\\Kuvell"
install_dir=$(to_unix "$install_dir_win")
shortcut=$(to_unix "$(win cmd /c 'echo %APPDATA%')\\Microsoft\\Windows\\Start Menu\\Programs\\Kuvell.lnk")
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kuvell'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\kuvell\setting'
probe=installer_test_probe

# What an earlier, failed run may have left.
rm -rf -- "$install_dir" "$shortcut"
"$wine" reg delete "$uninstall_key" /f >/dev/null 2>&1 || true

win "$setup" /S || e2e_fail "the silent install ended with status $?"
e2e_tempdir unzipped
(cd "$unzipped" && "$cmake" -E tar xf "$zip")
for program in $programs; do
    [[ -f "$install_dir/$program" ]] || e2e_fail "$program is not in $install_dir"
    cmp -s "$install_dir/$program" "$unzipped/$program" || e2e_fail "the installed $program is not the zip's"
    resources=$(wrestool -l "$install_dir/$program")
    grep -q 'type=group_icon' <<<"$resources" || e2e_fail "$program has no icon"
    strings -el "$install_dir/$program" | grep -qx "$version" || e2e_fail "$program's version block lacks $version"
    manifest_of "$install_dir/$program" | grep -q 'PerMonitorV2' || e2e_fail "$program's manifest lacks PerMonitorV2"
done
[[ -f "$install_dir/uninstall.exe" ]] || e2e_fail "no uninstaller in $install_dir"
[[ -f "$shortcut" ]] || e2e_fail "no Start-menu shortcut at $shortcut"
strings -el "$shortcut" | grep -qi 'kuvell\.exe' || e2e_fail "the shortcut does not name kuvell.exe"
# The installed program runs under wine, manifest and all.
[[ "$(win "$install_dir/kuvell-ifstat.exe" --version)" == *"$version"* ]] ||
    e2e_fail "the installed kuvell-ifstat.exe does not run or tell $version"

uninstaller="\"$install_dir_win\\uninstall.exe\""
declare -A expected=(
    [DisplayName]=Kuvell [DisplayVersion]=$version [Publisher]="Kuvell developers"
    [InstallLocation]=$install_dir_win [DisplayIcon]="$install_dir_win\\kuvell.exe,0"
    [UninstallString]=$uninstaller [QuietUninstallString]="$uninstaller /S"
    [NoModify]=0x1 [NoRepair]=0x1)
for name in "${!expected[@]}"; do
    value=$(reg_value "$uninstall_key" "$name")
    [[ "$value" == "${expected[$name]}" ]] || e2e_fail "$uninstall_key $name is '$value', not '${expected[$name]}'"
done
key_exists 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kuvell' &&
    e2e_fail "the installer wrote the machine-wide uninstall key"

# A running program can be neither replaced nor removed: both must fail, not
# report a success over the old or half-removed install.
"$wine" "$install_dir/kuvell-ifstat.exe" --watch >/dev/null 2>&1 &
running=$!
e2e_track_pid "$running"
sleep 2
status=0
win "$setup" /S || status=$?
((status != 0)) || e2e_fail "installing over a running kuvell-ifstat.exe reported success"
status=0
# _? runs the uninstaller in place and waits for it, so its status is seen.
win "$install_dir/uninstall.exe" /S "_?=$install_dir_win" || status=$?
((status != 0)) || e2e_fail "uninstalling a running kuvell-ifstat.exe reported success"
for program in $programs; do
    [[ -f "$install_dir/$program" ]] || e2e_fail "the failed uninstall removed $program"
done
key_exists "$uninstall_key" || e2e_fail "the failed uninstall removed the uninstall key"
kill "$running"
wait "$running" 2>/dev/null || true
e2e_untrack_pid "$running"

# A setting stays; a start at login naming the removed program goes.
win reg add "$settings_key" /v "$probe" /d kept /f >/dev/null
win reg add "$run_key" /v Kuvell /d "\"$install_dir_win\\kuvell.exe\"" /f >/dev/null
win "$install_dir/uninstall.exe" /S || e2e_fail "the silent uninstall ended with status $?"
# The uninstaller runs on from a copy of itself in the temporary folder.
e2e_wait_until 60 test ! -e "$install_dir" || e2e_fail "$install_dir is still there: $(ls -A "$install_dir")"
"$wineserver" -w
[[ ! -e "$shortcut" ]] || e2e_fail "the shortcut is still there"
key_exists "$uninstall_key" && e2e_fail "the uninstall key is still there"
[[ -z "$(reg_value "$run_key" Kuvell)" ]] || e2e_fail "the start at login still names the removed program"
[[ "$(reg_value "$settings_key" "$probe")" == kept ]] || e2e_fail "the uninstall removed the user's settings"
win reg delete "$settings_key" /v "$probe" /f >/dev/null
echo "installer and uninstaller: silent, per user, nothing left but the settings"
