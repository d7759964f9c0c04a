# Builds the example cue document and its wave files with vtqedit's batch
# mode, and lists it.
set -euo pipefail
out="$TOOLSET_OUT/cues"
rm -rf "$out"
mkdir -p "$out"
VTQEDIT="$TOOLSET_BIN/vtqedit" DOC="$out/scene.qtd" bash "$TOOLSET_EXAMPLES/cues/scene.sh"
"$TOOLSET_BIN/vtqedit" --list "$out/scene.qtd"
echo "vtqedit: $(ls "$out"/*.wav | wc -l) wave files and scene.qtd ($(stat -c %s "$out/scene.qtd") bytes) in $out"

# The scene's cue track, rendered from the document and checked; then a mix of
# it under speech and noise, as a film's sound track would carry it, checked again.
vtqedit="$TOOLSET_BIN/vtqedit"
"$vtqedit" --render "$out/scene.qtd" "$out/scene-cues.wav"
"$vtqedit" --check "$out/scene.qtd" "$out/scene-cues.wav"
espeak-ng -w "$out/speech.wav" "Somewhere in the desert, a small robot wakes up and raises its shield." 2>/dev/null
sox "$out/speech.wav" -r 48000 "$out/speech48k.wav" repeat 20 trim 0 62
sox -n -r 48000 "$out/noise.wav" synth 62 pinknoise vol 0.05
sox -m -v 0.5 "$out/scene-cues.wav" -v 0.5 "$out/speech48k.wav" -v 1 "$out/noise.wav" -b 24 -c 2 "$out/scene-mix.wav"
rm -f "$out/speech.wav" "$out/speech48k.wav" "$out/noise.wav"
"$vtqedit" --check "$out/scene.qtd" "$out/scene-mix.wav"
# The same mix played 0.1% fast (an NTSC pull-up): the check fits the speed,
# finds every cue on time at it, and writes its report as CSV.
sox "$out/scene-mix.wav" "$out/scene-mix-fast.wav" speed 1.001 rate -v 48000
"$vtqedit" --check "$out/scene.qtd" "$out/scene-mix-fast.wav" --min-margin 6 --report "$out/scene-mix-fast.csv"
echo "vtqedit: cue track scene-cues.wav, the mix scene-mix.wav and scene-mix-fast.wav (0.1% fast; report scene-mix-fast.csv) checked in $out"
