#!/usr/bin/env bash
# Builds the libFuzzer programs with clang and runs each for a bounded time
# (TPWR_FUZZ_SECONDS, default 60), seeded with the generated test files.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$TPWR_ROOT/scripts/install-packages.sh"
seconds=${TPWR_FUZZ_SECONDS:-60}
# Undefined behaviour is a finding like any crash, not a line in the log.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
dir=$TPWR_BUILD/fuzz
CC=clang CXX=clang++ cmake -S "$TPWR_ROOT" -B "$dir" -G Ninja -DTPWR_FUZZ=ON -DTPWR_BUILD_TESTS=OFF >/dev/null
cmake --build "$dir" -j2
bash "$TPWR_ROOT/tests/fixtures/make-wav-fixtures.sh" "$dir/seeds/wav" >/dev/null
bash "$TPWR_ROOT/tests/formats/make-tag-fixtures.sh" "$dir/seeds/tags" >/dev/null
# The phone and web recordings of the playback tests (the long ones are cut
# by -max_len, which leaves damaged files: seeds too).
bash "$TPWR_ROOT/tests/formats/make-playback-fixtures.sh" "$dir/seeds/playback" >/dev/null 2>&1
mkdir -p "$dir/seeds/media"
cp "$dir"/seeds/playback/*.{m4a,opus,webm,aac,mp4} "$dir/seeds/media/" 2>/dev/null || true
status=0
for fuzzer in "$dir"/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus=$dir/corpus/$name
  mkdir -p "$corpus"
  seeds=()
  [ "$name" = fuzz_wav ] && seeds+=("$dir/seeds/wav")
  [ "$name" = fuzz_media_module ] && seeds+=("$dir/seeds/media")
  case $name in fuzz_ogg_pages | fuzz_flac_metadata | fuzz_asf_header | fuzz_mp4_boxes) seeds+=("$dir/seeds/tags") ;; esac
  [ -d "$TPWR_ROOT/fuzz/seeds/$name" ] && seeds+=("$TPWR_ROOT/fuzz/seeds/$name")
  log "$name for $seconds s"
  if ! "$fuzzer" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
      -artifact_prefix="$dir/$name-" "$corpus" "${seeds[@]}" 2>"$dir/$name.log"; then
    status=1
    tail -n 40 "$dir/$name.log"
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$dir/$name.log" || true
done
exit $status
