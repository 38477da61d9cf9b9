#!/bin/sh
# Runs the bundled example from start to end: indexes two plates of reads and
# their quality files, extracts three bins of read names from them into out/
# (made by the command), extracts them again with fresh outputs (-r) and lists
# the output files with their record counts. Everything is written under
# OUT_DIR; the example files are copied there, since the indexes are written
# beside the files they index. OUT_DIR is made afresh: an existing one is
# removed only when an earlier demo made it (it holds the marker file).
# Usage: run-demo.sh BUILD_DIR [OUT_DIR]   (OUT_DIR defaults to ./demo-out)
set -eu
build=$(cd "$1" && pwd)
examples=$(cd "$(dirname "$0")" && pwd)
out=${2:-demo-out}
marker=.ostrel-demo-output
if [ -e "$out" ]; then
  if [ ! -f "$out/$marker" ]; then
    echo "run-demo.sh: $out exists and was not made by the demo; remove it or name another folder" >&2
    exit 1
  fi
  rm -rf "$out"
fi
mkdir -p "$out"
touch "$out/$marker"
out=$(cd "$out" && pwd)

cd "$examples"
cp plate1.fa plate1.qual fasta.plate2.run qual.plate2.run fasta.list binA binB binC "$out"
cd "$out"

# Shows each command as a user would type it, then runs it from the build,
# its messages on both streams in the order a terminal shows them.
run() {
  tool=$1
  shift
  echo "\$ ostrel-$tool $*"
  "$build/$tool/ostrel-$tool" "$@" 2>&1
  echo
}
run fastaindex plate1.fa plate1.qual fasta.plate2.run qual.plate2.run
run extractbins -i fasta.list -o out/ binA binB binC
# Run again with -r: the outputs are replaced, not doubled.
run extractbins -r -i fasta.list -o out/ binA binB binC

echo "Output files and their records:"
for file in out/*; do
  names=$(grep '^>' "$file" | cut -c2- | cut -d' ' -f1 | tr '\n' ' ')
  count=$(grep -c '^>' "$file")
  [ "$count" = 1 ] && word=record || word=records
  printf '  %-20s %s %s: %s\n' "$file" "$count" "$word" "${names% }"
done
