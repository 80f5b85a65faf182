#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's private prefix and a display:
#   wine-run.sh --prefix <dir> [--wine64] [--display] program.exe [args...]
#   wine-run.sh --prefix <dir> --stop        ends the prefix's Wine processes and its Xvfb
#   wine-run.sh --prefix <dir> --keep-server keeps the prefix's Wine server up until --stop, so that
#                                            no timed run pays for its start (benchmarks)
# --wine64 runs 64-bit programs on 64-bit Wine alone (its loader called directly), which works on
# hosts that cannot run 32-bit programs at all; without it Debian's `wine` runs 32-bit programs.
# The prefix is created on first use (no Mono/Gecko installers, so nothing can block a headless
# run). Without --display (or when there is no $DISPLAY) the program gets a private Xvfb display
# that stays up between calls, recorded next to the prefix. Every failure to get there stops with
# a message that names its cause.
set -euo pipefail

prefix=""
use_display=0
stop=0
keep_server=0
wine64=0
while [ $# -gt 0 ]; do
  case "$1" in
    --prefix) prefix=$(realpath -m "$2"); shift 2 ;;
    --wine64) wine64=1; shift ;;
    --display) use_display=1; shift ;;
    --stop) stop=1; shift ;;
    --keep-server) keep_server=1; shift ;;
    *) break ;;
  esac
done
fail() { echo "wine-run.sh: $*" >&2; exit 125; }
[ -n "$prefix" ] || { echo "wine-run.sh: --prefix is required" >&2; exit 2; }

export WINEPREFIX="$prefix"
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers (they would block a headless run), and no copies of start-menu
# links into the host's own menus.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
if [ "$wine64" = 1 ]; then
  wine=/usr/lib/wine/wine64
  export WINELOADER=$wine
  wineserver=/usr/lib/wine/wineserver64
else
  wine=wine
  wineserver=wineserver
fi
display_file="$prefix.display"

# Wine's server and its services, and the Xvfb display, outlive this script: they must not keep
# the caller's descriptors (a lock, a pipe the caller reads to its end) open for as long as they
# run. Windows programs have no use for them. 255 is the shell's own hold on this script. No
# redirection on the loop: the shell would keep the caller's standard error on a spare descriptor
# for it, the loop would close that one too, and every later message would go to the redirection.
for fd in /proc/$$/fd/*; do
  fd=${fd##*/}
  if [ "$fd" -gt 2 ] && [ "$fd" != 255 ] && [ -e "/proc/$$/fd/$fd" ]; then eval "exec $fd>&-"; fi
done

xvfb_alive() {
  [ -f "$display_file" ] || return 1
  local number pid
  read -r number pid < "$display_file"
  kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$number" ]
}

if [ "$stop" = 1 ]; then
  if [ -d "$prefix" ]; then "$wineserver" -k 2>/dev/null || true; fi
  if [ -f "$display_file" ]; then
    read -r _ pid < "$display_file"
    kill "$pid" 2>/dev/null || true
    rm -f "$display_file"
  fi
  exit 0
fi

# The loader must be able to start on this host before anything is asked of it: a 32-bit loader
# on a host without 32-bit support fails with "Exec format error", which Wine would otherwise
# only report as a bare exit code.
if ! loader_message=$("$wine" --version 2>&1); then
  if [ "$wine64" = 1 ]; then
    fail "64-bit Wine ($wine) cannot start: $loader_message"
  fi
  fail "32-bit Wine cannot start on this host ($loader_message); build with the win64 preset and run with --wine64"
fi

if [ "$use_display" = 1 ] && [ -n "${DISPLAY:-}" ]; then
  :
else
  if ! xvfb_alive; then
    command -v Xvfb >/dev/null || fail "Xvfb is not installed (scripts/bootstrap.sh installs it)"
    number=90
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
    setsid Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.05; done
    [ -e "/tmp/.X11-unix/X$number" ] || fail "Xvfb did not start on display :$number"
    mkdir -p "$(dirname "$display_file")"
    echo "$number $pid" > "$display_file"
  fi
  read -r number _ < "$display_file"
  export DISPLAY=":$number"
fi

if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix" || fail "cannot create the prefix folder $prefix"
  log="$prefix.create.log"
  if ! "$wine" wineboot -i >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    fail "creating the Wine prefix $prefix failed (wineboot -i; full output in $log)"
  fi
  "$wineserver" -w
  [ -f "$prefix/system.reg" ] || { fail "wineboot -i left no registry in $prefix (output in $log)"; }
fi

if [ "$keep_server" = 1 ]; then
  "$wineserver" -k 2>/dev/null || true
  exec "$wineserver" -p
fi

exec "$wine" "$@"
