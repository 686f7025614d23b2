#!/usr/bin/env bash
# Recovers the synthesis window from the layer I and II conformance streams and
# rewrites formats/mpeg/mpeg_synthesis_window.cpp with it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

build="$TPWR_BUILD/window"
cmake -S "$TPWR_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTPWR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target print_synthesis_window -j2
out="$TPWR_ROOT/formats/mpeg/mpeg_synthesis_window.cpp"
"$build/tools/synthesis_window/print_synthesis_window" "${TPWR_TESTDATA:-$TPWR_ROOT/../shared/testdata}/mpeg-conformance" >"$out.new"
mv "$out.new" "$out"
echo "wrote $out"
