# Builds the example cue document and its wave files with vtqedit's batch
# mode, and lists it.
set -euo pipefail
out="$TOOLSET_OUT/cues"
rm -rf "$out"
mkdir -p "$out"
VTQEDIT="$TOOLSET_BIN/vtqedit" DOC="$out/scene.qtd" bash "$TOOLSET_EXAMPLES/cues/scene.sh"
"$TOOLSET_BIN/vtqedit" --list "$out/scene.qtd"
echo "vtqedit: $(ls "$out"/*.wav | wc -l) wave files and scene.qtd ($(stat -c %s "$out/scene.qtd") bytes) in $out"
