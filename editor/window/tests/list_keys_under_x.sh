#!/usr/bin/env bash
# The list's keys as a user presses them: real key events from xdotool to the
# window under Xvfb (no window manager). Delete, Alt+Backspace (undo),
# Ctrl+A, Shift+Delete (cut), Shift+Insert (paste) and Ctrl+S, each checked
# through the title and the saved document's list.
# Usage: list_keys_under_x.sh VTQEDIT
set -euo pipefail
vtqedit="$1"
if [ "${2:-}" != "--under-xvfb" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$vtqedit" --under-xvfb
fi

work="$(mktemp -d)"
app=""
cleanup() {
  if [ -n "$app" ]; then kill "$app" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

doc="$work/scene.qtd"
for at in 00:00:10:00 00:00:20:00 00:00:30:00; do
  "$vtqedit" --add "$doc" --at "$at" --command KEEP_ALIVE >/dev/null
done
mkdir -p "$work/config" "$work/data"
QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" "$vtqedit" "$doc" >"$work/log" 2>&1 &
app=$!

# Waits until a window titled $1 exists and prints its id.
window() {
  for _ in $(seq 1 100); do
    if id="$(xdotool search --name "^$1\$" 2>/dev/null | head -1)" && [ -n "$id" ]; then
      echo "$id"
      return
    fi
    sleep 0.1
  done
  echo "no window \"$1\"" >&2
  cat "$work/log" >&2
  exit 1
}

# Presses keys, saves, and compares the saved insert times with $1.
expect_saved() {
  local want="$1"
  shift
  if [ $# -gt 0 ]; then xdotool key "$@"; fi
  sleep 0.5
  xdotool key ctrl+s
  sleep 1
  local got
  got="$("$vtqedit" --list "$doc" | tail -n +2 | cut -f1 | tr '\n' ' ')"
  if [ "$got" != "$want" ]; then
    echo "after $*: saved \"$got\", expected \"$want\"" >&2
    exit 1
  fi
}

frame="$(window "scene.qtd - Quorlin VTQ Editor")"
xdotool windowfocus --sync "$frame"
xdotool key Delete
window "scene.qtd\\* - Quorlin VTQ Editor" >/dev/null
expect_saved "00:00:20:00 00:00:30:00 "
window "scene.qtd - Quorlin VTQ Editor" >/dev/null
expect_saved "00:00:10:00 00:00:20:00 00:00:30:00 " alt+BackSpace
expect_saved "" ctrl+a shift+Delete
expect_saved "00:00:10:00 00:00:20:00 00:00:30:00 " shift+Insert
echo "list keys: ok"
