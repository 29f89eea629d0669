# Shared by run.sh and test.sh: Debian packages and the CMake build trees.

# What a fresh Debian 12 machine lacks to build, test and show the programs.
KESTRUNE_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev qt6-translations-l10n libbenchmark-dev
    fonts-wqy-zenhei dpkg-dev file lintian desktop-file-utils appstream)

# What the Windows builds and their runs under Wine add (scripts/windows.sh,
# the Windows passes of test.sh).
KESTRUNE_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
    binutils-mingw-w64-i686 nsis qt6-base-dev-tools qt6-translations-l10n xz-utils unzip)

install_missing_packages() {
    local missing=()
    local package
    for package in "${KESTRUNE_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [[ ${#missing[@]} -eq 0 ]] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo=(sudo)
    fi
    # An index that fails to download (a mirror in the middle of a sync) need
    # not stop the install: the packages may well be in the others.
    "${sudo[@]}" apt-get update -qq || echo "apt-get update reported errors; installing from the indexes it has" >&2
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
}

# build_tree DIR [cmake options...]: configures DIR once, then builds it
# incrementally.
build_tree() {
    local dir=$1
    shift
    if [[ ! -f "$dir/build.ninja" ]]; then
        cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    fi
    cmake --build "$dir"
}
