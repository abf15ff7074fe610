#!/usr/bin/env bash
# The real program, driven as a person would drive it: keys and the mouse
# through the X server (xdotool), pictures of the screen on the way
# (ImageMagick). Run it under Xvfb:
#
#   xvfb-run -a -s "-screen 0 1280x720x24" tests/e2e/run.sh BUILD_DIR
#
# From a fresh Documents folder it skips the splash, walks the title menu,
# switches the language to German and turns the music down, plays a local
# two-player match with random movement, shots and bends, pauses and quits
# to the title, looks at the credits and a tutorial, and quits. It passes
# when the program exits 0, prints no error, and the saved configuration
# holds the language and the music volume chosen.
#
# During the match a picture every five seconds fails the run when a
# player's view shows the arena from outside. At its start, five clicks
# whose press and release come back to back must each throw the ball.
#
# E2E_HOLD (seconds between two keys and before a picture, default 0.6)
# and E2E_PLAY_SECONDS (default 60, the players' drop onto the floor
# included) stretch it for slow builds. A menu key is held for E2E_PRESS
# seconds (default 0.3), as a person presses it, short of the 0.4 s after
# which a held direction repeats. The repeat counts the time between the
# frames that saw the key down, never longer than the press, so no frame
# rate makes it repeat.
set -euo pipefail

build="$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)"
hold="${E2E_HOLD:-0.6}"
press="${E2E_PRESS:-0.3}"
play_seconds="${E2E_PLAY_SECONDS:-60}"
# Seconds a step (the window, a scene, the end) may take before the run is
# called hung: far past the slowest seen, a start of about 70 s under the
# sanitizers on a machine loaded three times over.
patience=300
shots="$build/screenshots"
mkdir -p "$shots"

if [ -z "${DISPLAY:-}" ]; then
  echo "e2e: no DISPLAY; run under xvfb-run" >&2
  exit 2
fi

home="$(mktemp -d)"
log="$build/e2e-output.txt"
pid=""
finish() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -rf "$home"
}
trap finish EXIT

fail() {
  echo "e2e: FAILED: $*" >&2
  shot "failure"
  echo "--- program output (last 40 lines) ---" >&2
  tail -n 40 "$log" >&2 || true
  exit 1
}

step=0
# A frame or two after the last key, so the picture shows what it did.
shot() {
  step=$((step + 1))
  sleep "$hold"
  import -window root "$(printf '%s/e2e_%02d_%s.png' "$shots" "$step" "$1")" 2>/dev/null || true
}

# A key held past the menus' repeat delay would count twice. The press and
# the release go in one call: on a busy machine a second xdotool starts a
# tenth of a second late or more, and the key would be held that much
# longer. After the release, time for a page that opens or a language that
# loads before the next key.
key() {
  local k
  for k in "$@"; do
    xdotool keydown "$k" sleep "$press" keyup "$k"
    sleep "$hold"
  done
}
repeat_key() {
  local count="$1" k="$2" i
  for ((i = 0; i < count; i++)); do key "$k"; done
}

# Waits until the program's output has at least COUNT lines matching the
# pattern; fails after SECONDS.
wait_for_output() {
  local pattern="$1" count="$2" seconds="$3" waited=0
  while [ "$(grep -c -- "$pattern" "$log" || true)" -lt "$count" ]; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended while waiting for \"$pattern\""
    [ "$waited" -ge "$((seconds * 10))" ] && fail "no \"$pattern\" (x$count) within $seconds s"
    sleep 0.1
    waited=$((waited + 1))
  done
}

# Inside the arena every way a view looks meets a tile, and not one pixel
# of either player's half of the window keeps the black the frame is
# cleared to: the view of a player behind the tiles shows the outside.
look_from_inside() {
  local picture="$shots/e2e_inside.png" half black
  import -window root "$picture" 2>/dev/null || return 0
  for half in 0 1; do
    black="$(convert "$picture" -crop "100%x50%+0+$((half * 360))" +repage -fill white +opaque "#000000" \
      -format "%[fx:1-mean]" info:)"
    if awk -v b="$black" 'BEGIN { exit !(b > 0.002) }'; then
      cp "$picture" "$shots/e2e_outside.png"
      fail "player $((half + 1))'s view shows the outside of the arena ($black of it black; $shots/e2e_outside.png)"
    fi
  done
}

# Where player 1's view shows the ball it holds: left of the view, below
# the horizon.
hand_crop="400x250+20+50"

# How much that part of the view changed between two pictures (RMSE, 0 to
# 1): a held ball only turns there (about 0.01), a throw takes it away
# (0.13 on the palest arena).
hand_changed() {
  convert "$1" -crop "$hand_crop" +repage "$shots/e2e_crop_a.png"
  convert "$2" -crop "$hand_crop" +repage "$shots/e2e_crop_b.png"
  # compare exits 1 when the pictures differ, which is what is measured.
  { compare -metric RMSE "$shots/e2e_crop_a.png" "$shots/e2e_crop_b.png" null: 2>&1 || true; } | sed 's/.*(\(.*\))/\1/'
}

# A click whose press and release come back to back, shorter than any
# frame, throws the ball: it leaves the hand. Before each click the view of
# the hand is at rest (R recalls the ball, which may still be flying home).
# Only the hand is looked at: the other player's ball flying past, or the
# arena changing colour, may change the rest of the view.
quick_clicks_throw() {
  local count="$1" click wait hand
  local settling="$shots/e2e_settling.png" before="$shots/e2e_hand.png" after="$shots/e2e_thrown.png"
  for ((click = 1; click <= count; click++)); do
    for ((wait = 0; wait < 10; wait++)); do
      import -window root "$settling" 2>/dev/null || continue
      sleep 0.3
      import -window root "$before" 2>/dev/null || continue
      awk -v h="$(hand_changed "$settling" "$before")" 'BEGIN { exit !(h < 0.03) }' && break
    done
    xdotool mousedown 1 mouseup 1
    # A slow build's frames may show the throw later than a hold: look again
    # until it shows, for twenty holds at most.
    hand="no picture"
    for ((wait = 0; wait < 20; wait++)); do
      sleep "$hold"
      import -window root "$after" 2>/dev/null || continue
      hand="$(hand_changed "$before" "$after")"
      awk -v h="$hand" 'BEGIN { exit !(h > 0.06) }' && break
    done
    key r
    awk -v h="$hand" 'BEGIN { exit !(h > 0.06) }' ||
      fail "quick click $click did not throw the ball (the hand changed $hand; $after)"
  done
}

# A scene change at the title, at a match start and back.
scene_active="Changed scene state: Idle -> Active"

# --- start ------------------------------------------------------------------
cd "$build"
HOME="$home" ALSOFT_DRIVERS=null ./solvane >"$log" 2>&1 &
pid=$!

# The window, or the reason there is none: a program that dies before it
# opens a window must not leave the script waiting for ever.
waited=0
until xdotool search --onlyvisible --name "Solvane 2" >/dev/null 2>&1; do
  kill -0 "$pid" 2>/dev/null || fail "the program ended before its window opened"
  [ "$waited" -ge "$((patience * 10))" ] && fail "no window within $patience s"
  sleep 0.1
  waited=$((waited + 1))
done
# The pointer rests in a corner over no button, and the keyboard follows it
# (no window manager here).
xdotool mousemove 1 1
sleep 1
shot "splash"
key space
wait_for_output "$scene_active" 1 "$patience"
sleep 2
shot "title"

# The title's buttons from the top: Play, Options, Tutorials, Credits, Quit.
# A title screen opens on Play, and a page closed over it gives the focus
# back to the button that opened it.
title_focus=0
title_button() {
  local target="$1"
  if [ "$target" -lt "$title_focus" ]; then
    repeat_key $((title_focus - target)) Up
  else
    repeat_key $((target - title_focus)) Down
  fi
  key Return
  title_focus="$target"
}

# --- options: language and music volume -------------------------------------
title_button 1
shot "options"
# Options open on Back; Language sits above it.
key Up Return
shot "languages"
# Back, Français, Deutsch from the bottom.
key Up Up Return
shot "german"
key Down Down Return
# Back on the options page: up to the music volume (nothing is above it),
# two steps down, and back.
repeat_key 7 Up
key Left Left
shot "music_down"
repeat_key 8 Down
key Return
shot "title_german"

# --- a local two-player match -----------------------------------------------
# Play opens on the local match; the pre-match page and both perk pages open
# on their forward button.
title_button 0
key Return
shot "prematch"
key Return Return Return
wait_for_output "$scene_active" 2 "$patience"
sleep 2
shot "match_start"

# Both players follow the mouse: a quarter turn away from each other, once
# they stand on the floor, and their balls meet a wall, not the other.
sleep 3
for ((i = 0; i < 20; i++)); do
  xdotool mousemove_relative -- 40 0
  sleep 0.1
done
sleep "$hold"
quick_clicks_throw 5

play_until=$((SECONDS + play_seconds))
next_look=$((SECONDS + 5))
looks=0
moves=(w a s d w w space e q)
while [ "$SECONDS" -lt "$play_until" ]; do
  k="${moves[$((RANDOM % ${#moves[@]}))]}"
  xdotool keydown "$k"
  [ $((RANDOM % 3)) -eq 0 ] && xdotool keydown shift
  xdotool mousemove_relative -- $((RANDOM % 80 - 40)) $((RANDOM % 30 - 15))
  [ $((RANDOM % 2)) -eq 0 ] && xdotool click 1
  sleep "$hold"
  xdotool keyup "$k" keyup shift
  if [ "$SECONDS" -ge "$next_look" ]; then
    look_from_inside
    looks=$((looks + 1))
    next_look=$((SECONDS + 5))
  fi
done
shot "match_play"

# Pause: Resume, Options, Quit; Resume has the focus. The pointer goes back
# to its corner first, over no button.
xdotool mousemove 1 1
key Escape
shot "paused"
key Down Down Return
wait_for_output "$scene_active" 3 "$patience"
title_focus=0
sleep 2
shot "title_again"

# --- credits and a tutorial -----------------------------------------------------
title_button 3
shot "credits"
# The team button has the focus; Back is under it.
key Down Return
title_button 2
shot "tutorials"
# The list opens on Back; the last tutorial sits above it.
key Up Return
wait_for_output "$scene_active" 4 "$patience"
sleep 3
shot "tutorial"
# The tutorial's own Back button has the focus.
key Return
wait_for_output "$scene_active" 5 "$patience"
title_focus=0
sleep 2
shot "after_tutorial"

# --- quit -------------------------------------------------------------------------
# Quit; the question opens on No, Yes is to its right.
title_button 4
key Right
shot "quit_question"
key Return

waited=0
while kill -0 "$pid" 2>/dev/null; do
  [ "$waited" -ge "$((patience * 10))" ] && fail "the program did not end within $patience s of quitting"
  sleep 0.1
  waited=$((waited + 1))
done
set +e
wait "$pid"
status=$?
set -e
pid=""
[ "$status" -eq 0 ] || fail "the program exited with $status"

# --- what it left behind ----------------------------------------------------------
errors="$(grep -n -i -E "error|failure|not read in|can't fopen|runtime error|sanitizer|assert|outside the arena" "$log" || true)"
[ -z "$errors" ] || fail "the program printed errors:
$errors"

config="$home/Documents/Solvane2/config"
[ -f "$config" ] || fail "no configuration saved at $config"
language="$(jq -r '.language' "$config")"
music="$(jq -r '.music_volume' "$config")"
[ "$language" = "3" ] || fail "saved language is $language, not 3 (German)"
awk -v v="$music" 'BEGIN { exit !(v > 0.39 && v < 0.41) }' || fail "saved music volume $music is not two notches down"

echo "e2e: passed ($step pictures in $shots; $looks looks from inside the arena)"
