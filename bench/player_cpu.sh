#!/usr/bin/env bash
# CPU time of the player thread per minute of 44.1 kHz stereo WAV playback, as
# percent of one core (target: under 0.5 %), and at 150 % speed through the
# time stretch (target: under 2 %) with the latency of the speed change. The Windows benchmark program
# plays through Wine's ALSA driver into a private PulseAudio server with a null
# sink, which consumes audio in real time, so the figure covers real playback.
# Windows build: $TPWR_WIN_BUILD if set, else one of its own beside the host
# bench build.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
work=${TPWR_BENCH_WORK:-$TPWR_BUILD/bench/work}/player_cpu
mkdir -p "$work"

win=${TPWR_WIN_BUILD:-$TPWR_BUILD/bench-win}
exe=$win/bench/bench_player_cpu.exe
if [ -z "${TPWR_WIN_BUILD:-}" ]; then
  cmake -S "$TPWR_ROOT" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$TPWR_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$win" -j2 --target bench_player_cpu >/dev/null
fi
[ -f "$exe" ] || { echo "player_cpu: $exe missing"; exit 1; }
if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
  echo "player_cpu: skipped: pulseaudio and pactl are needed (Debian: pulseaudio pulseaudio-utils)"
  exit 0
fi

wav=$work/minute.wav
[ -f "$wav" ] || sox -D -V1 -n -r 44100 -c 2 -b 16 "$wav" synth 60 sine 440 sine 660 gain -6

# A private PulseAudio server: own runtime folder, own socket, no session config.
runtime=$work/pulse-runtime
rm -rf "$runtime"
mkdir -p "$runtime" "$work/pulse-home"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime PULSE_RUNTIME_PATH=$runtime HOME=$work/pulse-home
export PULSE_SERVER=unix:$runtime/native
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
  -L "module-native-protocol-unix socket=$runtime/native auth-anonymous=1" \
  -L "module-null-sink sink_name=tpwr_null rate=44100 channels=2" \
  >"$work/pulseaudio.log" 2>&1 &
pulse_pid=$!
wine_pid=
cleanup() {
  # Only what this script started: its Wine server and its PulseAudio.
  [ -n "$wine_pid" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  kill "$pulse_pid" 2>/dev/null && wait "$pulse_pid" 2>/dev/null || true
}
prefix=$work/wineprefix
trap cleanup EXIT
for _ in $(seq 1 100); do
  pactl info >/dev/null 2>&1 && break
  sleep 0.1
done
pactl set-default-sink tpwr_null >/dev/null

# Wine's ALSA driver, with ALSA's default device played by the private server.
cat >"$work/alsa-pulse.conf" <<CONF
pcm.!default { type pulse }
ctl.!default { type pulse }
CONF
export ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$work/alsa-pulse.conf
export WINEPREFIX=$prefix
wine_prefix_ready
wine_pid=started
wine "$exe" "$(winepath -w "$wav")" 2>/dev/null | sed 's/^/player_cpu: /'
wine "$exe" "$(winepath -w "$wav")" 150 2>/dev/null | sed 's/^/player_cpu: /'
