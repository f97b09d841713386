#!/usr/bin/env bash
# Builds the Debian package, build/package/vokari_<version>_<arch>.deb: a release build for /usr
# with Debian's hardening flags, packed by cpack -G DEB with its dependencies computed from the
# binaries. Then checks that the package holds exactly what `cmake --install` installs (plus
# Debian's copyright and changelog) and every file a desktop needs, and that its AppStream
# description is valid. With --lint, lintian checks
# it as well and any error fails the script.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
lint=false
[ "${1:-}" = "--lint" ] && lint=true
tools=(dpkg-dev file appstream)
$lint && tools+=(lintian)
bash "$here/scripts/setup.sh" "${tools[@]}"

cd "$here"
build=build/package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DVOKARI_BUILD_TESTS=OFF -DVOKARI_BUILD_BENCH=OFF >/dev/null
cmake --build "$build"
rm -f "$build"/vokari_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/vokari_*.deb)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
DESTDIR="$work/root" cmake --install "$build" >/dev/null
{
  (cd "$work/root" && find . -type f -o -type l) | sed 's|^\./||; s|^\(usr/share/man/.*\)|\1.gz|'
  echo usr/share/doc/vokari/copyright
  echo usr/share/doc/vokari/changelog.gz
} | sort >"$work/expected"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort >"$work/packed"
if ! diff -u "$work/expected" "$work/packed"; then
  echo "package.sh: $deb does not hold what cmake --install installs (- missing, + extra)" >&2
  exit 1
fi
required=(
  usr/bin/vokari usr/bin/vkd usr/share/man/man1/vokari.1.gz usr/share/man/ja/man1/vokari.1.gz
  usr/share/applications/jp.vokari.Vokari.desktop
  usr/share/metainfo/jp.vokari.Vokari.metainfo.xml
  usr/share/mime/packages/jp.vokari.Vokari.xml
  usr/share/icons/hicolor/scalable/apps/jp.vokari.Vokari.svg
)
for size in 16 32 48 64 128 256; do
  required+=("usr/share/icons/hicolor/${size}x${size}/apps/jp.vokari.Vokari.png")
done
for file in "${required[@]}"; do
  grep -qxF "$file" "$work/packed" || { echo "package.sh: $deb lacks $file" >&2; exit 1; }
done
# The AppStream description names no address: it is checked without the network.
appstreamcli validate --no-net "$work/root/usr/share/metainfo/jp.vokari.Vokari.metainfo.xml"
echo "package.sh: $deb holds the $(wc -l <"$work/packed") files cmake --install installs"
if $lint; then
  lintian --fail-on error "$deb"
fi
