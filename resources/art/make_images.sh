#!/bin/sh
# Draws the pictures the HTML pages use into resources/Image/. Everything is
# drawn here from shapes and the installed Noto CJK font, so the pictures are
# our own. Re-run after changing a drawing and commit the GIFs.
#   Bg1.gif    page background, a faint newsprint tile
#   Logo.gif   sports-page masthead
#   Zelji.gif  the 穴 mark beside the headline
#   <coat>.gif one horse head per coat colour for the newspapers
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../Image}
mkdir -p "$out"

# The Debian binary is preferred: a wrapper earlier on PATH may behave differently.
if [ -x /usr/bin/convert-im6.q16 ]; then
    convert=/usr/bin/convert-im6.q16
else
    convert=convert
fi

font_bold=$(fc-match -f '%{file}' 'Noto Sans CJK JP:style=Bold')
font_serif=$(fc-match -f '%{file}' 'Noto Serif CJK JP:style=Bold')

# Newsprint: warm paper, seeded grain (so the output is reproducible) and
# faint ruled lines every eight pixels. 64 x 64 tiles seamlessly.
"$convert" -size 64x64 xc:'#f3efe3' -seed 2001 -attenuate 0.35 +noise Gaussian \
    -fill '#e6e0cf' -draw 'line 0,7 63,7' -draw 'line 0,15 63,15' -draw 'line 0,23 63,23' \
    -draw 'line 0,31 63,31' -draw 'line 0,39 63,39' -draw 'line 0,47 63,47' \
    -draw 'line 0,55 63,55' -draw 'line 0,63 63,63' \
    -colorspace sRGB -colors 16 +dither "$out/Bg1.gif"

# Masthead: slanted blue title over a red rule, with a horseshoe emblem at
# the left. White ground like the cell it sits in.
"$convert" -size 280x50 xc:white \
    -fill '#c8102e' -draw 'rectangle 6,43 274,46' \
    -fill none -stroke '#c8102e' -strokewidth 7 -draw 'arc 6,6 38,38 125,415' \
    -fill white -stroke none -draw 'circle 7.5,28.8 7.5,30' -draw 'circle 7.5,15.2 7.5,16.4' \
    -draw 'circle 15.2,7.5 15.2,8.7' -draw 'circle 28.8,7.5 28.8,8.7' \
    -draw 'circle 36.5,15.2 36.5,16.4' -draw 'circle 36.5,28.8 36.5,30' \
    \( -background none -font "$font_bold" -pointsize 28 -fill '#1a2f9c' -stroke '#0d1a5e' \
       -strokewidth 1 label:'ゼルコ馬スポーツ' -shear 14x0 \) \
    -geometry +44+0 -composite \
    -colors 32 +dither "$out/Logo.gif"

# The 穴 mark: white character on a red disc with a dark ring.
"$convert" -size 200x200 xc:none \
    -fill '#d81e28' -stroke '#7a0d12' -strokewidth 10 -draw 'circle 100,100 100,8' \
    -font "$font_serif" -pointsize 130 -fill white -stroke white -strokewidth 2 \
    -gravity center -annotate +0+6 '穴' \
    -resize 64x64 -background white -alpha remove -colors 32 +dither "$out/Zelji.gif"

# One horse head per coat colour: body colour, mane colour.
head() {
    name=$1 body=$2 mane=$3 outline=$4
    "$convert" -size 96x96 xc:none \
        -fill "$body" -stroke "$outline" -strokewidth 3 \
        -draw 'polygon 94,94 92,60 84,36 74,20 72,4 66,14 60,2 56,18 50,22 14,60 9,67 8,74 12,80 20,82 28,78 40,70 52,64 56,70 60,94' \
        -fill none -stroke "$mane" -strokewidth 8 -draw 'polyline 70,10 78,24 88,44 93,70 94,92' \
        -fill "$outline" -stroke none -draw 'circle 42,36 42,40' -draw 'circle 16,70 16,72' \
        -resize 32x32 -background none -colors 32 +dither "$out/$name.gif"
}
head kuri     '#c0642e' '#a44a1c' '#3a1c0c' # 栗毛: chestnut
head totikuri '#7c3a1a' '#c49a6c' '#2a1208' # 栃栗毛: dark chestnut, pale mane
head sika     '#9a5a2c' '#141414' '#241208' # 鹿毛: bay, black mane
head kurosika '#5a3420' '#141414' '#1a0c04' # 黒鹿毛: dark bay
head aosika   '#33241c' '#0c0c0c' '#060606' # 青鹿毛: brown-black
head ao       '#1c1c22' '#08080a' '#000000' # 青毛: black
head asi      '#b4b4b4' '#7a7a7a' '#3c3c3c' # 芦毛: grey
head siro     '#f7f7f2' '#dcdcd4' '#6a6a6a' # 白毛: white
