#!/usr/bin/env bash
# The walls of the source tree: window-system and accessibility-bus code only in the
# desktop backends, the simulated desktop known only to itself and the tests, and the
# backends and portable helpers depending on nothing above the platform interfaces.
set -u
cd "$(dirname "$0")/../src" || exit 2
fehler=0
melde() {
  echo "$1"
  echo "$2" | sed 's/^/  /'
  fehler=1
}

backends='^platform/(x11|atspi|wayland|linux)/'
treffer=$(grep -rnE '#include <(X11/|xcb/|xkbcommon/|wayland-)' . | sed 's#^\./##' | grep -vE "$backends")
[ -z "$treffer" ] || melde "window-system headers outside the desktop backends:" "$treffer"

treffer=$(grep -rnE '#include <pulse/' . | sed 's#^\./##' | grep -vE "$backends")
[ -z "$treffer" ] || melde "the sound server's headers outside the desktop backends:" "$treffer"

treffer=$(grep -rnE 'org\.a11y|QDBusConnection' . | sed 's#^\./##' | grep -vE "$backends")
[ -z "$treffer" ] || melde "the accessibility bus or D-Bus outside the desktop backends:" "$treffer"

treffer=$(grep -rnE '#include "platform/sim/|sim::' . | sed 's#^\./##' | grep -v '^platform/sim/')
[ -z "$treffer" ] || melde "the simulated desktop known outside itself:" "$treffer"

treffer=$(grep -rnE '#include "[a-z]+/' platform basis | grep -vE '#include "(platform|basis)/')
[ -z "$treffer" ] || melde "backends or helpers reaching above the platform interfaces:" "$treffer"

treffer=$(grep -rnE '#include "platform/(x11|wayland)/' platform/atspi)
[ -z "$treffer" ] || melde "AT-SPI depending on one window system:" "$treffer"

treffer=$(grep -rnE '#include "platform/(x11|wayland)/' platform/linux)
[ -z "$treffer" ] || melde "the shared Linux services depending on one window system:" "$treffer"

treffer=$(grep -rnE '#include "platform/' basis)
[ -z "$treffer" ] || melde "portable helpers depending on the platform:" "$treffer"

[ $fehler -eq 0 ] && echo "walls hold"
exit $fehler
