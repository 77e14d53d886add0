# Sourced with a build folder as $1: the environment for running this build's
# Windows programs under 64-bit Wine, each build tree with a prefix, a home and
# an X display of its own (the home keeps the prefix's Desktop link private).
wine_build="$(cd "$1" && pwd)"
wine_dir="$wine_build/wine"
export WINEPREFIX="$wine_dir/prefix"
export HOME="$wine_dir/home"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64
export LC_ALL=zh_CN.UTF-8
# Debian puts the 64-bit loader beside its wineserver, not on PATH.
WINE64=/usr/lib/wine/wine64
[ -x "$WINE64" ] || WINE64="$(dpkg -L wine64 2>/dev/null | grep -m1 '/wine64$' || true)"
[ -x "$WINE64" ] || { echo "wine64 is missing: install Debian's wine and wine64 (tools/install-deps)" >&2; exit 1; }
export WINESERVER="$(dirname "$WINE64")/wineserver64"
[ -x "$WINESERVER" ] || WINESERVER="$(dirname "$WINE64")/wineserver"
if [ -s "$wine_dir/display" ]; then
  DISPLAY="$(cat "$wine_dir/display")"
  export DISPLAY
fi
mkdir -p "$HOME"
