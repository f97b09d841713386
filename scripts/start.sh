#!/usr/bin/env bash
# Sets up what is missing, builds Vokari and starts it in the current directory (its settings
# file, Vokari.ini, is kept in the directory it starts in). Without a display it says so before
# anything else, and builds only when asked to.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
vokari="$here/build/release/app/vokari"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo "

display=yes
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  display=no
  echo "Vokari はウィンドウを開くプログラムです。画面（X11 か Wayland のディスプレイ）が見つかりません。" >&2
  echo "Vokari needs a graphical display, and none was found (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "Start it from a desktop session, or give it a virtual one:" >&2
  echo "  ${sudo}apt-get install -y xvfb && xvfb-run -a $vokari" >&2
  answer=n
  if [ -t 0 ]; then
    read -r -p "ビルドだけしておきますか？ Build it now all the same? [y/N] " answer || answer=n
  fi
  case "$answer" in
    [yY]*) ;;
    *) exit 1 ;;
  esac
fi
bash "$here/scripts/setup.sh"
cmake --preset release -S "$here" >/dev/null
cmake --build "$here/build/release" --target vokari
[ "$display" = yes ] || exit 1
exec "$vokari"
