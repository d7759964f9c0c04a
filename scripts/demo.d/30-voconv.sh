# Converts the bundled example sound project with voconv: for the Nintendo 64
# (two export scripts merged), then for the Game Boy, its slave ROM and the
# Game Boy Advance (the handheld scripts, whose macros use those consoles'
# command sets). mid2trk and kvtool, beside voconv in build/bin, make the songs
# of its MIDI setups.
set -euo pipefail
out="$TOOLSET_OUT/voconv"
mkdir -p "$out"
project="$TOOLSET_EXAMPLES/project"

# convert <folder> <voconv arguments...>: one run in its own output folder.
convert() {
  local folder="$out"
  [ "$1" = . ] || folder="$out/$1"
  shift
  mkdir -p "$folder"
  set +e
  (cd "$folder" && "$TOOLSET_BIN/voconv" "$@" "$project/description.txt") | tee "$folder/voconv.log"
  local status=${PIPESTATUS[0]}
  set -e
  if [ "$status" -ne 0 ]; then
    echo "voconv: failed with exit code $status" >&2
    exit "$status"
  fi
  echo "voconv: wrote $(ls "$folder" | grep -v '^voconv.log$' | tr '\n' ' ')into $folder"
}

convert . -t N64 -v -p "$project" music.txt effects.txt
convert gb -t GB -vs -p "$project" handheld-gb.txt
convert gbslave -t GBSLAVE -p "$project" handheld-gb.txt
convert agb -t AGB -p "$project" handheld-agb.txt
