# Converts the bundled example sound project (two export scripts merged) for
# the Nintendo 64 with voconv; mid2trk and kvtool, beside it in build/bin, make
# the songs of its MIDI setups.
set -euo pipefail
out="$TOOLSET_OUT/voconv"
mkdir -p "$out"
cd "$out"
project="$TOOLSET_EXAMPLES/project"
set +e
"$TOOLSET_BIN/voconv" -t N64 -v -p "$project" music.txt effects.txt "$project/description.txt" | tee voconv.log
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
  echo "voconv: failed with exit code $status" >&2
  exit "$status"
fi
echo "voconv: wrote $(ls | grep -v '^voconv.log$' | tr '\n' ' ')into $out"
