#!/usr/bin/env bash
# Builds and runs every test: first a normal build (and a minute's soak of
# the heap with every window open), then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, with the fuzz targets run
# for 30 s each (KESTRUNE_FUZZ_SECONDS), then the tests where two threads
# share state (Flashmend's, the stand-in's download) under ThreadSanitizer.
# Given a Qt for Windows, a Windows pass follows for its architecture
# (scripts/test_windows.sh): the cross build, its packages and their checks,
# and the tests and programs under Wine.
#   ./test.sh           every pass (as CI runs it)
#   ./test.sh --quick   the normal build only, and the Windows passes
#   --windows-qt64=DIR, --windows-qt32=DIR (or KESTRUNE_QT_MINGW64,
#   KESTRUNE_QT_MINGW32): the Qt for 64-bit and 32-bit Windows, a prefix or
#   the .tar.xz it is packed in
set -euo pipefail
invoked_from=$PWD
cd "$(dirname "$0")"
source scripts/common.sh

quick=0
windows_qt64=${KESTRUNE_QT_MINGW64:-}
windows_qt32=${KESTRUNE_QT_MINGW32:-}
for argument in "$@"; do
    case "$argument" in
        --quick) quick=1 ;;
        --windows-qt64=*) windows_qt64=${argument#*=} ;;
        --windows-qt32=*) windows_qt32=${argument#*=} ;;
        *)
            echo "usage: ./test.sh [--quick] [--windows-qt64=DIR] [--windows-qt32=DIR]" >&2
            exit 2
            ;;
    esac
done

install_missing_packages
export QT_QPA_PLATFORM=offscreen

echo "== tests =="
build_tree build
ctest --test-dir build --output-on-failure

echo "== memory over a minute with every window open (scripts/soak.sh) =="
scripts/soak.sh 60 128 build | grep -E '^(heap growth|more than)'

echo "== packages =="
scripts/package.sh
scripts/check_packages.sh

if [[ $quick -eq 0 ]]; then
    echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
    build_tree build-sanitize -DKESTRUNE_SANITIZE=address
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-sanitize --output-on-failure

    echo "== the settings layer and the number texts under libFuzzer =="
    tests/fuzz/run.sh "${KESTRUNE_FUZZ_SECONDS:-30}"

    echo "== Flashmend's tests and the firmware download under ThreadSanitizer =="
    threaded_tests=(tst_downloadworker tst_flashmenddlg tst_tolvane_firmware)
    if [[ ! -f build-tsan/build.ninja ]]; then
        cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_SANITIZE=thread
    fi
    cmake --build build-tsan --target "${threaded_tests[@]}"
    TSAN_OPTIONS="halt_on_error=1:suppressions=$PWD/tests/tsan.supp" \
        ctest --test-dir build-tsan --output-on-failure -R "^($(IFS='|'; echo "${threaded_tests[*]}"))\$"
fi

# windows_pass ARCH QT OPTION VARIABLE
windows_pass() {
    if [[ -z $2 ]]; then
        echo "== Windows ($1): skipped: no Qt for Windows given ($3=DIR or $4; DIR a Qt prefix or its .tar.xz) =="
        return
    fi
    local qt=$2
    [[ $qt == /* ]] || qt=$invoked_from/$qt
    echo "== Windows ($1): cross build, packages, checks, tests under Wine =="
    scripts/test_windows.sh "$1" "$qt"
}
windows_pass x64 "$windows_qt64" --windows-qt64 KESTRUNE_QT_MINGW64
windows_pass x86 "$windows_qt32" --windows-qt32 KESTRUNE_QT_MINGW32
