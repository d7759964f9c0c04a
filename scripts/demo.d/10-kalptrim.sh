# Cuts the header off the bundled KALP sample.
set -euo pipefail
"$TOOLSET_BIN/kalptrim" "$TOOLSET_EXAMPLES/kalp/chime.kalp" "$TOOLSET_OUT/chime.raw"
echo "kalptrim: $(stat -c %s "$TOOLSET_EXAMPLES/kalp/chime.kalp") bytes in, $(stat -c %s "$TOOLSET_OUT/chime.raw") bytes of sample data out"
