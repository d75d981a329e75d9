#!/usr/bin/env bash
# Checks a built kuvell .deb: exactly the programs, the desktop entry and the
# icons, dependencies worked out by dpkg-shlibdeps, and programs that run.
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
    libnl-route-3-200 qt6-qpa-plugins; do
    grep -qxF "$package" <<<"$depended_names" || problems+=("Depends lacks $package: $depends")
done
# Libraries that are only linked by tests must not leak into the package's needs.
if grep -qE '^lib(gtest|gmock|benchmark)' <<<"$depended_names"; then
    problems+=("Depends names a test library: $depends")
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
"$root/usr/bin/kuvell-ifstat" --help >/dev/null || problems+=("the packaged kuvell-ifstat --help fails")

((${#problems[@]} == 0)) || e2e_fail "$(printf '\n  %s' "${problems[@]}")"
echo "PASS: $(basename "$deb") holds both programs, the desktop entry and the icons; Depends: $depends"
