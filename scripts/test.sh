#!/usr/bin/env bash
# Builds everything and runs every test: the Windows programs under Wine (with a
# private Xvfb and the capture sound device) and the portable code natively
# under ASan and UBSan. Ends with "N passed, N failed".
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$TPWR_ROOT/scripts/install-packages.sh"

log "building for Windows"
configure_windows_build
cmake --build "$TPWR_BUILD/win" -j2

log "building the portable code for the host with sanitizers"
cmake -S "$TPWR_ROOT" -B "$TPWR_BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTPWR_SANITIZE=ON >/dev/null
cmake --build "$TPWR_BUILD/native" -j2

cleanup() {
  wineserver -k 2>/dev/null || true
  stop_xvfb
}
trap cleanup EXIT
start_xvfb
wine_prefix_ready
# One server and one set of Wine services for the whole run, started with
# their output detached: services that inherit a test's pipes keep CTest waiting.
wineserver -p
wine_services_up

rm -rf "$TPWR_BUILD/win/test-results" "$TPWR_BUILD/native/test-results"
status=0
log "tests under Wine"
ctest --test-dir "$TPWR_BUILD/win" --output-on-failure -j2 || status=1
log "native tests under ASan and UBSan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$TPWR_BUILD/native" --output-on-failure -j2 || status=1

# Sum the test cases of every program; a program that left no report (it
# crashed or timed out) counts as one failure.
passed=0
failed=0
for dir in "$TPWR_BUILD/win" "$TPWR_BUILD/native"; do
  for program in $(ctest --test-dir "$dir" -N | sed -n 's/^ *Test *#[0-9]*: \(test_[A-Za-z0-9_]*\)$/\1/p'); do
    report="$dir/test-results/$program.xml"
    if [ ! -s "$report" ]; then
      failed=$((failed + 1))
      continue
    fi
    head=$(grep -m1 '<testsuites' "$report")
    tests=$(sed -n 's/.* tests="\([0-9]*\)".*/\1/p' <<<"$head")
    failures=$(sed -n 's/.* failures="\([0-9]*\)".*/\1/p' <<<"$head")
    errors=$(sed -n 's/.* errors="\([0-9]*\)".*/\1/p' <<<"$head")
    disabled=$(sed -n 's/.* disabled="\([0-9]*\)".*/\1/p' <<<"$head")
    bad=$((failures + errors))
    passed=$((passed + tests - disabled - bad))
    failed=$((failed + bad))
  done
done
[ "$failed" -eq 0 ] || status=1
echo "$passed passed, $failed failed"
exit $status
