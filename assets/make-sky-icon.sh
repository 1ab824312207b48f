#!/usr/bin/env bash
# Draws the sky icon: a blue sky with clouds made from the renderer's own
# cloud texture, in one or more square sizes, as one Windows icon file.
#
#   assets/make-sky-icon.sh OUTPUT.ico CLOUD-SLICE SIZE...
#
# CLOUD-SLICE is the cloud-slice tool of the native build. Each size (a
# multiple of 4, 256 at most) is drawn on its own from the same recipe and
# reduced to 256 colours. make-dialog-pictures.sh draws it in 16, 32 and 48
# pixels: the settings dialog's window takes the 32-pixel image, Explorer the
# size it shows for Brumalis.scr. Needs ImageMagick 6 (`convert`) and
# python3. Nothing random or time-dependent goes into the file, so every run
# writes the same bytes.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)

if [ $# -lt 3 ]; then
    echo "usage: $0 OUTPUT.ico CLOUD-SLICE SIZE..." >&2
    exit 2
fi
out=$1 cloud_slice=$2
shift 2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Sky from the top of the icon down.
readonly SKY_TOP='rgb(16,48,148)' SKY_BOTTOM='rgb(170,208,244)'
# The part of the 128 x 128 start-up cloud slice that is shrunk onto the
# icon, the grey levels of the slice that become clear sky and full cloud,
# and how much of the cloud is kept at the top (the rest fades in down to
# the bottom), so the deep blue shows above.
readonly CLOUD_CROP=48x48+60+70 CLOUD_LEVEL=25%,90% CLOUD_BLUR=0x0.6 CLOUD_TOP=gray60

slice=$work/cloud.pgm
"$cloud_slice" --startup 0 --pgm "$slice" >/dev/null

pictures=()
for size in "$@"; do
    convert -size "${size}x${size}" "gradient:$SKY_TOP-$SKY_BOTTOM" \
        '(' -size "${size}x${size}" xc:white \
            '(' "$slice" -crop "$CLOUD_CROP" +repage -resize "${size}x${size}!" \
                -level "$CLOUD_LEVEL" -blur "$CLOUD_BLUR" \
                '(' -size "${size}x${size}" "gradient:$CLOUD_TOP-white" ')' \
                -compose Multiply -composite ')' \
            -alpha off -compose CopyOpacity -composite ')' \
        -compose Over -composite \
        -alpha off +dither -colors 256 -depth 8 \
        "PPM:$work/sky-$size.ppm"
    pictures+=("$work/sky-$size.ppm")
done
python3 "$here/ppm-to-ico.py" "${pictures[@]}" "$out"
