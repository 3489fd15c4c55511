# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# On a high-density screen (Qt's scale factor, the X resource Xft.dpi that desktops set, or for the
# Windows program Windows' own display density) the
# window keeps its size in logical pixels, the level menu lies where it lies at 100 %, its borders
# are crisp lines of whole device pixels in their colours, and "Basta!" ends the program with
# status 0.
source "$(dirname "$0")/session.sh"
require Xvfb xdotool xwininfo xrdb import od awk
xvfb_screen=2000x1500x24 # room for the window at 200 %
source "$(dirname "$0")/xvfb-session.sh"

# How the screen is scaled: the ratio of device to logical pixels, and how it is set.
scales="
1.25 QT_SCALE_FACTOR=1.25
1.5 QT_SCALE_FACTOR=1.5
2 QT_SCALE_FACTOR=2
1.5 Xft.dpi:144
1.5 windows-dpi:144
2 windows-dpi:192
"

# The menu's bordered labels as laid out at 100 %, in logical pixels of the window: left, top,
# width, height, border colour.
menu="
Livello_1 235 89 263 54 192,255,192
Livello_2 235 149 263 54 128,255,128
Livello_3 235 209 263 54 0,255,0
Livello_4 235 269 263 54 255,255,0
Livello_5 235 329 263 54 255,0,0
Basta! 275 414 183 49 192,192,255
"

# check_borders RATIO WIDTH < RGB: for each label of $menu, its edges are rounded to device pixels
# and its border is as thick as one logical pixel rounded, at least one device pixel. Every pixel
# of that band must be the border colour, every pixel of the ring around it black, and the ring
# just inside must not be a second line of the colour (the text may touch it). Prints one line per
# label and "bad" lines for what is wrong.
check_borders() {
    od -An -v -tu1 -w3 | awk -v r="$1" -v W="$2" -v menu="$menu" '
        function round(v) { return int(v + 0.5) }
        BEGIN {
            n = split(menu, rows, "\n")
            t = round(r) < 1 ? 1 : round(r)
            for (i = 1; i <= n; i++) {
                if (split(rows[i], f, " ") != 6) continue
                k++
                name[k] = f[1]; colour[k] = f[6]
                L[k] = round(f[2] * r); T[k] = round(f[3] * r)
                R[k] = round((f[2] + f[4]) * r); B[k] = round((f[3] + f[5]) * r)
            }
        }
        {
            x = (NR - 1) % W; y = int((NR - 1) / W); c = $1 "," $2 "," $3
            for (i = 1; i <= k; i++) {
                if (x < L[i] - 1 || x > R[i] || y < T[i] - 1 || y > B[i]) continue
                if (x == L[i] - 1 || x == R[i] || y == T[i] - 1 || y == B[i]) {
                    if (c != "0,0,0") { outer[i]++; if (!o[i]) o[i] = x "," y " is " c }
                } else if (x < L[i] + t || x >= R[i] - t || y < T[i] + t || y >= B[i] - t) {
                    band[i]++
                    if (c != colour[i]) { bad[i]++; if (!b[i]) b[i] = x "," y " is " c }
                } else if (x == L[i] + t || x == R[i] - t - 1 || y == T[i] + t || y == B[i] - t - 1) {
                    inner[i]++
                    if (c == colour[i]) lit[i]++
                }
            }
        }
        END {
            for (i = 1; i <= k; i++) {
                want = 2 * t * (R[i] - L[i]) + 2 * t * (B[i] - T[i] - 2 * t)
                printf "%s: border %dx%d+%d+%d, %d px thick: %d of %d pixels %s, %d off colour, " \
                    "%d lit around it, %d of %d lit inside\n", name[i], R[i] - L[i], B[i] - T[i],
                    L[i], T[i], t, band[i], want, colour[i], bad[i], outer[i], lit[i], inner[i]
                if (band[i] != want) print "bad: " name[i] " border lies partly outside the window"
                if (bad[i]) print "bad: " name[i] " border pixel " b[i]
                if (outer[i]) print "bad: " name[i] " pixel around the border " o[i]
                if (2 * lit[i] >= inner[i]) print "bad: " name[i] " border is thicker than " t " px"
            }
        }'
}

# Windows' display density stays set for later programs: 100 % again when the test ends (the
# Windows suite sets it again before its tests, for a test killed at its time-out).
restore_density() {
    [ -z "$runner" ] || CORVALLO_WINDOWS_DPI=96 "$runner" "$corvallo_bin" 0 >/dev/null 2>&1 || true
}
trap 'restore_density; cleanup' EXIT

start_x
while read -r ratio way <&3; do
    [ -n "$ratio" ] || continue
    # Xft.dpi is the X desktop's setting: a program of another system through a runner (Windows,
    # under Wine) takes its density from that system's own display settings, which in turn only
    # such a program reads.
    if [ -n "$runner" ] && [ "${way%%:*}" = Xft.dpi ]; then
        echo "$way: not applying to a program through $(basename "${runner%% *}"), which reads its own system's density"
        continue
    fi
    if [ -z "$runner" ] && [ "${way%%:*}" = windows-dpi ]; then
        echo "$way: not applying to a program of this system"
        continue
    fi
    unset QT_SCALE_FACTOR
    [ -z "$runner" ] || export CORVALLO_WINDOWS_DPI=96
    xrdb -remove
    case $way in
    QT_SCALE_FACTOR=*) export QT_SCALE_FACTOR=${way#*=} ;;
    Xft.dpi:*) echo "$way" | xrdb -merge ;;
    windows-dpi:*) export CORVALLO_WINDOWS_DPI=${way#*:} ;;
    esac
    start_app

    # The device size is the logical 731 x 544 scaled and rounded.
    read -r width height < <(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
    want_width=$(awk -v r="$ratio" 'BEGIN { print int(731 * r + 0.5) }')
    want_height=$(awk -v r="$ratio" 'BEGIN { print int(544 * r + 0.5) }')
    [ "$width" = "$want_width" ] && [ "$height" = "$want_height" ] \
        || fail "with $way the window is ${width}x${height}, not ${want_width}x${want_height}"
    echo "$way: window ${width}x${height} device pixels, 731x544 logical"

    # On a busy machine the menu may be painted a little after the window is mapped: wait for the
    # top-left corner of "Livello 1".
    read -r x y < <(awk -v r="$ratio" 'BEGIN { print int(235 * r + 0.5), int(89 * r + 0.5) }')
    for _ in $(seq 50); do
        [ "$(pixel "$x" "$y")" = 192,255,192 ] && break
        sleep 0.1
    done
    import -window "$window" -depth 8 rgb:"$work/menu.rgb"
    check_borders "$ratio" "$width" <"$work/menu.rgb" >"$work/borders.txt"
    sed 's/^/  /' "$work/borders.txt"
    ! grep -q '^bad' "$work/borders.txt" || fail "with $way the menu's borders are not crisp"

    read -r x y < <(awk -v r="$ratio" 'BEGIN { print int(366 * r), int(438 * r) }')
    click_at "$x" "$y"
    wait_exit 2
    [ "$exit_status" = 0 ] || fail "with $way, after Basta! the program gave '$exit_status', expected 0"
    expect_quiet "with $way"
done 3<<<"$scales"
echo "PASS: at every scale the window keeps its logical size, the menu's borders are crisp, and Basta! ends it"
