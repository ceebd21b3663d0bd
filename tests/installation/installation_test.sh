#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: every file in its place, the desktop entry and
# the AppStream metainfo valid, the icon's bitmaps of their sizes, the Chromium file off
# until enabled, and the installed program running with no path into the build tree.
#   installation_test.sh BUILD_FOLDER
set -uo pipefail
build=$(cd "$1" && pwd)
ziel=$(mktemp -d)
trap 'rm -rf "$ziel"' EXIT
fehler=0
falsch() { echo "FAIL: $*"; fehler=1; }

cmake --install "$build" --prefix "$ziel" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

kennung=de.quenmoral.klebwerk
for datei in bin/klebwerk share/applications/$kennung.desktop share/metainfo/$kennung.metainfo.xml \
             share/icons/hicolor/scalable/apps/$kennung.svg etc/chromium.d/klebwerk \
             share/doc/klebwerk/copyright share/doc/klebwerk/changelog.gz; do
  [ -s "$ziel/$datei" ] || falsch "missing: $datei"
done
[ -x "$ziel/bin/klebwerk" ] || falsch "bin/klebwerk is not executable"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for groesse in 16 24 32 48 64 128 256; do
  png="$ziel/share/icons/hicolor/${groesse}x${groesse}/apps/$kennung.png"
  if [ ! -s "$png" ]; then falsch "missing: icon of $groesse px"; continue; fi
  masse=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$masse" = "$groesse $groesse" ] || falsch "icon of $groesse px is $masse"
done

desktop-file-validate "$ziel/share/applications/$kennung.desktop" || falsch "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$ziel/share/metainfo/$kennung.metainfo.xml" >"$ziel/appstream.txt" 2>&1 ||
  { cat "$ziel/appstream.txt"; falsch "appstreamcli validate"; }
for schluessel in 'Name=' 'Name\[de\]=\|GenericName\[de\]=' 'Comment=' 'Comment\[de\]=' 'Categories=Utility;' \
                  "Icon=$kennung" 'Exec=klebwerk'; do
  grep -q "^\($schluessel\)" "$ziel/share/applications/$kennung.desktop" || falsch "desktop entry lacks $schluessel"
done

# The system-wide switch for Chromium is there, commented out, with the way to enable it.
chromium="$ziel/etc/chromium.d/klebwerk"
grep -q '^#CHROMIUM_FLAGS="$CHROMIUM_FLAGS --force-renderer-accessibility"$' "$chromium" ||
  falsch "the Chromium file lacks the commented-out switch"
! grep -q '^[^#]' "$chromium" || falsch "the Chromium file sets something while not enabled"
grep -qi 'to enable' "$chromium" || falsch "the Chromium file does not say how to enable it"
[ -z "$(sh -c ". '$chromium'; printf %s \"\${CHROMIUM_FLAGS:-}\"")" ] || falsch "sourcing the Chromium file sets flags"

# The installed program carries no path into the build tree and runs: it gives the
# browser entry of a system folder of its own the accessibility switch, in an empty home.
if readelf -d "$ziel/bin/klebwerk" | grep -F "$build" >/dev/null; then falsch "bin/klebwerk keeps a path into $build"; fi
heim="$ziel/heim"
mkdir -p "$heim/system/applications"
printf '[Desktop Entry]\nType=Application\nName=Chromium\nExec=/usr/bin/chromium %%U\n' \
  >"$heim/system/applications/chromium.desktop"
ausgabe=$(env -i HOME="$heim" XDG_DATA_DIRS="$heim/system" LANG=C PATH=/usr/bin:/bin \
          "$ziel/bin/klebwerk" --chromium-zugang 2>&1)
status=$?
[ $status -eq 0 ] || falsch "installed klebwerk --chromium-zugang: status $status, output: $ausgabe"
grep -q '^Exec=/usr/bin/chromium --force-renderer-accessibility %U$' "$heim/.local/share/applications/chromium.desktop" ||
  falsch "installed klebwerk --chromium-zugang wrote no entry with the switch: $ausgabe"

[ $fehler -eq 0 ] && echo "installation: all files in place and valid"
exit $fehler
