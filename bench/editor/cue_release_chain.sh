#!/usr/bin/env bash
# The sound track check on material no one here made, through what a release
# does to a film's sound (not part of CI).
#
# A document of 120 commands, one every 3 s (every kind, some repeated), is
# rendered as a cue track and mixed under real songs (the MIDI files of
# Debian's planetblupi-music-midi, rendered by FluidSynth with the GM sound
# font) or espeak-ng speech, with the other sound's RMS 0 and 12 dB above the
# cues'. Each mix then goes through one step of a release chain and is
# checked; a line per case gives the intact cues, the damaged, missing and
# unexpected ones, the fitted speed and the median margin.
#
# Needs: fluidsynth, fluid-soundfont-gm, planetblupi-music-midi, espeak-ng,
# sox, ffmpeg (with libmp3lame, libopus, ac3 and aac).
#   bench/editor/cue_release_chain.sh [BUILD_BIN] [WORK_DIR]
# UNDER, LEVELS and STEPS choose the cases (default: all; see chain below).
# AAC is measured as ffmpeg's encoder makes it by default, with perceptual
# noise substitution (aac), which replaces the cues' band by noise, and
# without it (aac-nopns).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
bin="${1:-$root/build/bin}"
work="${2:-$(mktemp -d)}"
vtqedit="$bin/vtqedit"
mkdir -p "$work"
cd "$work"

# The document: seven kinds of command in turn, every fifth sent again.
commands=(KEEP_ALIVE "PLAY_SOUND --param VO_HI001" "SHOW_ANIMATION --param NO_HEAD --mode once"
  "ENABLE_ABILITY --param AB_SHIELD" "DISABLE_ABILITY --param AB_SHIELD" "SELECT_ABILITY --param AB_SHIELD"
  STOP_ABILITY)
if [ ! -f film.qtd ]; then
  for i in $(seq 0 119); do
    seconds=$((2 + 3 * i))
    at="$(printf '00:%02d:%02d:00' $((seconds / 60)) $((seconds % 60)))"
    extra=()
    [ $((i % 5)) -eq 4 ] && extra=(--repeat 1)
    rate=()
    [ "$i" -eq 0 ] && rate=(--rate 48000)
    # shellcheck disable=SC2086
    "$vtqedit" --add film.qtd --at "$at" --command ${commands[$((i % 7))]} "${extra[@]}" "${rate[@]}" > /dev/null
  done
  "$vtqedit" --render film.qtd cues.wav --length 00:06:05:00 > /dev/null
fi
length=365

# The other sounds, as long as the cue track, at 48 kHz stereo.
if [ ! -f songs.wav ]; then
  parts=()
  for song in /usr/share/planetblupi/music/music00{0..9}.mid; do
    fluidsynth -ni -g 0.8 -r 48000 -F "${song##*/}.wav" /usr/share/sounds/sf2/FluidR3_GM.sf2 "$song" > /dev/null 2>&1
    parts+=("${song##*/}.wav")
  done
  sox "${parts[@]}" -c 2 songs.wav trim 0 "$length"
  rm -f "${parts[@]}"
fi
if [ ! -f speech.wav ]; then
  espeak-ng -w said.wav "The film's sound track carries the cues under speech, music and effects; a check reads them back as the toy would hear them." 2> /dev/null
  sox said.wav -r 48000 -c 2 speech.wav repeat 60 trim 0 "$length"
  rm -f said.wav
fi

rms() { sox "$1" -n stats 2>&1 | awk '/RMS lev dB/ { print $4 }'; }
cues_rms="$(sox cues.wav -n trim 2 $((length - 5)) stats 2>&1 | awk '/RMS lev dB/ { print $4 }')"

# One step of a release chain: IN OUT.
chain() {
  case "$1" in
    plain) cp "$2" "$3" ;;
    44k1) sox "$2" -r 44100 "$3" ;;
    mp3) ffmpeg -v error -y -i "$2" -c:a libmp3lame -b:a 192k "$3.mp3" && ffmpeg -v error -y -i "$3.mp3" -ar 48000 "$3" ;;
    opus) ffmpeg -v error -y -i "$2" -c:a libopus -b:a 96k "$3.opus" && ffmpeg -v error -y -i "$3.opus" -ar 48000 "$3" ;;
    ac3) ffmpeg -v error -y -i "$2" -c:a ac3 -b:a 384k "$3.ac3" && ffmpeg -v error -y -i "$3.ac3" -ar 48000 "$3" ;;
    aac) ffmpeg -v error -y -i "$2" -c:a aac -b:a 128k "$3.m4a" && ffmpeg -v error -y -i "$3.m4a" -ar 48000 "$3" ;;
    aac-nopns) ffmpeg -v error -y -i "$2" -c:a aac -aac_pns 0 -b:a 128k "$3.m4a" && ffmpeg -v error -y -i "$3.m4a" -ar 48000 "$3" ;;
    fast0.1) sox "$2" "$3" speed 1.001 rate -v 48000 ;;
    slow0.1) sox "$2" "$3" speed 0.999 rate -v 48000 ;;
    pal) sox "$2" "$3" speed 1.041667 rate -v 48000 ;;
    palslow) sox "$2" "$3" speed 0.96 rate -v 48000 ;;
  esac
  rm -f "$3".mp3 "$3".opus "$3".ac3 "$3".m4a
}

printf '%-7s %4s %-9s %6s %7s %7s %10s %8s %6s\n' under dB chain intact damaged missing unexpected speed margin
for under in ${UNDER:-songs speech}; do
  under_rms="$(rms "$under.wav")"
  for db in ${LEVELS:-0 12}; do
    # The other sound's RMS `db` above the cues', both halved so nothing clips.
    gain="$(python3 -c "print(10 ** (($cues_rms + $db - $under_rms) / 20))")"
    sox -m -v 0.5 cues.wav -v "$(python3 -c "print(0.5 * $gain)")" "$under.wav" -c 2 -b 16 mix.wav 2> /dev/null
    for step in ${STEPS:-plain 44k1 mp3 opus ac3 aac aac-nopns fast0.1 slow0.1 pal palslow}; do
      chain "$step" mix.wav chained.wav
      "$vtqedit" --check film.qtd chained.wav --report report.csv > check.txt 2>&1 || true
      python3 - "$under" "$db" "$step" report.csv check.txt <<'EOF'
import csv, re, statistics, sys
under, db, step, report, text = sys.argv[1:]
rows = list(csv.DictReader(open(report)))
count = lambda state: sum(1 for r in rows if r["state"] == state)
margins = [int(r["margin_db"]) for r in rows if r["state"] == "found" and r["margin_db"]]
speed = re.search(r"speed ([0-9.]+)", open(text).read())
print(f"{under:7} {db:>4} {step:9} {count('found'):6} {count('damaged'):7} {count('missing'):7} {count('unexpected'):10} "
      f"{speed.group(1) if speed else '1':>8} {statistics.median(margins) if margins else '-':>6}")
EOF
    done
  done
done
