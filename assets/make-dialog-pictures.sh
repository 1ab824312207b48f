#!/usr/bin/env bash
# Draws the pictures of the settings dialog:
#
#   mark-off.bmp, mark-on.bmp   the option box, not selected and selected
#   banner-01.bmp ..            the animated banner, one file a frame (as many
#                               as BRUMALIS_BANNER_FRAMES in common/shared_names.h
#                               says): the home page address and the author's
#                               name fade in and out while a few skeletons walk
#                               across; the last frame is empty
#   drawn/banner-01.bmp ..      the same frames as drawn, 24 bits per pixel,
#                               which a test holds the stored ones to
#   hand.cur                    the pointer shown over the link
#   icon.ico                    the sky icon of make-sky-icon.sh, 16, 32 and
#                               48 pixels: the window's and the program's
#
#   assets/make-dialog-pictures.sh OUTDIR [CLOUD-SLICE]
#
# CLOUD-SLICE is the cloud-slice tool of the native build; without it the
# script takes $CLOUD_SLICE, else build/native/bin/cloud-slice under the top
# of the tree. Needs ImageMagick 6 (`convert`), python3 and the DejaVu fonts.
# The bitmaps are Windows BMPs, bottom-up, without a colour space header: the
# option marks 24 bits per pixel, the banner frames 8 bits per pixel with run
# lengths (BI_RLE8, assets/bmp-rle8.py), which Windows decodes on loading.
# Nothing random or time-dependent goes into any of the files, so every run
# writes the same bytes.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 OUTDIR [CLOUD-SLICE]" >&2
    exit 2
fi
outdir=$1
cloud_slice=${2:-${CLOUD_SLICE:-$root/build/native/bin/cloud-slice}}

if ! [ -x "$cloud_slice" ]; then
    echo "$0: cloud-slice not found at $cloud_slice" >&2
    echo 'build it first (make native) or pass its path' >&2
    exit 1
fi

mkdir -p "$outdir" "$outdir/drawn"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Output options that make ImageMagick write 24 bits per pixel, whatever
# the colours of the picture.
readonly BMP24=(-type TrueColor -alpha off)

# ---------------------------------------------------------------------------
# Option marks.

readonly MARK=12
readonly MARK_BORDER='rgb(128,128,128)' MARK_PAPER='rgb(255,255,255)'
readonly MARK_EDGE='rgb(200,220,255)' MARK_FILL='rgb(40,90,200)'

# An empty box: a one-pixel grey frame round white.
mark_off() {
    convert -size $((MARK - 2))x$((MARK - 2)) "xc:$MARK_PAPER" \
        -bordercolor "$MARK_BORDER" -border 1 \
        "${BMP24[@]}" "BMP3:$1"
}

# A filled box: blue inside a one-pixel light edge.
mark_on() {
    convert -size $((MARK - 2))x$((MARK - 2)) "xc:$MARK_FILL" \
        -bordercolor "$MARK_EDGE" -border 1 \
        "${BMP24[@]}" "BMP3:$1"
}

# ---------------------------------------------------------------------------
# Banner.

# Size of the banner, and of the grey frame round it.
readonly BANNER_W=120 BANNER_H=50 FRAME=1 FRAME_COLOUR='rgb(128,128,128)'
# The field inside the frame, where everything is drawn.
readonly FIELD_W=$((BANNER_W - 2 * FRAME)) FIELD_H=$((BANNER_H - 2 * FRAME))

# The two lines of text: wording, face, size in pixels and distance of the
# top of the line from the top of the field. Both are centred across. The
# address is set narrow so that it stays readable at this size and still
# fits the width.
readonly ADDRESS='www.example.com/brumalis' ADDRESS_FONT=DejaVu-Sans-Condensed
readonly ADDRESS_SIZE=8 ADDRESS_TOP=4
readonly HANDLE='t-orka' HANDLE_FONT=DejaVu-Sans HANDLE_SIZE=8 HANDLE_TOP=14

# The number of frames, as the programs and the build know it.
source "$root/scripts/shared-names.sh"
FRAMES=$(shared_name BANNER_FRAMES)

# Grey level (0 black .. 255 white) of each line in each frame, one row a
# frame from the first: the address comes and goes, then the name, then both
# together; the last frame is empty.
LEVELS=(
    # address  handle
    "  40       0"
    "  100      0"
    "  170      0"
    "  255      0"
    "  255      0"
    "  170      0"
    "  100      0"
    "  40       0"
    "  0        40"
    "  0        100"
    "  0        170"
    "  0        255"
    "  0        255"
    "  0        170"
    "  0        100"
    "  0        40"
    "  60       60"
    "  140      140"
    "  220      220"
    "  220      220"
    "  140      140"
    "  60       60"
    "  20       20"
    "  0        0"
)
if [ "${#LEVELS[@]}" != "$FRAMES" ]; then
    echo "$0: the banner has $FRAMES frames (common/shared_names.h), the levels ${#LEVELS[@]} rows" >&2
    exit 1
fi

# The walking skeleton, one column per pose of the walk: feet apart with the
# near leg ahead, legs passing, feet apart with the near leg behind, legs
# passing again. '#' is bone, '+' the far leg in shadow, 'o' the holes of
# the skull, '.' empty. The body rides a pixel higher while the legs pass.
readonly POSES=4 SPRITE_W=13 SPRITE_H=21
readonly BONE='#ece6d6' SHADE='#8c877a' SOCKET='#000000'
SKELETON=(
    # feet apart   | legs passing  | feet apart    | legs passing
    ".............|....#####....|.............|....#####...."
    "....#####....|...#######...|....#####....|...#######..."
    "...#######...|...#oo#oo#...|...#######...|...#oo#oo#..."
    "...#oo#oo#...|...#oo#oo#...|...#oo#oo#...|...#oo#oo#..."
    "...#oo#oo#...|...###o###...|...#oo#oo#...|...###o###..."
    "...###o###...|....#####....|...###o###...|....#####...."
    "....#####....|....#.#.#....|....#####....|....#.#.#...."
    "....#.#.#....|......#......|....#.#.#....|......#......"
    "......#......|...#######...|......#......|...#######..."
    "...#######...|..#...#...#..|...#######...|..#...#...#.."
    "..#...#...#..|..#.#####.#..|..#...#...#..|..#.#####.#.."
    ".#..#####.#..|..#...#...#..|..#.#####..#.|..#...#...#.."
    ".#....#...#..|..#.#####.#..|..#...#....#.|..#.#####.#.."
    "#...#####.#..|......#......|..#.#####...#|......#......"
    "......#......|.....###.....|......#......|.....###....."
    ".....###.....|.....+.#.....|.....###.....|.....#.+....."
    "....+...#....|.....+.#.....|....#...+....|.....#.+....."
    "...+.....#...|......+#.....|...#.....+...|......#+....."
    "...+.....#...|.....+.#.....|...#.....+...|.....#.+....."
    "..+.......#..|....++.#.....|..#.......+..|....##.+....."
    "..++......##.|.......##....|..##......++.|.......++...."
)

# The skeletons walking in file, all at the same pace: where each stands in
# the first frame (left edge, field pixels) and the pose it starts in. They
# walk through the last frame but one and are gone in the last.
readonly STEP=7 WALK_FRAMES=$((FRAMES - 1)) SKELETON_TOP=$((FIELD_H - SPRITE_H - 1))
WALKERS=(
    #  x     first pose
    "  -6    0"
    "  -24   2"
    "  -42   1"
)

# Writes pose N (0-based) of the skeleton as an XPM picture.
sprite() {
    local pose=$1 row cells
    {
        echo '/* XPM */'
        echo 'static char *skeleton[] = {'
        echo "\"$SPRITE_W $SPRITE_H 4 1\","
        echo '". c None",'
        echo "\"# c $BONE\","
        echo "\"+ c $SHADE\","
        echo "\"o c $SOCKET\","
        for row in "${SKELETON[@]}"; do
            IFS='|' read -r -a cells <<<"$row"
            echo "\"${cells[$pose]}\","
        done
        echo '};'
    } >"$work/pose-$pose.xpm"
}

# Writes frame FRAME (1-based) of the banner to OUT, with the address and
# the name at the given grey levels (0 leaves a line out).
banner() {
    local frame=$1 out=$2 address=$3 handle=$4
    local drawn=$outdir/drawn/$(basename "$out")
    local args=(-gravity North)
    if [ "$address" -gt 0 ]; then
        args+=(-font "$ADDRESS_FONT" -pointsize "$ADDRESS_SIZE" -fill "rgb($address,$address,$address)"
            -annotate "+0+$ADDRESS_TOP" "$ADDRESS")
    fi
    if [ "$handle" -gt 0 ]; then
        args+=(-font "$HANDLE_FONT" -pointsize "$HANDLE_SIZE" -fill "rgb($handle,$handle,$handle)"
            -annotate "+0+$HANDLE_TOP" "$HANDLE")
    fi
    args+=(-gravity NorthWest)
    if [ "$frame" -le "$WALK_FRAMES" ]; then
        local walker x first
        for walker in "${WALKERS[@]}"; do
            read -r x first <<<"$walker"
            args+=("$work/pose-$(((first + frame - 1) % POSES)).xpm"
                -geometry "$(printf '%+d%+d' $((x + (frame - 1) * STEP)) "$SKELETON_TOP")"
                -composite)
        done
    fi
    convert -size "${FIELD_W}x${FIELD_H}" xc:black \
        "${args[@]}" \
        -bordercolor "$FRAME_COLOUR" -border "$FRAME" \
        "${BMP24[@]}" "BMP3:$drawn"
    # A frame holds a few dozen colours, mostly black: stored with 8 bits
    # a pixel and run lengths, the same pixels take a tenth of the bytes.
    python3 "$here/bmp-rle8.py" "$drawn" "$out"
}

banners() {
    local pose frame address handle
    for ((pose = 0; pose < POSES; pose++)); do
        sprite "$pose"
    done
    for ((frame = 1; frame <= FRAMES; frame++)); do
        read -r address handle <<<"${LEVELS[frame - 1]}"
        banner "$frame" "$(printf '%s/banner-%02d.bmp' "$outdir" "$frame")" "$address" "$handle"
    done
}

# ---------------------------------------------------------------------------

mark_off "$outdir/mark-off.bmp"
mark_on "$outdir/mark-on.bmp"
banners
python3 "$here/hand-cursor.py" "$outdir/hand.cur"
"$here/make-sky-icon.sh" "$outdir/icon.ico" "$cloud_slice" 16 32 48
