#!/bin/sh
# Maps or unmaps the end-to-end tests' drives in a Wine prefix's device folder:
#   test-drives.sh map|unmap <dosdevices folder> <folder of D:> <folder of E:>
# D: is a folder of its own, so that its free space differs from C:'s. E: is a memory file system
# of 1 MiB for the journeys on a full drive; only root may mount one, so elsewhere E: stays
# unmapped and those tests say so and pass over.
set -eu
action=$1 devices=$2 drive_d=$3 drive_e=$4
case "$action" in
  map)
    mkdir -p "$drive_d"
    ln -sfn "$drive_d" "$devices/d:"
    if [ "$(id -u)" = 0 ] && mkdir -p "$drive_e" &&
       { mountpoint -q "$drive_e" || mount -t tmpfs -o size=1m averlune-small-drive "$drive_e"; }; then
      ln -sfn "$drive_e" "$devices/e:"
    else
      echo "test-drives.sh: no small drive E: (mounting needs root)"
    fi ;;
  unmap)
    rm -f "$devices/d:" "$devices/e:"
    rm -rf "$drive_d"
    if mountpoint -q "$drive_e"; then umount "$drive_e"; fi
    rm -rf "$drive_e" ;;
  *) echo "usage: test-drives.sh map|unmap <dosdevices> <drive D folder> <drive E folder>" >&2; exit 2 ;;
esac
