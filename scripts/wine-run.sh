#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's private prefix and a display:
#   wine-run.sh --prefix <dir> [--display] program.exe [args...]
#   wine-run.sh --prefix <dir> --stop        ends the prefix's Wine processes and its Xvfb
# The prefix is created on first use (no Mono/Gecko installers, so nothing can block a headless
# run). Without --display (or when there is no $DISPLAY) the program gets a private Xvfb display
# that stays up between calls, recorded next to the prefix.
set -euo pipefail

prefix=""
use_display=0
stop=0
while [ $# -gt 0 ]; do
  case "$1" in
    --prefix) prefix=$(realpath -m "$2"); shift 2 ;;
    --display) use_display=1; shift ;;
    --stop) stop=1; shift ;;
    *) break ;;
  esac
done
[ -n "$prefix" ] || { echo "wine-run.sh: --prefix is required" >&2; exit 2; }

export WINEPREFIX="$prefix"
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers (they would block a headless run), and no copies of start-menu
# links into the host's own menus.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
display_file="$prefix.display"

xvfb_alive() {
  [ -f "$display_file" ] || return 1
  local number pid
  read -r number pid < "$display_file"
  kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$number" ]
}

if [ "$stop" = 1 ]; then
  if [ -d "$prefix" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -f "$display_file" ]; then
    read -r _ pid < "$display_file"
    kill "$pid" 2>/dev/null || true
    rm -f "$display_file"
  fi
  exit 0
fi

if [ "$use_display" = 1 ] && [ -n "${DISPLAY:-}" ]; then
  :
else
  if ! xvfb_alive; then
    number=90
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
    setsid Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.05; done
    mkdir -p "$(dirname "$display_file")"
    echo "$number $pid" > "$display_file"
  fi
  read -r number _ < "$display_file"
  export DISPLAY=":$number"
fi

if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi

exec wine "$@"
