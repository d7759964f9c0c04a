# The cue list of the example film scene, built with vtqedit's batch mode.
# Run by scripts/demo.d/50-vtqedit.sh with VTQEDIT (the program) and DOC (the
# document to build); every command also writes its wave file beside DOC.
set -eu
add() { "$VTQEDIT" --add "$DOC" "$@"; }

add --rate 48000 --at 00:00:02:00 --command KEEP_ALIVE
add --at 00:00:04:00 --command SHOW_ANIMATION --param NO_HEAD --mode once
add --at 00:00:06:12 --command PLAY_SOUND --param VO_HI001
add --at 00:00:09:00 --command ENABLE_ABILITY --param AB_SHIELD --repeat 2
add --at 00:00:14:00 --command SHOW_ANIMATION --param SHIELD_UP --respond 00:00:20:00
add --at 00:00:16:00 --command SELECT_ABILITY --param AB_SHIELD
add --at 00:00:30:00 --command PLAY_SOUND --param SFX_Explosion --repeat 1
add --at 00:00:33:05 --command SHOW_ANIMATION --param DRIVING_LIGHT --mode icon --icon 4
add --at 00:00:45:00 --command DISABLE_ABILITY --param AB_SHIELD --respond 00:01:30:00
add --at 00:01:00:00 --command PLAY_SOUND --param VO_BYE002
add --at 00:01:02:00 --command STOP_ABILITY

# A command that would overlap the one at 00:00:30:00 is refused (exit 3).
if add --at 00:00:31:00 --command KEEP_ALIVE 2>/dev/null; then
  echo "scene.sh: the overlapping command was not refused" >&2
  exit 1
else
  [ $? -eq 3 ]
fi
