#!/usr/bin/env bash
# Makes the Debian package from an existing build tree and checks it as a user gets it: its version and
# dependencies, its contents, and that the geodex command and an outside program (through the CMake package
# and through pkg-config) work from an unpacked copy.
# Usage: scripts/check_package.sh [BUILD_DIR]   (default: build, already built)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(realpath "${1:-build}")
fail() {
  echo "check_package: $*" >&2
  exit 1
}

rm -f "$BUILD"/geodex_*.deb
(cd "$BUILD" && cpack -G DEB > cpack.log 2>&1) || { cat "$BUILD/cpack.log"; fail "cpack failed"; }
DEB=$(ls "$BUILD"/geodex_*.deb)
dpkg-deb -I "$DEB"

# Version and dependencies: the project's version; the Qt 6 and GSL run-time libraries and Qt's platform plugins.
VERSION=$(sed -n 's/^project(Geodex VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$(dpkg-deb -f "$DEB" Version)" = "$VERSION" ] || fail "package version is not $VERSION"
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for dep in libgsl libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins libstdc++6; do
  [[ $DEPENDS == *"$dep"* ]] || fail "Depends lacks $dep: $DEPENDS"
done
apt-get install -s -qq "$DEB" > /dev/null || fail "the dependencies do not resolve"

# Contents: programs, the library with its symbolic links, every header, both package files, man page,
# desktop entry and icon.
LIBDIR=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$BUILD/CMakeCache.txt")
SO=$(sed -n 's/^project(Geodex VERSION \([0-9]*\).*/\1/p' CMakeLists.txt)
CONTENTS=$(dpkg-deb -c "$DEB" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }')
for entry in ./usr/bin/geodex ./usr/bin/RawBench \
  "./usr/$LIBDIR/libGeodex.so.$VERSION" "./usr/$LIBDIR/libGeodex.so.$SO -> libGeodex.so.$VERSION" \
  "./usr/$LIBDIR/libGeodex.so -> libGeodex.so.$SO" ./usr/include/geodex/geodex.h \
  "./usr/$LIBDIR/pkgconfig/geodex.pc" "./usr/$LIBDIR/cmake/Geodex/GeodexConfig.cmake" \
  "./usr/$LIBDIR/cmake/Geodex/GeodexConfigVersion.cmake" "./usr/$LIBDIR/cmake/Geodex/GeodexTargets.cmake" \
  ./usr/share/man/man1/geodex.1 ./usr/share/applications/rawbench.desktop \
  ./usr/share/icons/hicolor/48x48/apps/rawbench.png; do
  grep -qxF -- "$entry" <<< "$CONTENTS" || fail "the package lacks $entry"
done
HEADERS=$(find geodex numera -name '*.h' | wc -l)
PACKED=$(grep -c '^\./usr/include/.*\.h$' <<< "$CONTENTS")
[ "$HEADERS" = "$PACKED" ] || fail "$PACKED of the $HEADERS headers are in the package"

# An unpacked copy: the command converts a point with the unpacked library, RawBench finds every library,
# and the outside program builds and runs both ways.
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
dpkg-deb -x "$DEB" "$TMP/root"
ROOT=$TMP/root/usr
export LD_LIBRARY_PATH=$ROOT/$LIBDIR
# (Outputs are read whole first: with pipefail, grep -q closing the pipe early would fail the writer.)
HELP=$("$ROOT/bin/geodex" project --help)
grep -qF -- '--code N' <<< "$HELP" || fail "geodex project --help lacks --code"
LIBS=$(ldd "$ROOT/bin/geodex")
grep -qF "$ROOT/$LIBDIR/libGeodex.so" <<< "$LIBS" || fail "geodex does not load the unpacked library"
OUT=$(echo "31.5 118.25" | "$ROOT/bin/geodex" project --code 32 --cm 117 --k 0.9996 --fe 500000)
[ "$OUT" = "3485693.3076 618709.7093" ] || fail "geodex project gave: $OUT"
LIBS=$(ldd "$ROOT/bin/RawBench")
! grep -F "not found" <<< "$LIBS" || fail "RawBench misses a library"
# The Python module, where the build made one, imports from the unpacked copy (numpy is among its Depends).
PYDIR=$(find "$ROOT" -path '*dist-packages' -type d | head -n 1)
if [ -n "$PYDIR" ]; then
  [[ $DEPENDS == *python3-numpy* ]] || fail "Depends lacks python3-numpy: $DEPENDS"
  OUT=$(cd "$TMP" && PYTHONPATH=$PYDIR /usr/bin/python3 -c \
    "import geodex; n, e = geodex.project(31.5, 118.25, code=32, cm=117, k=0.9996, fe=500000); print(f'{n:.4f} {e:.4f}')")
  [ "$OUT" = "3485693.3076 618709.7093" ] || fail "the Python module gave: $OUT"
  echo "check_package: the Python module converts from the unpacked copy"
fi
cmake -DSOURCE_DIR="$PWD" -DPREFIX="$ROOT" -DWORK_DIR="$TMP/consumer" -P tests/consumer/run_consumer.cmake \
  > "$TMP/consumer.log" 2>&1 || { cat "$TMP/consumer.log"; fail "the outside program failed"; }
echo "check_package: $(basename "$DEB") is sound ($(wc -l <<< "$CONTENTS") entries, $PACKED headers)"
