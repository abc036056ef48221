#!/usr/bin/env bash
# The whole `mirvane-sheet pairs` job against libvips making the same sheet from the same
# photographs, run alternately so that both meet the same load: median wall time and peak
# resident memory of each over RUNS runs (after one warm-up run of each), and their ratios.
#
#   bench/versus_vips.sh BUILD_DIR PEERS_DIR IMAGE_DIR [RUNS] [SET...]
#
# PEERS_DIR holds peer_vips.c, gen_images.py and wrap_pairs.py; IMAGE_DIR the photographs
# gen_images.py made (IMAGE_DIR/max, IMAGE_DIR/typical; made here when missing, MAX takes
# some 15 minutes). SETs: max (six photographs, 4500 px) and typical (four, 3000 px), both by
# default. Needs libvips-dev and GNU time (Debian: time); PYTHON (default python3) must have
# numpy and Pillow for gen_images.py.
set -euo pipefail

build=$(cd "$1" && pwd)
peers=$(cd "$2" && pwd)
images=$3
python=${PYTHON:-python3}
runs=${4:-5}
shift $(($# < 4 ? $# : 4))
sets=("$@")
[ ${#sets[@]} -gt 0 ] || sets=(max typical)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 -o "$work/peer_vips" "$peers/peer_vips.c" $(pkg-config --cflags --libs vips) -lm

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

for set in "${sets[@]}"; do
  case $set in
    max) count=6 width=4500 ;;
    typical) count=4 width=3000 ;;
    *) echo "unknown set $set" >&2; exit 2 ;;
  esac
  [ -f "$images/$set/f1.jpg" ] || "$python" "$peers/gen_images.py" "$images" "$set"
  "$python" "$peers/wrap_pairs.py" "$images/$set" "$work/pairs-$set" "$count"
  ours=("$build/mirvane-sheet" pairs "$work"/pairs-"$set"/p*.qmp --columns 2 --width "$width"
        -o "$work/ours.png")
  theirs=("$work/peer_vips" "$set" "$work/vips.png")
  : >"$work/ours.log"
  : >"$work/vips.log"
  for ((i = 0; i <= runs; i++)); do
    # The first round warms the disk cache and is not counted.
    log=/dev/null
    [ $i -gt 0 ] && log=$work/ours.log
    rm -f "$work/ours.png"
    /usr/bin/time -f '%e %M' -a -o "$log" "${ours[@]}" >/dev/null
    [ $i -gt 0 ] && log=$work/vips.log
    IMG_DIR=$images /usr/bin/time -f '%e %M' -a -o "$log" "${theirs[@]}" >/dev/null
  done
  ours_s=$(awk '{print $1}' "$work/ours.log" | median)
  vips_s=$(awk '{print $1}' "$work/vips.log" | median)
  ours_mb=$(awk '{print $2 / 1024}' "$work/ours.log" | median)
  vips_mb=$(awk '{print $2 / 1024}' "$work/vips.log" | median)
  printf '%-8s %d runs: mirvane-sheet %.2f s, %.0f MiB peak; libvips %.2f s, %.0f MiB peak;' \
    "$set" "$runs" "$ours_s" "$ours_mb" "$vips_s" "$vips_mb"
  awk -v a="$ours_s" -v b="$vips_s" -v c="$ours_mb" -v d="$vips_mb" \
    'BEGIN {printf " time %.2f x, memory %.2f x\n", a / b, c / d}'
done
