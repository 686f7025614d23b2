# Imported static targets for the third-party audio libraries that
# deps/build-deps.sh builds for x86_64-w64-mingw32:
#   tpwr_ffmpeg      libavformat, libavcodec, libswresample, libavutil (WMA, and
#                    AAC, ALAC, Opus, AMR in MP4, Ogg, Matroska, ADTS and AMR files)
#   tpwr_vorbisfile  libvorbisfile, libvorbis, libogg
#   tpwr_flac        libFLAC (with Ogg FLAC), libogg
#   tpwr_soundtouch  libSoundTouch (time stretch with float samples)
include_guard(GLOBAL)

set(TPWR_DEPS_PREFIX "" CACHE PATH
    "Prefix printed by deps/build-deps.sh (its last stdout line)")

if(NOT WIN32)
  message(FATAL_ERROR "cmake/Deps.cmake holds Windows (MinGW) libraries; "
                      "include it only in the cross build.")
endif()

set(_tpwr_deps_hint
    "Build the libraries and pass their prefix:\n"
    "  prefix=$(deps/build-deps.sh | tail -n1)\n"
    "  cmake ... -DTPWR_DEPS_PREFIX=\"$prefix\"")
if(NOT TPWR_DEPS_PREFIX)
  message(FATAL_ERROR "TPWR_DEPS_PREFIX is not set. " ${_tpwr_deps_hint})
endif()
# The stamp is written last, so its absence means a missing or partial prefix.
if(NOT EXISTS "${TPWR_DEPS_PREFIX}/.tapewright-deps-complete")
  message(FATAL_ERROR "TPWR_DEPS_PREFIX='${TPWR_DEPS_PREFIX}' is not a complete "
                      "deps prefix. " ${_tpwr_deps_hint})
endif()

# One IMPORTED static library per archive. Each lists what it needs in
# INTERFACE_LINK_LIBRARIES so CMake puts dependents before their dependencies.
function(_tpwr_import_static name file)
  set(path "${TPWR_DEPS_PREFIX}/lib/${file}")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "Missing ${path}; rebuild with deps/build-deps.sh.")
  endif()
  add_library(tpwr_dep_${name} STATIC IMPORTED GLOBAL)
  set_target_properties(tpwr_dep_${name} PROPERTIES
    IMPORTED_LOCATION "${path}"
    INTERFACE_INCLUDE_DIRECTORIES "${TPWR_DEPS_PREFIX}/include"
    INTERFACE_LINK_LIBRARIES "${ARGN}")
endfunction()

# Windows libraries taken from the Libs lines of FFmpeg's .pc files.
_tpwr_import_static(avutil libavutil.a bcrypt user32 ole32 atomic)
_tpwr_import_static(swresample libswresample.a tpwr_dep_avutil)
_tpwr_import_static(avcodec libavcodec.a tpwr_dep_swresample tpwr_dep_avutil)
_tpwr_import_static(avformat libavformat.a tpwr_dep_avcodec tpwr_dep_avutil)

_tpwr_import_static(ogg libogg.a)
_tpwr_import_static(vorbis libvorbis.a tpwr_dep_ogg)
_tpwr_import_static(vorbisfile libvorbisfile.a tpwr_dep_vorbis tpwr_dep_ogg)

_tpwr_import_static(flac libFLAC.a tpwr_dep_ogg)
# Without FLAC__NO_DLL the headers declare dllimport symbols a static lib lacks.
set_property(TARGET tpwr_dep_flac PROPERTY INTERFACE_COMPILE_DEFINITIONS FLAC__NO_DLL)

_tpwr_import_static(soundtouch libSoundTouch.a)

add_library(tpwr_ffmpeg INTERFACE)
target_link_libraries(tpwr_ffmpeg INTERFACE tpwr_dep_avformat tpwr_dep_swresample)
add_library(tpwr_vorbisfile INTERFACE)
target_link_libraries(tpwr_vorbisfile INTERFACE tpwr_dep_vorbisfile)
add_library(tpwr_flac INTERFACE)
target_link_libraries(tpwr_flac INTERFACE tpwr_dep_flac)
add_library(tpwr_soundtouch INTERFACE)
target_link_libraries(tpwr_soundtouch INTERFACE tpwr_dep_soundtouch)

unset(_tpwr_deps_hint)
