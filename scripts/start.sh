#!/usr/bin/env bash
# Sets up what is missing, builds Vokari and starts it in the current directory (its settings
# file, Vokari.ini, is kept in the directory it starts in).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/setup.sh"
cmake --preset release -S "$here" >/dev/null
cmake --build "$here/build/release" --target vokari
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Vokari はウィンドウを開くプログラムです。画面（X11 か Wayland のディスプレイ）が見つかりません。" >&2
  echo "Vokari needs a graphical display, and none was found (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "Start it from a desktop session, or give it a virtual one:" >&2
  echo "  sudo apt-get install -y xvfb && xvfb-run -a $here/build/release/app/vokari" >&2
  exit 1
fi
exec "$here/build/release/app/vokari"
