#!/usr/bin/env bash
# Builds, from the build tree build/, the two Debian packages and the portable
# archive into build/packages/:
#   kestrune_<version>_<arch>.deb        the programs, desktop entries, icons,
#                                        metadata and manual pages
#   libtolvane-sim_<version>_<arch>.deb  the simulated card library alone
#   kestrune-<version>-linux-<machine>.tar.gz
#                                        the program folder, runnable where
#                                        it is unpacked
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

install_missing_packages
build_tree build
rm -f build/packages/*.deb build/packages/*.tar.gz
(cd build && cpack -G DEB)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
name=kestrune-$version-linux-$(uname -m)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for component in kestrune tolvane; do
    cmake --install build --prefix "$stage/usr" --strip --component "$component" >/dev/null
done
mv "$stage/usr/lib/kestrune" "$stage/$name"
tar -C "$stage" --owner=0 --group=0 --numeric-owner -czf "build/packages/$name.tar.gz" "$name"
ls -l build/packages/*.deb build/packages/*.tar.gz
