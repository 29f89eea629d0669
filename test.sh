#!/usr/bin/env bash
# Builds and runs every test: first a normal build, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer.
#   ./test.sh           both passes (as CI runs it)
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

if [[ $quick -eq 0 ]]; then
    echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
    build_tree build-sanitize -DKESTRUNE_SANITIZE=ON
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
        ctest --test-dir build-sanitize --output-on-failure
fi
