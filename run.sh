#!/usr/bin/env bash
# Builds the programs and starts Kestrune on the simulated card.
#   ./run.sh            Kestrune
#   ./run.sh flashmend  the firmware updater
# The stand-in card library reads TOLVANE_CARDS, TOLVANE_TRACE and
# TOLVANE_SCRIPT (see README.md).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "run.sh: no display available (DISPLAY is not set); run it on a desktop, or as: xvfb-run ./run.sh" >&2
    exit 1
fi

program=kestrune
case "${1:-}" in
    "" | kestrune) ;;
    flashmend) program=flashmend ;;
    *)
        echo "run.sh: unknown program '$1' (known: kestrune, flashmend)" >&2
        exit 2
        ;;
esac

install_missing_packages
build_tree build
exec "build/bin/$program"
