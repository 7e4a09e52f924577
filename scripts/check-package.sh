#!/usr/bin/env bash
# Builds the Debian package from the release build, unpacks it into a scratch root and starts
# the terminal from there, off screen, on its embedded risk server: it must load the installed
# plug-in, report a connected link and delivered publications, and close by itself with exit
# code 0. Run after `cmake --build --preset release`.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
  echo "check-package: $*" >&2
  exit 1
}

rm -f build/release/orvane-watch_*.deb
cpack --preset release >/dev/null
debs=(build/release/orvane-watch_*.deb)
[[ -f "${debs[0]}" ]] || fail "cpack made no package"
deb="${debs[0]}"
echo "check-package: built $deb"

# Run-time dependencies come from the libraries the programs link.
depends="$(dpkg-deb --field "$deb" Depends)"
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libzmq5 libxlsxwriter; do
  [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
desktop-file-validate packaging/orvane-watch.desktop

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb --extract "$deb" "$root"
for file in usr/bin/halvo-host usr/bin/rms-sim usr/bin/rms-relay usr/bin/rms-keys usr/lib/orvane-watch/liborvane_watch.so \
            usr/share/applications/orvane-watch.desktop usr/share/icons/hicolor/scalable/apps/orvane-watch.svg \
            usr/share/doc/orvane-watch/README.md; do
  [[ -e "$root/$file" ]] || fail "the package has no $file"
done

# Every library is found from the unpacked tree or the system, none from the build folder.
for program in "$root"/usr/bin/*; do
  libraries="$(env -u LD_LIBRARY_PATH ldd "$program")"
  [[ "$libraries" != *"not found"* ]] || fail "$program: $libraries"
  [[ "$libraries" != *"$PWD/build"* ]] || fail "$program links the build folder: $libraries"
done

host="$root/usr/bin/halvo-host"
version="$(env -u LD_LIBRARY_PATH "$host" --version)"
[[ "$version" == "halvo-host "* ]] || fail "--version printed: $version"

# A fresh user: no configuration file, empty settings.
output="$(env -u LD_LIBRARY_PATH HOME="$root/home" XDG_CONFIG_HOME="$root/home/config" \
  XDG_DATA_HOME="$root/home/data" QT_QPA_PLATFORM=offscreen \
  "$host" --quit-after 5 --report-link --report-deliveries 2>&1)" || fail "halvo-host exited with $?: $output"
[[ "$output" != *"No plug-in"* ]] || fail "the installed plug-in was not loaded: $output"
[[ "$output" == *"report: link = Server: connected"* ]] || fail "no connected link: $output"
delivered="$(sed -n 's/^report: publications_delivered = \([0-9]*\) count$/\1/p' <<<"$output")"
(( ${delivered:-0} > 0 )) || fail "no publication reached the plug-in: $output"
echo "check-package: $version from the package ran 5 s: link connected, $delivered publications delivered"
