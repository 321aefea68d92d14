#!/bin/bash
# Starts the Standalone app on the current X display (an Xvfb with -noreset), screenshots its window,
# checks the size and a few pixels of the editor, then closes it like a user.
# Usage: standalone_window.sh PATH_TO_APP OUTPUT_DIR
set -u
app="$1"
out="$2"
here="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$out"

# The app keeps its settings under $HOME; do not touch the real one.
HOME="$(mktemp -d)"
export HOME
trap 'rm -rf "$HOME"' EXIT

python3 "$here/close_window.py" --intern || { echo "FAIL: no X display"; exit 1; }
"$app" > "$out/standalone.log" 2>&1 &
pid=$!

fail() {
    echo "FAIL: $*"
    kill "$pid" 2> /dev/null
    exit 1
}

window=""
for _ in $(seq 1 300); do
    window=$(xwininfo -root -children 2> /dev/null | awk '/"Brisa"/ { print $1; exit }')
    if [ -n "$window" ] && xwininfo -id "$window" | grep -q "IsViewable"; then
        break
    fi
    window=""
    kill -0 "$pid" 2> /dev/null || fail "app exited before showing its window"
    sleep 0.1
done
[ -n "$window" ] || fail "no Brisa window appeared"
sleep 1 # let the first paint land

width=$(xwininfo -id "$window" | awk '/Width:/ { print $2 }')
height=$(xwininfo -id "$window" | awk '/Height:/ { print $2 }')
echo "window $window: ${width}x${height}"

# The app frames the 720 x 400 editor with a thin border, its title bar and,
# without a sound card, a notice bar above the editor.
border=$(((width - 720) / 2))
[ "$border" -ge 0 ] && [ "$border" -le 8 ] && [ $((width - 2 * border)) -eq 720 ] \
    || fail "window width $width does not hold a 720 pixel editor"
top=$((height - border - 400))
[ "$top" -ge 0 ] || fail "window height $height does not hold a 400 pixel editor"

pixel() { convert "$out/standalone.png" -format "%[hex:p{$(($1 + border)),$(($2 + top))}]" info: | cut -c1-6; }
check() {
    local got
    got=$(pixel "$1" "$2")
    [ "$got" = "$3" ] || { echo "pixel ($1,$2) is $got, expected $3 ($4)"; return 1; }
    echo "pixel ($1,$2) $got ok ($4)"
}
# Cells below the glow, left of their knobs. A busy machine may paint late:
# look again for a while before calling it a failure.
painted=""
for _ in $(seq 1 20); do
    xwd -silent -id "$window" | convert xwd:- "$out/standalone.png" || fail "screenshot failed"
    if check 309 353 05251E "Tone cell" && check 411 353 00664A "Shape cell" \
        && check 514 353 00D4A8 "Damping cell" && check 617 353 0F0F0F "plain cell"; then
        painted=yes
        break
    fi
    sleep 1
done
[ -n "$painted" ] || fail "the editor's cells never showed their colours"

python3 "$here/close_window.py" "$window" || fail "could not send close request"
for _ in $(seq 1 100); do
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2> /dev/null && fail "app did not quit after its window was closed"
wait "$pid"
status=$?
[ "$status" -eq 0 ] || fail "app exited with status $status"
echo "standalone window: ok"
