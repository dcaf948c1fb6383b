#!/usr/bin/env bash
# Regenerates the banners (banner-*.bmp), the application icon (app.ico) and the link cursor (hand.cur,
# hand-cursor.bin, hand-group.bin) in this folder: run res/art/make-art.sh from anywhere. Needs
# imagemagick, icoutils, python3, fonts-nanum and fonts-noto-cjk. The outputs are committed.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

for tool in convert identify icotool python3; do
    command -v "$tool" >/dev/null || { echo "make-art.sh: $tool is missing" >&2; exit 1; }
done
fonts=$(convert -list font)
for font in Noto-Serif-CJK-JP-Bold Noto-Serif-CJK-TC-Bold NanumMyeongjoBold; do
    grep -q "Font: $font\$" <<<"$fonts" || { echo "make-art.sh: font $font is missing" >&2; exit 1; }
done

title_font=Noto-Serif-CJK-JP-Bold
W=408
H=96

# The dark ground shared by the three banners: a plum-to-black gradient, a warm glow behind the
# title, and a double gold frame.
make_ground()
{
    convert -size ${W}x${H} gradient:'#2b2033'-'#09080d' \
        \( -size ${W}x${H} radial-gradient:'#5e4322'-'#000000' \) -compose screen -composite \
        -fill none -strokewidth 1 -stroke '#6b5222' -draw 'rectangle 3,3 404,92' \
        -stroke '#3a2c14' -draw 'rectangle 5,5 402,90' ground.png
}

# The title in metallic gold (a bright upper half over a darker band), with a dark edge and a soft
# drop shadow so that it stands off the ground.
make_title()
{
    convert -size ${W}x${H} xc:black -font "$title_font" -pointsize 38 -fill white \
        -gravity north -annotate +0+4 'Corvath Plus' title-mask.png
    convert \( -size ${W}x17 gradient:'#fff7d0'-'#e2b64e' \) \
        \( -size ${W}x17 gradient:'#a66c16'-'#f0cc6a' \) -append \
        -background '#f0cc6a' -gravity north -splice 0x15 -extent ${W}x${H} gold.png
    convert gold.png title-mask.png -alpha off -compose copy-opacity -composite title.png
    convert title-mask.png -morphology dilate disk:1.6 -blur 0x0.6 -alpha copy \
        -fill '#1c1004' -colorize 100 title-edge.png
    convert title-mask.png -morphology dilate disk:2 -blur 0x3 -alpha copy \
        -fill black -colorize 100 title-shadow.png
}

# banner NAME FONT KERNING TEXT: the title with the subtitle TEXT between two gold rules.
make_banner()
{
    local name=$1 font=$2 kerning=$3 text=$4
    convert -background none -font "$font" -pointsize 19 -kerning "$kerning" -fill '#ead9a4' \
        label:"$text" -trim +repage subtitle.png
    local sw sh sx sy cy left right
    sw=$(identify -format %w subtitle.png)
    sh=$(identify -format %h subtitle.png)
    sx=$(((W - sw) / 2))
    sy=62
    cy=$((sy + sh / 2))
    left=$((sx - 14))
    right=$((sx + sw + 14))
    convert ground.png \
        title-shadow.png -geometry +2+3 -compose over -composite \
        title-edge.png -geometry +0+0 -composite \
        title.png -composite \
        -stroke '#b08a3c' -strokewidth 1 \
        -draw "line 40,$cy $((left - 6)),$cy" -draw "line $((right + 6)),$cy 367,$cy" \
        -stroke none -fill '#d8b65a' \
        -draw "polygon $((left - 3)),$cy $left,$((cy - 3)) $((left + 3)),$cy $left,$((cy + 3))" \
        -draw "polygon $((right - 3)),$cy $right,$((cy - 3)) $((right + 3)),$cy $right,$((cy + 3))" \
        subtitle.png -geometry +$sx+$sy -composite \
        -alpha off -type TrueColor "banner-$name.png"
}

# The three banners share one 256-colour palette: quantise them together, then map each onto it.
# The header then says "no colour count" (biClrUsed and biClrImportant 0, offsets 46 and 50),
# which means a full 256-entry palette.
write_banners()
{
    convert banner-ko.png banner-ja.png banner-zh-TW.png -append +dither -colors 256 \
        -unique-colors palette.png
    local name
    for name in ko ja zh-TW; do
        convert "banner-$name.png" +dither -remap palette.png -type Palette -compress None \
            "BMP3:banner-$name.bmp"
        printf '\0\0\0\0\0\0\0\0' | dd of="banner-$name.bmp" bs=1 seek=46 conv=notrunc status=none
    done
}

check_banners()
{
    local name
    for name in ko ja zh-TW; do
        local size
        size=$(stat -c %s "banner-$name.bmp")
        [ "$size" -eq $((14 + 40232)) ] || { echo "banner-$name.bmp: $size bytes" >&2; exit 1; }
        cmp -s <(head -c 1078 banner-ko.bmp | tail -c 1024) \
            <(head -c 1078 "banner-$name.bmp" | tail -c 1024) ||
            { echo "banner-$name.bmp: palette differs from banner-ko.bmp" >&2; exit 1; }
    done
}

# crest SIZE RIM POINTS EDGE TOP: the icon image of SIZE pixels, drawn at 256 pixels and reduced.
# RIM is the gold rim's width at 256 pixels, POINTS the size of the C, EDGE the radius of its dark
# edge (0 for none: at 16 pixels it would swallow the letter) and TOP the gold at its top. Edges
# against the transparent corners are made hard, since the AND mask has no partial transparency.
crest()
{
    local n=$1 rim=$2 points=$3 edge=$4 top=$5
    local a=$((rim + rim / 2)) b=$((255 - rim - rim / 2))
    convert -size 256x256 gradient:'#3a2c44'-'#0b090f' \
        \( -size 256x256 xc:black -fill white -draw 'roundrectangle 0,0 255,255 40,40' \) \
        -alpha off -compose copy-opacity -composite plate.png
    convert -size 256x256 xc:none -fill none -stroke '#dcb04e' -strokewidth "$rim" \
        -draw "roundrectangle $a,$a $b,$b 30,30" rim.png
    convert -size 256x256 xc:black -font "$title_font" -pointsize "$points" -fill white \
        -gravity center -annotate +0+6 'C' c-mask.png
    convert -size 256x256 gradient:"$top"-'#c48a26' c-mask.png -alpha off \
        -compose copy-opacity -composite c.png
    if [ "$edge" -gt 0 ]; then
        convert c-mask.png -morphology dilate "disk:$edge" -alpha copy -fill '#140b02' \
            -colorize 100 c-edge.png
    else
        convert -size 256x256 xc:none c-edge.png
    fi
    convert plate.png rim.png -composite c-edge.png -composite c.png -composite \
        -resize "${n}x${n}" -channel A -threshold 50% +channel +dither -colors 255 \
        "PNG32:app-$n.png"
}

make_ground
make_title
make_banner ko NanumMyeongjoBold 2 '기동환경 설정'
make_banner ja Noto-Serif-CJK-JP-Bold 4 '起動環境設定'
make_banner zh-TW Noto-Serif-CJK-TC-Bold 4 '啟動環境設定'
write_banners
check_banners

# Icon images in the order the icon group numbers them: 16 x 16 first, then 32 x 32.
crest 32 8 220 6 '#fff6cc'
crest 16 16 270 0 '#ffe27a'
icotool -c -b 8 -o app.ico app-16.png app-32.png

# The hand is drawn pixel by pixel in hand.xpm; its index fingertip is the hot spot.
convert "$here/hand.xpm" PNG32:hand.png
icotool -c --cursor -X 6 -Y 0 -b 1 -o hand.cur hand.png

# windres numbers cursor images on their own, from 1, but the hand must be image 3 after the two
# icon images. So the script carries it as two raw resources cut from hand.cur: the image (hot spot,
# then the bitmap) and the one-entry cursor group that names it as image 3.
python3 - hand.cur <<'PY'
import struct, sys

data = open(sys.argv[1], "rb").read()
reserved, kind, count = struct.unpack_from("<HHH", data, 0)
width, height, _, _, hot_x, hot_y, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
if (kind, count, width, height, hot_x, hot_y) != (2, 1, 32, 32, 6, 0):
    sys.exit("hand.cur: not one 32 x 32 cursor with its hot spot at (6, 0)")
image = struct.pack("<HH", hot_x, hot_y) + data[offset:offset + size]
planes, bits = struct.unpack_from("<HH", image, 4 + 12)
open("hand-cursor.bin", "wb").write(image)
# Group entry: width, height (doubled: the AND mask follows the image), planes, bits, size, id.
open("hand-group.bin", "wb").write(
    struct.pack("<HHHHHHHIH", 0, 2, 1, width, height * 2, planes, bits, len(image), 3))
PY

cp banner-ko.bmp banner-ja.bmp banner-zh-TW.bmp app.ico hand.cur hand-cursor.bin hand-group.bin \
    "$here/"
echo "make-art.sh: wrote banners, app.ico, hand.cur, hand-cursor.bin and hand-group.bin"
