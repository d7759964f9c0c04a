#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed tree:
# every program runs from the prefix, voconv converts a copy of the installed
# example project with the mid2trk and kvtool beside it, every manual page
# renders without a warning, the completion scripts register their commands
# and no document is executable.
#   install_tree_test.sh BUILD-FOLDER [CMAKE]
set -uo pipefail
build="$1"
cmake="${2:-cmake}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if ! "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
fi
doc="$prefix/share/doc/kesh-audio-toolset"

# program | arguments | exit code | text in its output
# (run in an empty folder with no PATH, so nothing outside the prefix helps)
programs=(
  "voconv||0|Usage: VOCONV <options>"
  "voconv-1.15||0|V1.15"
  "mid2trk||255|MID2TRK [options] <MIDI-file> <song-file>"
  "mid2trk-1.29g||255|v1.29g"
  "macrolift||0|Looking for Vocta Game Boy macros in"
  "kalptrim||255|Usage:- KalpTrim Infile Outfile"
  "kvtool||2|Usage: kvtool [-B] <arrangement> <song>"
  "vtqedit|--help|0|vtqedit --list DOC.qtd"
)
for row in "${programs[@]}"; do
  IFS='|' read -r name args code text <<<"$row"
  exe="$prefix/bin/$name"
  if [ ! -f "$exe" ] || [ -L "$exe" ] || [ ! -x "$exe" ]; then
    fail "$name is not an executable file of its own in bin/"
    continue
  fi
  run="$work/run-$name"
  mkdir -p "$run"
  # shellcheck disable=SC2086
  (cd "$run" && PATH="$work/no-tools" "$exe" $args </dev/null >"$work/$name.out" 2>&1)
  status=$?
  [ "$status" -eq "$code" ] || fail "$name $args: exit code $status, expected $code"
  grep -qF -- "$text" "$work/$name.out" || fail "$name $args: no \"$text\" in its output"
done

# The converter on a copy of the installed example project: the MIDI setup's
# song comes from the installed mid2trk, the arrangement's from kvtool.
cp -r "$doc/examples/project" "$work/project"
mkdir -p "$work/out"
(cd "$work/out" && PATH="$work/no-tools" "$prefix/bin/voconv" -t N64 -p "$work/project" \
  music.txt effects.txt "$work/project/description.txt" >"$work/voconv.out" 2>&1)
status=$?
before=$failures
[ "$status" -eq 0 ] || fail "voconv on the example project: exit code $status"
for file in demo.proj demo.pool demo.sdir demo.samp demo.h Intro.song Theme.song; do
  [ -s "$work/out/$file" ] || fail "voconv on the example project wrote no $file"
done
[ "$failures" -eq "$before" ] || cat "$work/voconv.out" >&2

# Manual pages: one for each program, rendered by man without a warning,
# with a NAME line that man-db's whatis parser reads.
for exe in "$prefix"/bin/*; do
  page="$prefix/share/man/man1/$(basename "$exe").1.gz"
  if [ ! -e "$page" ]; then
    fail "no manual page $page"
    continue
  fi
  out="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>"$work/man.err")" || fail "man $page failed"
  [ -s "$work/man.err" ] && fail "man --warnings on $page: $(cat "$work/man.err")"
  grep -q "^NAME" <<<"$out" || fail "$page renders without a NAME section"
  # The whatis entry (man -k, apropos) names the program itself.
  LC_ALL=C.UTF-8 lexgrog "$page" 2>/dev/null | grep -qF "\"$(basename "$exe") - " || fail "$page: no NAME line for $(basename "$exe")"
done

# Completion: each script, loaded on demand by its command's name, registers
# a completion function for that command.
completions="$prefix/share/bash-completion/completions"
for name in voconv voconv-1.15 mid2trk mid2trk-1.29g kvtool vtqedit; do
  bash -c 'source /usr/share/bash-completion/bash_completion && source "$1" && complete -p "$2"' \
    sh "$completions/$name" "$name" >/dev/null 2>&1 || fail "no bash completion for $name"
done

# Documents: present, and none executable.
for file in README.md LICENSE copyright changelog.gz examples/project/description.txt; do
  [ -f "$doc/$file" ] || fail "no $file in the documentation folder"
done
executable="$(find "$prefix/share" -type f -perm /111)"
[ -z "$executable" ] || fail "executable documents: $executable"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "installed tree in order"
