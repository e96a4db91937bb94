#!/usr/bin/env bash
# Builds the Debian package from a configured build directory, checks what it
# installs, and has lintian check it as a distribution would: no error, no warning.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cd "$build"
cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb="$(ls "$work"/quorvane_*.deb)"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"

status=0
for f in /usr/bin/quorvane /usr/bin/quorvane-run /usr/bin/quorvane-desktop \
         /usr/share/applications/quorvane.desktop /usr/share/quorvane/Quorvane.ini \
         /usr/share/icons/hicolor/16x16/apps/quorvane.png /usr/share/icons/hicolor/32x32/apps/quorvane.png \
         /usr/share/icons/hicolor/48x48/apps/quorvane.png /usr/share/icons/hicolor/256x256/apps/quorvane.png; do
  if ! grep -qx "$f" "$work/files"; then
    echo "missing from the package: $f"
    status=1
  fi
done
# Nothing of the build or the tests may slip in.
if grep -E '_tests$|_bench$|/include/|\.a$' "$work/files"; then
  echo "unexpected files in the package"
  status=1
fi
deps="$(dpkg-deb -f "$deb" Depends)"
for d in libqt6widgets6 qt6-qpa-plugins; do
  grep -q "$d" <<<"$deps" || { echo "package does not depend on $d"; status=1; }
done
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; status=1; }
exit $status
