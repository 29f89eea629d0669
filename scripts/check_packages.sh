#!/usr/bin/env bash
# Checks what scripts/package.sh built, without installing anything:
# lintian, the desktop entries and metadata, then the unpacked packages run
# as an installed Kestrune would: from a read-only program folder, by an
# ordinary user, with the simulated card traced.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=build/packages
kestrune_deb=$(ls $packages/kestrune_*.deb)
tolvane_deb=$(ls $packages/libtolvane-sim_*.deb)
archive=$(ls $packages/kestrune-*.tar.gz)

fail() {
    echo "check_packages: $*" >&2
    exit 1
}

echo "-- lintian"
lintian_status=0
lintian --fail-on error --tag-display-limit 0 "$kestrune_deb" "$tolvane_deb" >"$packages/lintian.txt" 2>&1 || lintian_status=$?
grep -v "running with root privileges" "$packages/lintian.txt" || true
[[ $lintian_status -eq 0 ]] || fail "lintian reports errors"

work=$(mktemp -d)
chmod 755 "$work"
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
root=$work/root
dpkg-deb -x "$kestrune_deb" "$root"
dpkg-deb -x "$tolvane_deb" "$root"

echo "-- desktop entries, metadata, library search path"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >/dev/null || fail "AppStream metadata"
for program in kestrune flashmend; do
    runpath=$(readelf -d "$root/usr/lib/kestrune/$program" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
    [[ $runpath == '$ORIGIN' ]] || fail "$program: RUNPATH is '$runpath', not \$ORIGIN"
done
if grep -rlF "$PWD" "$root" >/dev/null; then
    fail "a path of the build is in: $(grep -rlF "$PWD" "$root" | head -3 | tr '\n' ' ')"
fi
[[ $("$root/usr/bin/flashmend" --version) == "flashmend "* ]] || fail "flashmend --version"

echo "-- the unpacked Kestrune, as an ordinary user"
chmod -R a-w "$root/usr/lib/kestrune"
home=$work/home
mkdir -p "$home/run"
chmod 700 "$home/run"
trace=$work/trace.txt
touch "$trace"
run_as=()
if [[ $(id -u) -eq 0 ]]; then
    chown -R nobody "$home" "$trace"
    run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen TOLVANE_TRACE="$trace" \
    "${run_as[@]}" "$root/usr/bin/kestrune" &
pid=$!
for _ in $(seq 300); do
    grep -q tvn_config_latch_mode "$trace" 2>/dev/null && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
done
kill -TERM $pid 2>/dev/null || true
status=0
wait $pid || status=$?
[[ $status -eq 0 ]] || fail "kestrune ended with $status"
[[ $(head -1 "$trace") == "tvn_board_init() = 1" ]] || fail "first call: $(head -1 "$trace")"
[[ $(grep -c '^tvn_board_close()' "$trace") -eq 1 ]] || fail "tvn_board_close() not called once"
[[ -f $home/.config/kestrune/Motion_set.txt ]] || fail "no settings folder under HOME"
echo "trace: $(wc -l <"$trace") calls, from '$(head -1 "$trace")' to '$(tail -1 "$trace")'"
echo "settings: $(cd "$home" && find .config -type f)"

echo "-- the portable archive"
mkdir "$work/portable"
tar -C "$work/portable" -xzf "$archive"
[[ $("$work"/portable/kestrune-*/kestrune --version) == "kestrune "* ]] || fail "the archive's kestrune"
echo "packages: OK"
