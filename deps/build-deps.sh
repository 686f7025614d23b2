#!/usr/bin/env bash
# Builds Tapewright's third-party audio libraries (FFmpeg for WMA and for the
# phone and web formats: AAC, ALAC, Opus, AMR in MP4/MOV, Ogg, WebM/MKA, ADTS; libogg,
# libvorbis/libvorbisfile, libFLAC, SoundTouch for speed without pitch change) as static x86_64-w64-mingw32 libraries
# from Debian 12's source packages, into a cache folder outside the repository.
#
# The last line on stdout is the absolute install prefix; all other output
# goes to stderr, so callers can use: prefix=$(deps/build-deps.sh | tail -n1)
#
# Environment:
#   TPWR_DEPS_CACHE  cache root (default /var/cache/tapewright-deps)
#   TPWR_DEPS_JOBS   parallel make jobs (default 2; the machines have 2 cores)
set -euo pipefail

# Keep stdout clean for the prefix line: fd 3 is the real stdout.
exec 3>&1 1>&2

readonly HOST=x86_64-w64-mingw32
readonly CC_BIN=${HOST}-gcc-posix
readonly CXX_BIN=${HOST}-g++-posix
readonly CACHE_ROOT=${TPWR_DEPS_CACHE:-/var/cache/tapewright-deps}
readonly JOBS=${TPWR_DEPS_JOBS:-2}
readonly STAMP=.tapewright-deps-complete
readonly SRC_PKGS=(ffmpeg libogg libvorbis flac soundtouch)
SCRIPT_PATH=$(readlink -f "${BASH_SOURCE[0]}")
readonly SCRIPT_PATH

log() { printf '[build-deps] %s\n' "$*"; }
die() { log "error: $*"; exit 1; }

# Build output is long; keep it in a log and show only its tail on failure.
run_logged() {
  local name=$1; shift
  log "$name"
  if ! "$@" >"$LOG_DIR/$name.log" 2>&1; then
    tail -n 60 "$LOG_DIR/$name.log"
    die "step '$name' failed (last lines above)"
  fi
}

ensure_build_tools() {
  local pkgs=(make cmake nasm dpkg-dev patch xz-utils
              binutils-mingw-w64-x86-64 gcc-mingw-w64-x86-64-posix
              g++-mingw-w64-x86-64-posix)
  local missing=() p
  for p in "${pkgs[@]}"; do
    dpkg -s "$p" 2>/dev/null | grep -q '^Status: install ok installed' || missing+=("$p")
  done
  ((${#missing[@]} == 0)) && return 0
  log "installing missing build packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # A fresh machine may have no package lists yet; update only if needed.
  apt-get install -y --no-install-recommends "${missing[@]}" ||
    { apt-get update && apt-get install -y --no-install-recommends "${missing[@]}"; }
}

# Writes a deb-src list mirroring the machine's Debian sources, so that
# /etc/apt itself is never modified.
write_private_sources() {
  local out=$1 f
  : >"$out.tmp"
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f $f ]] || continue
    awk '/^[Tt]ypes:/ { print "Types: deb-src"; next } { print }' "$f" >>"$out.tmp"
    printf '\n' >>"$out.tmp"
  done
  if [[ ! -s $out.tmp ]]; then
    # One-line format fallback, then plain Debian 12 as a last resort.
    local lines=""
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [[ -f $f ]] && lines+=$(sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f")$'\n'
    done
    [[ -n ${lines//$'\n'/} ]] || lines=$'deb-src http://deb.debian.org/debian bookworm main\ndeb-src http://deb.debian.org/debian bookworm-updates main\ndeb-src http://deb.debian.org/debian-security bookworm-security main\n'
    rm -f "$out.tmp"
    printf '%s' "$lines" >"${out%.sources}.list"
    printf '%s\n' "${out%.sources}.list"
    return 0
  fi
  mv "$out.tmp" "$out"
  printf '%s\n' "$out"
}

# Version (without epoch) of the source package apt-get source would fetch.
src_version() {
  apt-get "${APT_OPTS[@]}" source --print-uris "$1" 2>/dev/null |
    awk -v p="$1" '$2 ~ "^" p "_.*\\.dsc$" { v = $2; sub("^" p "_", "", v); sub("\\.dsc$", "", v); print v; exit }'
}

mkdir -p "$CACHE_ROOT"
exec 9>"$CACHE_ROOT/.lock"
# Another build of the same cache may be running; wait for it so that we reuse its result.
if ! flock -n 9; then
  log "waiting for another build in $CACHE_ROOT"
  flock 9
fi
# Holding the lock, any leftover scratch folder is from an interrupted run.
rm -rf "$CACHE_ROOT"/.work.*

ensure_build_tools

APT_DIR=$CACHE_ROOT/apt
mkdir -p "$APT_DIR/etc" "$APT_DIR/state/lists/partial" "$APT_DIR/cache/archives/partial"
rm -f "$APT_DIR/etc/"*
SOURCES_FILE=$(write_private_sources "$APT_DIR/etc/tapewright-src.sources")
APT_OPTS=(-o "Dir::Etc::SourceList=$SOURCES_FILE" -o Dir::Etc::SourceParts=/dev/null
          -o "Dir::State=$APT_DIR/state" -o "Dir::Cache=$APT_DIR/cache"
          -o Dir::State::status=/var/lib/dpkg/status -o APT::Sandbox::User=root)

if ! apt-get "${APT_OPTS[@]}" update >"$APT_DIR/update.log" 2>&1; then
  # Offline: the lists from an earlier run still name the versions we built.
  if compgen -G "$APT_DIR/state/lists/*Sources*" >/dev/null; then
    log "warning: apt-get update failed, using earlier source lists"
  else
    cat "$APT_DIR/update.log"
    die "cannot fetch Debian source lists"
  fi
fi

declare -A VER
for p in "${SRC_PKGS[@]}"; do
  VER[$p]=$(src_version "$p")
  [[ -n ${VER[$p]} ]] || die "source package '$p' not found"
done
[[ ${VER[ffmpeg]} == 5.1.* ]] || die "expected ffmpeg 5.1.x, found ${VER[ffmpeg]}"
[[ ${VER[flac]} == 1.4.* ]] || die "expected flac 1.4.x, found ${VER[flac]}"

# The toolchain's package versions are part of the key too: an update must rebuild.
TOOLCHAIN=$(dpkg-query -W -f='${Package}=${Version} ' gcc-mingw-w64-x86-64-posix \
            mingw-w64-x86-64-dev binutils-mingw-w64-x86-64)
script_hash=$({ sha256sum <"$SCRIPT_PATH"; echo "$TOOLCHAIN"; } | sha256sum | cut -c1-12)
key="${HOST}_ffmpeg-${VER[ffmpeg]}_ogg-${VER[libogg]}_vorbis-${VER[libvorbis]}_flac-${VER[flac]}_st-${VER[soundtouch]}_${script_hash}"
key=${key//[^A-Za-z0-9._-]/_}
PREFIX=$CACHE_ROOT/$key

if [[ -f $PREFIX/$STAMP ]]; then
  log "up to date: $PREFIX"
  printf '%s\n' "$PREFIX" >&3
  exit 0
fi

log "building into $PREFIX"
start=$SECONDS
WORK=$(mktemp -d "$CACHE_ROOT/.work.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
LOG_DIR=$WORK/logs
mkdir -p "$LOG_DIR" "$WORK/dl" "$WORK/src" "$WORK/build"
# Libraries are configured for the final prefix (so .pc files are right) but
# installed under a staging DESTDIR inside the same filesystem; the final
# rename is then atomic.
STAGE=$WORK/stage
SP=$STAGE$PREFIX

(cd "$WORK/dl" && run_logged fetch-sources apt-get "${APT_OPTS[@]}" source --download-only "${SRC_PKGS[@]}")
for p in "${SRC_PKGS[@]}"; do
  dsc=$(ls "$WORK/dl/${p}_"*.dsc)
  run_logged "unpack-$p" dpkg-source -x "$dsc" "$WORK/src/$p"
done

# Keep host .pc files (e.g. a native libogg-dev) out of the cross builds.
export PKG_CONFIG_LIBDIR=$SP/lib/pkgconfig
export PKG_CONFIG_PATH=
unset PKG_CONFIG_SYSROOT_DIR || true

cat >"$WORK/toolchain.cmake" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $CC_BIN)
set(CMAKE_CXX_COMPILER $CXX_BIN)
set(CMAKE_RC_COMPILER ${HOST}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$HOST "$SP")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

CMAKE_COMMON=(-G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$WORK/toolchain.cmake"
              -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
              -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_INSTALL_LIBDIR=lib
              -DBUILD_TESTING=OFF)

cmake_project() {
  local name=$1; shift
  local b=$WORK/build/$name
  run_logged "configure-$name" cmake -S "$WORK/src/$name" -B "$b" "${CMAKE_COMMON[@]}" "$@"
  run_logged "build-$name" cmake --build "$b" -j "$JOBS"
  run_logged "install-$name" env DESTDIR="$STAGE" cmake --install "$b"
}

cmake_project libogg -DINSTALL_DOCS=OFF

# Point the Find modules straight at the staged libogg.
OGG_HINTS=(-DOGG_INCLUDE_DIR="$SP/include" -DOGG_LIBRARY="$SP/lib/libogg.a")
cmake_project libvorbis "${OGG_HINTS[@]}"

# libFLAC with Ogg FLAC support, linked against the libogg above. Stack
# protector/fortify are off because they would drag in libssp.
cmake_project flac "${OGG_HINTS[@]}" -DWITH_OGG=ON \
  -DBUILD_CXXLIBS=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOCS=OFF \
  -DINSTALL_MANPAGES=OFF -DWITH_STACK_PROTECTOR=OFF -DWITH_FORTIFY_SOURCE=OFF

# SoundTouch with float samples (its default, which its headers assume), no
# command-line tool and no DLL wrapper.
cmake_project soundtouch -DSOUNDSTRETCH=OFF -DSOUNDTOUCH_DLL=OFF -DOPENMP=OFF -DINTEGER_SAMPLES=OFF

# FFmpeg reduced to what the two FFmpeg input modules need: the ASF demuxer
# with the WMA v1/v2 decoders; the MP4/MOV, Ogg, Matroska/WebM, ADTS and AMR
# demuxers with the AAC, ALAC, Opus and AMR decoders (and the parsers raw AAC
# and Opus need); swresample for the sample format conversion (the Opus
# decoder needs it too); the file protocol. Win32 threads avoid a winpthreads
# dependency.
FFMPEG_FLAGS=(
  --prefix="$PREFIX" --enable-cross-compile --cross-prefix="$HOST-"
  --cc="$CC_BIN" --cxx="$CXX_BIN" --arch=x86_64 --target-os=mingw32
  --enable-static --disable-shared --disable-debug
  --disable-everything --disable-programs --disable-doc --disable-network
  --disable-autodetect --disable-pthreads --enable-w32threads
  --disable-avdevice --disable-avfilter --disable-swscale --disable-postproc
  --enable-swresample
  --enable-demuxer=asf,mov,ogg,matroska,aac,amr
  --enable-decoder=wmav1,wmav2,aac,aac_latm,alac,opus,amrnb,amrwb
  --enable-parser=aac,aac_latm,opus
  --enable-protocol=file
)
mkdir -p "$WORK/build/ffmpeg"
(
  cd "$WORK/build/ffmpeg"
  run_logged configure-ffmpeg "$WORK/src/ffmpeg/configure" "${FFMPEG_FLAGS[@]}"
  run_logged build-ffmpeg make -j "$JOBS"
  run_logged install-ffmpeg make install DESTDIR="$STAGE"
)

# Only static libraries and headers are wanted (libFLAC++ is not built, but
# its headers are installed regardless).
rm -rf "$SP/share" "$SP/bin" "$SP/include/FLAC++" "$SP/lib/cmake/SoundTouch"
for lib in libogg libvorbis libvorbisfile libFLAC libavformat libavcodec libswresample libavutil libSoundTouch; do
  [[ -f $SP/lib/$lib.a ]] || die "missing $lib.a after install"
done

{
  echo "host=$HOST"
  echo "toolchain=$TOOLCHAIN"
  for p in "${SRC_PKGS[@]}"; do echo "$p=${VER[$p]}"; done
  echo "ffmpeg_configure=${FFMPEG_FLAGS[*]}"
} >"$SP/tapewright-deps.txt"
: >"$SP/$STAMP"

# A leftover prefix without a stamp is from a foreign or broken run.
rm -rf "$PREFIX"
mv -T "$SP" "$PREFIX"
log "done in $((SECONDS - start)) s: $PREFIX"
printf '%s\n' "$PREFIX" >&3
