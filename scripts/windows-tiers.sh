#!/usr/bin/env bash
# Decides which Windows build the Windows tiers run in on this host and prints it: "win32" when
# 32-bit programs run here (the product's own build), "win64" when they cannot. Sourced by the
# test and demo commands, which get:
#   windows_build      win32 or win64
#   windows_reason     one line saying why
# AVERLUNE_WINDOWS_BUILD=win32|win64 forces the choice (to try the 64-bit-only path anywhere).

probe_32bit() { # true when a 32-bit program starts: Wine's own 32-bit loader is one
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

case "${AVERLUNE_WINDOWS_BUILD:-}" in
  win32 | win64)
    windows_build=$AVERLUNE_WINDOWS_BUILD
    windows_reason="forced by AVERLUNE_WINDOWS_BUILD"
    ;;
  "")
    if probe_32bit; then
      windows_build=win32
      windows_reason="this host runs 32-bit programs"
    else
      windows_build=win64
      windows_reason="this host cannot run 32-bit programs (32-bit Wine does not start)"
    fi
    ;;
  *)
    echo "AVERLUNE_WINDOWS_BUILD must be win32 or win64, not '$AVERLUNE_WINDOWS_BUILD'" >&2
    exit 2
    ;;
esac

# An if, not a bare test: a false last command would fail the `source` of callers under set -e.
wine_flavour=()
if [ "$windows_build" = win64 ]; then wine_flavour=(--wine64); fi
