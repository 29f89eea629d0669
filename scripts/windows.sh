#!/usr/bin/env bash
# The cross build for Windows with Debian's MinGW-w64, in its own build folder
# (build-windows-x64 or build-windows-x86), and its packages:
#   scripts/windows.sh ARCH QT OUTDIR
# ARCH x64 or x86; QT a Qt for Windows of that architecture: its prefix, or
# the .tar.xz it is packed in (unpacked into the build folder); OUTDIR where
# Kestrune-<version>-windows-ARCH.zip and …-setup.exe go. The build runs the
# host's draw_card and draw_icons, built here in build/ first.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

if [[ $# -ne 3 ]]; then
    echo "usage: scripts/windows.sh x64|x86 QT_PREFIX|QT_ARCHIVE.tar.xz OUTDIR" >&2
    exit 2
fi
arch=$1
qt=$2
outdir=$3
case $arch in
    x64) machine=x86_64 ;;
    x86) machine=i686 ;;
    *)
        echo "windows.sh: ARCH is x64 or x86, not $arch" >&2
        exit 2
        ;;
esac
build=build-windows-$arch

KESTRUNE_PACKAGES+=("${KESTRUNE_WINDOWS_PACKAGES[@]}")
install_missing_packages

# The Qt prefix: given, or unpacked once from the archive (again when the
# archive changes).
if [[ -f $qt && $qt == *.tar.xz ]]; then
    archive=$(realpath "$qt")
    unpacked=$build/qt
    stamp="$unpacked/.archive"
    signature="$archive $(stat -c '%s %Y' "$archive")"
    if [[ ! -f $stamp || $(cat "$stamp") != "$signature" ]]; then
        echo "Unpacking $archive"
        rm -rf "$unpacked"
        mkdir -p "$unpacked"
        tar -C "$unpacked" -xJf "$archive"
        echo "$signature" >"$stamp"
    fi
    qt=$(find "$unpacked" -mindepth 4 -maxdepth 4 -path '*/lib/cmake/Qt6' -type d -print -quit)
    qt=${qt%/lib/cmake/Qt6}
fi
if [[ ! -d $qt/lib/cmake/Qt6 ]]; then
    echo "windows.sh: no Qt for Windows in '$qt' (its lib/cmake/Qt6 is missing)" >&2
    exit 1
fi
qt=$(realpath "$qt")
format=$([[ $arch == x64 ]] && echo pei-x86-64 || echo pei-i386)
if [[ ! -f $qt/bin/Qt6Core.dll || $($machine-w64-mingw32-objdump -f "$qt/bin/Qt6Core.dll") != *"file format $format"* ]]; then
    echo "windows.sh: $qt is not a Qt for $arch Windows" >&2
    exit 1
fi

# The host's drawing programs, from the Linux build, in one folder.
if [[ ! -f build/build.ninja ]]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build --target draw_card draw_icons
host_tools=$PWD/$build/host-tools
mkdir -p "$host_tools"
cp -u build/kestrune/draw_card build/common/draw_icons "$host_tools/"

# Configured each time, so that a build folder follows the Qt it is given:
# afresh when that is another Qt than the one it was configured with.
mkdir -p "$build"
fresh=()
configured=$(sed -n 's/^CMAKE_PREFIX_PATH:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
[[ -z $configured || $configured == "$qt" ]] || fresh=(--fresh)
cmake "${fresh[@]}" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$machine.cmake" -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -print-multiarch)/cmake" \
    -DKESTRUNE_HOST_TOOLS="$host_tools" >"$build/configure.log" || {
    cat "$build/configure.log"
    exit 1
}
cmake --build "$build"

rm -f "$build"/packages/Kestrune-*
(cd "$build" && cpack -G ZIP && cpack -G NSIS) >"$build/cpack.log" || {
    cat "$build/cpack.log"
    exit 1
}
mkdir -p "$outdir"
cp "$build"/packages/Kestrune-*-windows-"$arch".zip "$build"/packages/Kestrune-*-windows-"$arch"-setup.exe "$outdir/"
ls -l "$outdir"/Kestrune-*-windows-"$arch"*
