#!/usr/bin/env bash
# Installs the package into a fresh Debian 12 root, as a desk's administrator would on a new
# machine, and starts the terminal there the way the menu entry does, as a new user: it must
# connect to its embedded risk server and deliver publications. The root is made with
# debootstrap (minimal variant: no Qt, no libzmq, nothing of the project), the package goes in
# with apt, which brings what it depends on from Debian's mirror. Needs root and the mirror.
# Usage: scripts/check-fresh-debian.sh [PACKAGE.deb] (default: the one cpack made last)
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
  echo "check-fresh-debian: $*" >&2
  exit 1
}

deb="${1:-$(ls -t build/release/orvane-watch_*.deb 2>/dev/null | head -n 1 || true)}"
[[ -f "$deb" ]] || fail "no package: run cpack --preset release first, or name one"
(( EUID == 0 )) || fail "needs root (debootstrap, chroot)"
command -v debootstrap >/dev/null || apt-get install -y -q debootstrap >/dev/null

root="$(mktemp -d)"
chmod 755 "$root"  # the root folder of the new system, which its users pass through
cleanup() {
  umount "$root/proc" "$root/dev" 2>/dev/null || true
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT

echo "check-fresh-debian: making a Debian 12 root in $root"
debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >"$root.log" 2>&1 ||
  fail "debootstrap failed: $(tail -n 5 "$root.log")"
rm -f "$root.log"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/orvane-watch.deb"

echo "check-fresh-debian: installing $(basename "$deb") with apt"
chroot "$root" /bin/bash -c 'apt-get update -q >/dev/null &&
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q /tmp/orvane-watch.deb >/tmp/install.log 2>&1' ||
  fail "apt could not install the package: $(tail -n 5 "$root/tmp/install.log")"

# A new user starts the menu entry's command; the options only make it report and close.
chroot "$root" useradd --create-home desk
command="$(sed -n 's/^Exec=//p' "$root/usr/share/applications/orvane-watch.desktop")"
[[ -n "$command" ]] || fail "the menu entry names no command"
output="$(chroot "$root" su - desk -c "QT_QPA_PLATFORM=offscreen timeout 60 $command --quit-after 5 \
  --report-link --report-deliveries 2>&1")" || fail "'$command' exited with $?: $output"
[[ "$output" == *"report: link = Server: connected"* ]] || fail "no connected link: $output"
delivered="$(sed -n 's/^report: publications_delivered = \([0-9]*\) count$/\1/p' <<<"$output")"
(( ${delivered:-0} > 0 )) || fail "no publication reached the plug-in: $output"
version="$(chroot "$root" su - desk -c "halvo-host --version")"
echo "check-fresh-debian: $version on a fresh Debian 12 from the menu entry's '$command': link connected," \
  "$delivered publications delivered in 5 s"
