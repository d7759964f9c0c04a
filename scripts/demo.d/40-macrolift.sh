# Moves a copy of the bundled Game Boy sound project to the Game Boy Advance
# command set in place and shows the conversion report.
set -euo pipefail
project="$TOOLSET_OUT/gb-project"
rm -rf "$project"
cp -r "$TOOLSET_EXAMPLES/gb-project" "$project"
(cd "$project" && "$TOOLSET_BIN/macrolift" </dev/null)
echo "--- $project/Macro Conversion Report.txt"
cat "$project/Macro Conversion Report.txt"
echo "--- definition line of the project file now:"
grep -i '\.vqd$' "$project/PocketRacer.vqp"
