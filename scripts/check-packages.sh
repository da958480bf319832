#!/usr/bin/env bash
# Checks the Debian packages in build/packages (made by scripts/package.sh) as a user of the
# machine meets them: lintian, `apt-get install ./build/packages/*.deb`, the installed programs
# run by a user who is not root on simulated instruments, then a purge that must leave nothing
# behind. Whatever happens on the way, the machine ends as it was: the packages and the
# dependencies their install pulled in are purged again and the temporary files go.
set -euo pipefail
cd "$(dirname "$0")/.."
shopt -s nullglob
debs=("$PWD"/build/packages/*.deb)
if [ ${#debs[@]} -eq 0 ]; then
  echo "no packages in build/packages: run scripts/package.sh first" >&2
  exit 2
fi
as_root=()
if [ "$(id -u)" -ne 0 ]; then as_root=(sudo); fi
export DEBIAN_FRONTEND=noninteractive

fail() {
  echo "check-packages: $*" >&2
  exit 1
}

installed() {  # the installed packages, one per line
  dpkg-query -W -f='${db:Status-Status} ${Package}\n' | awk '$1 == "installed" { print $2 }' | sort
}

names=()
for deb in "${debs[@]}"; do names+=("$(dpkg-deb -f "$deb" Package)"); done
for name in "${names[@]}"; do
  state=$(dpkg-query -W -f='${db:Status-Status}' "$name" 2>/dev/null || true)
  if [ -n "$state" ] && [ "$state" != not-installed ]; then
    fail "$name is on this machine already ($state); the check would remove it"
  fi
done
version=$(dpkg-deb -f "${debs[0]}" Version)

echo "-- lintian"
lintian --fail-on error --tag-display-limit 0 "${debs[@]}" | tee build/packages/lintian.txt
for tag in $(sed -n 's/^W: [^:]*: \([a-z0-9-]*\).*/\1/p' build/packages/lintian.txt | sort -u); do
  grep -q "\`$tag\`" packaging/README.md || fail "lintian warning $tag is not explained in packaging/README.md"
done

before=$(installed)
work=$(mktemp -d /tmp/chromiva-packages.XXXXXX)
cleanup() {
  local status=$?
  set +e
  # Ours, and what their install pulled in automatically; nothing that was here before.
  local added
  added=$(comm -13 <(echo "$before") <(installed) |
          grep -Fxf <( (printf '%s\n' "${names[@]}"; apt-mark showauto) | sort -u))
  if [ -n "$added" ]; then
    # shellcheck disable=SC2086
    "${as_root[@]}" apt-get purge -y -qq -o DPkg::Lock::Timeout=300 $added >/dev/null
  fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "-- apt-get install ./build/packages/*.deb"
apt_install() {
  "${as_root[@]}" apt-get install -y -qq -o DPkg::Lock::Timeout=300 "${debs[@]}" >"$work/apt.log" 2>&1
}
# A dependency missing from old package lists gets one retry after an update.
if ! apt_install; then
  "${as_root[@]}" apt-get update -qq && apt_install || {
    cat "$work/apt.log"
    fail "apt-get install failed"
  }
fi
files=$(dpkg -L "${names[@]}")

# The checks run as a user who is not root, with a home of their own in $work.
home=$work/home
mkdir -p "$home/runtime"
chmod 755 "$work"
chmod 700 "$home/runtime"
user=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody:nogroup "$home"
  user=(runuser -u nobody --)
fi
as_user() {
  "${user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
    LANG=C.UTF-8 "$@"
}
simulated=("WRENLINK_SIMULATOR=spectrometer,spectrometer" WRENLINK_SIM_SPEED=100)

echo "-- the programs, as $(as_user id -un)"
as_user chromiva-cli --version | grep -qx "chromiva-cli $version" || fail "chromiva-cli --version"
as_user "${simulated[@]}" chromiva-cli measure --count 3 --exposure 10 --quiet \
  -o "$home/run.cvdata" || fail "chromiva-cli measure"
as_user chromiva-cli export "$home/run.cvdata" -o "$home/run.csv" 2>/dev/null ||
  fail "chromiva-cli export"
[ "$(wc -l <"$home/run.csv")" -gt 10 ] || fail "the exported CSV is short"
as_user "${simulated[@]}" QT_QPA_PLATFORM=offscreen chromiva --demo-screenshot \
  "$home/window.png" >/dev/null 2>&1 || fail "chromiva --demo-screenshot"
[ -s "$home/window.png" ] || fail "chromiva wrote no picture"
for page in chromiva chromiva-cli; do
  as_user man -w "$page" >/dev/null || fail "no manual page $page"
done

echo "-- building against Wrenlink (pkg-config and find_package)"
cat >"$home/detect.c" <<'C'
#include <stdio.h>
#include <wrenlink.h>

int main(void) {
  if (DetectDevice(0) != 1) return 1;
  printf("kind %d\n", GetDeviceKind(0));
  CloseDevice(0);
  return 0;
}
C
cat >"$home/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(detect C)
find_package(Wrenlink REQUIRED)
add_executable(detect detect.c)
target_link_libraries(detect PRIVATE Wrenlink::wrenlink)
CMAKE
chmod a+r "$home"/*
as_user sh -c 'cd "$HOME" && cc detect.c -o detect-pc $(pkg-config --cflags --libs wrenlink)' ||
  fail "compiling with pkg-config"
as_user "${simulated[@]}" "$home/detect-pc" | grep -qx "kind 33" || fail "pkg-config build"
as_user cmake -S "$home" -B "$home/build" >/dev/null && as_user cmake --build "$home/build" \
  >/dev/null || fail "building with find_package(Wrenlink)"
as_user "${simulated[@]}" "$home/build/detect" | grep -qx "kind 33" || fail "CMake build"
if printf '%s\n' "${names[@]}" | grep -qx python3-chromiva; then
  as_user python3 -c "import chromiva" || fail "import chromiva"
fi

echo "-- desktop entry, MIME type, udev rule"
desktop-file-validate /usr/share/applications/chromiva.desktop || fail "desktop entry"
grep -q ':application/x-chromiva-data:\*\.cvdata' /usr/share/mime/globs2 ||
  fail "*.cvdata is not application/x-chromiva-data"
grep -q '^application/x-chromiva-data=.*chromiva\.desktop' \
  /usr/share/applications/mimeinfo.cache || fail "*.cvdata does not open with chromiva"
grep -q 'TAG+="uaccess"' /usr/lib/udev/rules.d/70-wrenlink.rules || fail "udev rule"

echo "-- apt-get purge"
"${as_root[@]}" apt-get purge -y -qq -o DPkg::Lock::Timeout=300 "${names[@]}" >/dev/null
left=""
while read -r path; do
  if [ -d "$path" ]; then
    case $path in *chromiva* | *wrenlink* | *Wrenlink*) left+="$path"$'\n' ;; esac
  elif [ -e "$path" ] || [ -L "$path" ]; then
    left+="$path"$'\n'
  fi
done <<<"$files"
[ -z "$left" ] || fail "left behind after the purge:"$'\n'"$left"
[ ! -e /etc/wrenlink ] || fail "/etc/wrenlink left behind"
! grep -qs 'cvdata' /usr/share/mime/globs2 || fail "the MIME type stayed"
echo "Packages checked: ${names[*]}"
