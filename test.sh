#!/usr/bin/env bash
# Builds and runs every test: first a normal build, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, with the fuzz targets run
# for 30 s each (KESTRUNE_FUZZ_SECONDS), then the tests where two threads
# share state (Flashmend's, the stand-in's download) under ThreadSanitizer.
#   ./test.sh           every pass (as CI runs it)
#   ./test.sh --quick   the normal build only
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

quick=0
case "${1:-}" in
    "") ;;
    --quick) quick=1 ;;
    *)
        echo "usage: ./test.sh [--quick]" >&2
        exit 2
        ;;
esac

install_missing_packages
export QT_QPA_PLATFORM=offscreen

echo "== tests =="
build_tree build
ctest --test-dir build --output-on-failure

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
