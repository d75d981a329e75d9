#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks a built kuvell .deb: exactly the programs, the desktop entry, the
# icons, the manual pages, the copyright file, the changelog and the AppStream
# metadata; dependencies worked out by dpkg-shlibdeps; lintian and appstreamcli
# without errors or warnings; one version everywhere; and programs that answer
# --help and --version without a display or a settings folder.
#
#   check_package.sh <kuvell_*.deb>
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib.sh"

deb=${1:?usage: check_package.sh <kuvell_*.deb>}
[[ -f "$deb" ]] || e2e_fail "no package at $deb"
problems=()

# The payload, files only: nothing missing and nothing extra (no tests, benchmarks or headers).
expected_files=(
    ./usr/bin/kuvell
    ./usr/bin/kuvell-ifstat
    ./usr/share/applications/kuvell.desktop
    ./usr/share/icons/hicolor/scalable/apps/kuvell.svg
    ./usr/share/man/man1/kuvell.1.gz
    ./usr/share/man/man1/kuvell-ifstat.1.gz
    ./usr/share/doc/kuvell/copyright
    ./usr/share/doc/kuvell/changelog.gz
    ./usr/share/metainfo/org.kuvell.kuvell.metainfo.xml
)
for size in 16 32 48 64 128 256; do
    expected_files+=("./usr/share/icons/hicolor/${size}x${size}/apps/kuvell.png")
done
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | sort)
wanted=$(printf '%s\n' "${expected_files[@]}" | sort)
if [[ "$actual" != "$wanted" ]]; then
    problems+=("the payload differs from the expected files:"$'\n'"$(diff <(echo "$wanted") <(echo "$actual") || true)")
fi

field()
{
    dpkg-deb -f "$deb" "$1"
}
dpkg-deb -I "$deb" >/dev/null || problems+=("dpkg-deb cannot read the control data")
[[ "$(field Package)" == kuvell ]] || problems+=("Package is '$(field Package)'")
[[ -n "$(field Maintainer)" ]] || problems+=("no Maintainer")
[[ "$(field Description)" == *network-traffic* ]] || problems+=("Description is '$(field Description)'")
[[ "$(field Architecture)" == "$(dpkg --print-architecture)" ]] || problems+=("Architecture is '$(field Architecture)'")
# What the programs link, as dpkg-shlibdeps found it, plus the platform plugins Qt loads at run time.
depends=$(field Depends)
depended_names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/[[:space:]]//g')
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6 libnl-3-200 \
    qt6-qpa-plugins; do
    grep -qxF "$package" <<<"$depended_names" || problems+=("Depends lacks $package: $depends")
done
[[ "$(field Recommends)" == "fonts-noto-cjk | fonts-wqy-microhei" ]] ||
    problems+=("Recommends is '$(field Recommends)', not a CJK font for the dialog's captions")
# Libraries that are only linked by tests or benchmarks (libnl-route's link cache
# is the benchmarks' reference) must not leak into the package's needs.
if grep -qE '^lib(gtest|gmock|benchmark|nl-route)' <<<"$depended_names"; then
    problems+=("Depends names a test or benchmark library: $depends")
fi

# apt must be able to satisfy every dependency on this Debian release (a dry run installs nothing).
if command -v apt-get >/dev/null 2>&1; then
    apt-get install --simulate -qq "$(realpath "$deb")" >/dev/null 2>&1 ||
        problems+=("apt cannot install the package here: $(apt-get install --simulate -qq "$(realpath "$deb")" 2>&1 | tail -n 3)")
fi

e2e_tempdir root
dpkg-deb -x "$deb" "$root"
entry=$root/usr/share/applications/kuvell.desktop
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$entry" || problems+=("desktop-file-validate rejects the entry")
fi
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
icon_name=$(sed -n 's/^Icon=//p' "$entry")
[[ -x "$root/usr/bin/$exec_name" ]] || problems+=("Exec=$exec_name is not a program of the package")
[[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon_name.svg" ]] ||
    problems+=("Icon=$icon_name has no icon in the package")
for size in 16 32 48 64 128 256; do
    file "$root/usr/share/icons/hicolor/${size}x${size}/apps/kuvell.png" | grep -q "PNG image data, $size x $size" ||
        problems+=("the ${size}x${size} icon is not a ${size}x${size} PNG")
done

# Debian's own checker, at the severities that block an upload.
if command -v lintian >/dev/null 2>&1; then
    findings=$(lintian --fail-on error,warning --display-level '>=warning' "$deb" 2>&1) ||
        problems+=("lintian reports:"$'\n'"$findings")
else
    problems+=("lintian is not installed (Debian package lintian)")
fi

metainfo=$root/usr/share/metainfo/org.kuvell.kuvell.metainfo.xml
if command -v appstreamcli >/dev/null 2>&1; then
    report=$(appstreamcli validate --no-net "$metainfo" 2>&1) && ! grep -q '^[EW]:' <<<"$report" ||
        problems+=("appstreamcli rejects the metadata:"$'\n'"$report")
else
    problems+=("appstreamcli is not installed (Debian package appstream)")
fi
grep -qxF '  <launchable type="desktop-id">kuvell.desktop</launchable>' "$metainfo" ||
    problems+=("the metadata does not launch kuvell.desktop")
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' \
    "$root/usr/share/doc/kuvell/copyright" || problems+=("the copyright file is not machine-readable")

# One version: the package's is the one in the programs, the manual pages, the
# metadata and the changelog.
version=$(field Version)
for page in kuvell kuvell-ifstat; do
    shown=$(man -l "$root/usr/share/man/man1/$page.1.gz" 2>/dev/null) || true
    grep -q "^NAME" <<<"$shown" || problems+=("man cannot show the $page page")
    zgrep -q "^\.TH .* \"Kuvell $version\"" "$root/usr/share/man/man1/$page.1.gz" ||
        problems+=("the $page manual page is not that of version $version")
done
[[ "$(zcat "$root/usr/share/doc/kuvell/changelog.gz" | sed -n 1p)" == "kuvell ($version) "* ]] ||
    problems+=("the changelog does not start with version $version")
grep -qF "<release version=\"$version\"" "$metainfo" || problems+=("the metadata lacks release $version")

# --help and --version answer at once with no display to talk to and an empty
# home that must stay empty; anything else is a usage error.
e2e_tempdir home
e2e_tempdir output
seconds=10
answer()
{
    local expected_status=$1 status=0
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u DBUS_SESSION_BUS_ADDRESS \
        HOME="$home" XDG_CONFIG_HOME="$home/config" timeout "$seconds" "$@" \
        >"$output/out" 2>"$output/err" || status=$?
    [[ $status == "$expected_status" ]] ||
        problems+=("$* exits with $status, not $expected_status: $(cat "$output/err")")
}
for program in kuvell kuvell-ifstat; do
    answer 0 "$root/usr/bin/$program" --version
    [[ "$(head -n1 "$output/out")" == "$program $version" ]] ||
        problems+=("$program --version prints '$(head -n1 "$output/out")', not '$program $version'")
    answer 0 "$root/usr/bin/$program" --help
    grep -q "^Usage: $program " "$output/out" || problems+=("$program --help prints no usage")
done
answer 2 "$root/usr/bin/kuvell" --bogus
[[ ! -s "$output/out" ]] && grep -q "^Usage: kuvell " "$output/err" ||
    problems+=("kuvell --bogus does not put its usage on stderr alone")
[[ -z "$(ls -A "$home")" ]] || problems+=("--help, --version or a usage error left files: $(find "$home")")

# Qt's own options still reach Qt: on the offscreen platform the window starts
# (it writes its first-start date) and runs until timeout ends it with SIGTERM.
seconds=3
answer 124 "$root/usr/bin/kuvell" -platform offscreen
[[ -f "$home/config/kuvell/kuvell.ini" ]] || problems+=("kuvell -platform offscreen did not start")

((${#problems[@]} == 0)) || e2e_fail "$(printf '\n  %s' "${problems[@]}")"
echo "PASS: $(basename "$deb") holds both programs, the desktop entry, the icons, the manual pages," \
    "the copyright file, the changelog and the metadata; lintian is clean; Depends: $depends"
