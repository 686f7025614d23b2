#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's prefix with the capture
# sound device; CTest runs every Windows test program through it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
exec wine "$@"
