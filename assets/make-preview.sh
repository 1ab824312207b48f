#!/usr/bin/env bash
# Draws the picture shown in the small preview pane of the display settings:
# a handful of paper banknotes lying scattered on black.
#
#   assets/make-preview.sh OUTPUT.bmp
#
# Needs ImageMagick 6 (`convert`) and the DejaVu fonts. The output is a
# 152 x 112 Windows BMP, 24 bits per pixel, bottom-up, without a colour space
# header. Nothing random or time-dependent goes into it, so every run writes
# the same bytes.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 OUTPUT.bmp" >&2
    exit 2
fi
out=$1

# Final picture size, and the factor it is drawn larger by before it is
# averaged down, which smooths the thin lines and the figures.
readonly WIDTH=152 HEIGHT=112 SCALE=4
# Size of a note in final pixels.
readonly NOTE_W=50 NOTE_H=25

# The kinds of note: paper, the tint behind the portrait, the ink of the
# lines and figures, and the value printed in the corners.
declare -A PAPER TINT INK VALUE
#      kind            paper          tint           ink            value
kind() { PAPER[$1]=$2; TINT[$1]=$3; INK[$1]=$4; VALUE[$1]=$5; }
kind   green          '#cfe3bf'      '#a9c79a'      '#3b5e33'      10
kind   brown          '#e6d3ae'      '#c9ad80'      '#6e4b26'      20
kind   blue           '#c5d7ea'      '#9db6d3'      '#32527a'      50
kind   rose           '#ecccd2'      '#d3a3ae'      '#7a3344'      100

# The notes, from the bottom of the pile to the top: kind, centre in final
# pixels, and turn in degrees (clockwise).
NOTES=(
    #  kind   x    y    angle
    "  blue   44   32   -16"
    "  brown  106  27    11"
    "  rose   44   74    9"
    "  green  110  76   -14"
    "  brown  70   44   -5"
    "  blue   84   70   18"
    "  green  72   89   -4"
)

args=()

# Appends to `args` the drawing of one note of the given kind, turned by the
# given angle and laid with its centre at (x, y).
note() {
    local kind=$1 x=$2 y=$3 angle=$4
    local w=$((NOTE_W * SCALE)) h=$((NOTE_H * SCALE)) s=$SCALE
    local paper=${PAPER[$kind]} tint=${TINT[$kind]} ink=${INK[$kind]}
    local value=${VALUE[$kind]}
    # Figures in final pixels: the large value top left, the small one
    # bottom right; three figures are set smaller to keep clear of the oval.
    local big=9 small=5
    if [ ${#value} -gt 2 ]; then big=7 small=4; fi

    # Portrait oval, right of the middle.
    local ox=$((w * 60 / 100)) oy=$((h / 2))
    local orx=$((h * 27 / 100)) ory=$((h * 34 / 100))
    # Head and shoulders inside it.
    local hy=$((oy - ory * 22 / 100)) hr=$((ory * 30 / 100))
    local sy=$((oy + ory * 82 / 100)) srx=$((orx * 58 / 100)) sry=$((ory * 46 / 100))
    # Inner frame inset.
    local f=$((3 * s))

    args+=(
        '(' -gravity NorthWest -size "${w}x${h}" "xc:$paper"
            -fill none -stroke "$ink" -strokewidth "$s"
            -draw "rectangle $((s / 2)),$((s / 2)) $((w - 1 - s / 2)),$((h - 1 - s / 2))"
            -strokewidth $((s / 2))
            -draw "rectangle $f,$f $((w - 1 - f)),$((h - 1 - f))"
            -fill "$tint"
            -draw "ellipse $ox,$oy $orx,$ory 0,360"
            -fill "$ink" -stroke none
            -draw "circle $ox,$hy $((ox + hr)),$hy"
            -draw "ellipse $ox,$sy $srx,$sry 180,360"
            # Lines of small print left of the portrait.
            -stroke "$tint" -strokewidth "$s"
            -draw "line $((f + 3 * s)),$((h * 62 / 100)) $((ox - orx - 3 * s)),$((h * 62 / 100))"
            -draw "line $((f + 3 * s)),$((h * 75 / 100)) $((ox - orx - 6 * s)),$((h * 75 / 100))"
            -stroke none -fill "$ink" -font DejaVu-Sans-Bold
            -pointsize $((big * s)) -draw "text $((f + 2 * s)),$((f + s)) '$value'"
            -pointsize $((small * s))
            -gravity SouthEast -draw "text $((f + s)),$((f + s)) '$value'"
            -background none -rotate "$angle"
        ')'
        -gravity Center
        -geometry "$(printf '%+d%+d' $(((x - WIDTH / 2) * SCALE)) $(((y - HEIGHT / 2) * SCALE)))"
        -composite
    )
}

for row in "${NOTES[@]}"; do
    # shellcheck disable=SC2086
    note $row
done

convert -size $((WIDTH * SCALE))x$((HEIGHT * SCALE)) xc:black \
    "${args[@]}" \
    -filter Box -resize "${WIDTH}x${HEIGHT}!" \
    -type TrueColor -alpha off \
    "BMP3:$out"
