#!/usr/bin/env bash
# Makes the program's icon in the sizes of the desktop's icon theme
# (resources/icons/<N>.png, committed) from its 32 x 32 pixel art
# (resources/main_icon.xpm), by whole blocks only, so that every size stays
# crisp: from 32 pixels up, the art at the largest whole scale that fits
# (2 x 2 blocks at 64, 8 x 8 at 256), centred on a transparent ground;
# below 32, every second pixel of it (the art at 16 pixels), centred the same
# way. Usage: make-icons.sh [output folder]; run it after changing the art.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-resources/icons}
mkdir -p "$out"
for size in 16 22 24 32 48 64 128 256; do
  if [ "$size" -ge 32 ]; then
    art=$(( size / 32 * 32 ))
  else
    art=16
  fi
  # -sample takes whole pixels (no blending); the PNG carries no time stamp
  # so that the files only change when the picture does.
  convert resources/main_icon.xpm -sample "${art}x${art}" \
          -background none -gravity center -extent "${size}x${size}" \
          -strip -define png:exclude-chunks=date,time "PNG32:$out/$size.png"
done
