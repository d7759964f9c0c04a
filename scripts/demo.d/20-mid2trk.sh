# Converts the bundled MIDI files into song files for every target.
set -euo pipefail
mkdir -p "$TOOLSET_OUT/songs"
for midi in "$TOOLSET_EXAMPLES"/midi/*.mid; do
  name="$(basename "$midi" .mid)"
  for target in G A N D P; do
    song="$TOOLSET_OUT/songs/$name-$target.song"
    "$TOOLSET_BIN/mid2trk" "-$target" "$midi" "$song" >"$TOOLSET_OUT/songs/$name-$target.log"
    echo "mid2trk -$target $(basename "$midi"): $(stat -c %s "$song") bytes ($(grep -m1 'BPM rate' "$TOOLSET_OUT/songs/$name-$target.log"))"
  done
done
