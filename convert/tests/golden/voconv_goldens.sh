#!/usr/bin/env bash
# Runs voconv and voconv-1.15 on the example project and the project beside
# this script, every target with and without -v, and compares what each run
# printed and the files it left with voconv.golden:
#
#   voconv_goldens.sh <bin folder> <source root> [--update]
#
# Each run is recorded as its command line, its exit code, its printed text
# and one line per file left (name, size, SHA-256). The source root and the
# run's folder are written as <src> and <out>, the folder a handheld run makes
# for its intermediate songs as <songs>, and the include files' date is fixed
# with SOURCE_DATE_EPOCH, so that the record is the same on every machine.
# --update writes the record instead of comparing.
set -euo pipefail
bin="$(cd "$1" && pwd)"
src="$(cd "$2" && pwd)"
golden="$src/convert/tests/golden/voconv.golden"
examples="$src/examples/project"
project="$src/convert/tests/golden/project"
work="$(mktemp -d "${TMPDIR:-/tmp}/voconv-goldens.XXXXXX")"
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=1796907661 TZ=UTC LC_ALL=C

normalise() {
  sed -e "s|$src|<src>|g" -e "s|$work/run|<out>|g" -e 's|voconv-songs\.[A-Za-z0-9]*|<songs>|g'
}

# run <program> <description> <arguments...>
run() {
  local program="$1" description="$2"
  shift 2
  rm -rf "$work/run"
  mkdir "$work/run"
  local status=0
  (cd "$work/run" && "$bin/$program" "$@" "$description") > "$work/printed" 2>&1 || status=$?
  echo "== $program $* $description" | normalise
  echo "exit $status"
  normalise < "$work/printed"
  (cd "$work/run" && find . -type f | LC_ALL=C sort) | while read -r file; do
    printf 'file %s %s %s\n' "${file#./}" "$(normalise < "$work/run/$file" | wc -c)" \
      "$(normalise < "$work/run/$file" | sha256sum | cut -c1-64)"
  done
}

# both <program> <description> <arguments...>: without and with -v.
both() {
  local program="$1" description="$2"
  shift 2
  run "$program" "$description" "$@"
  run "$program" "$description" -v "$@"
}

record() {
  local ex=(-p "$examples")
  local desc="$examples/description.txt"
  both voconv "$desc" "${ex[@]}" music.txt effects.txt
  both voconv "$desc" -t N64 "${ex[@]}" music.txt effects.txt
  both voconv "$desc" -t n64 -b -a "${ex[@]}" music.txt effects.txt
  both voconv "$desc" -t N64 -s -d "${ex[@]}" music.txt effects.txt
  both voconv "$desc" -t GB -vs "${ex[@]}" handheld-gb.txt
  both voconv "$desc" -t gb -b "${ex[@]}" handheld-gb.txt
  both voconv "$desc" -t GBSLAVE "${ex[@]}" handheld-gb.txt
  both voconv "$desc" -t AGB "${ex[@]}" handheld-agb.txt
  both voconv "$desc" -t GBSLAVE -t GB "${ex[@]}" handheld-gb.txt
  both voconv "$desc" -t GB -t N64 "${ex[@]}" music.txt effects.txt
  both voconv-1.15 "$desc" -t N64 "${ex[@]}" music.txt effects.txt
  both voconv-1.15 "$desc" -t GB "${ex[@]}" handheld-gb.txt
  both voconv-1.15 "$desc" -t GBSLAVE "${ex[@]}" handheld-gb.txt
  both voconv-1.15 "$desc" -t AGB "${ex[@]}" music.txt effects.txt
  local own=(-p "$examples" -p "$project")
  desc="$project/description.txt"
  both voconv "$desc" -t N64 "${own[@]}" music.txt odd.txt
  both voconv "$desc" -t N64 "${own[@]}" late.txt
  both voconv "$desc" -t GB "${own[@]}" late.txt
  both voconv "$desc" -t AGB "${own[@]}" late.txt
}

if [ "${3:-}" = --update ]; then
  record > "$golden"
  exit 0
fi
if ! record > "$work/record"; then
  echo "voconv goldens: a run could not be recorded" >&2
  exit 1
fi
diff -u "$golden" "$work/record"
