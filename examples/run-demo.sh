#!/bin/sh
# Runs the bundled example from start to end: indexes two plates of reads and
# their quality files, extracts three bins of read names from them and lists
# the output files with their record counts. Everything is written under
# OUT_DIR, which is emptied first; the example files are copied there, since
# the indexes are written beside the files they index.
# Usage: run-demo.sh BUILD_DIR [OUT_DIR]   (OUT_DIR defaults to ./demo-out)
set -eu
build=$(cd "$1" && pwd)
examples=$(cd "$(dirname "$0")" && pwd)
out=${2:-demo-out}
rm -rf "$out"
mkdir -p "$out"
out=$(cd "$out" && pwd)
if [ "$out" = "$examples" ]; then
  echo "run-demo.sh: OUT_DIR must not be the examples folder" >&2
  exit 1
fi

cd "$examples"
cp plate1.fa plate1.qual fasta.plate2.run qual.plate2.run fasta.list binA binB binC "$out"
cd "$out"

# Shows each command as a user would type it, then runs it from the build.
run() {
  tool=$1
  shift
  echo "\$ ostrel-$tool $*"
  "$build/$tool/ostrel-$tool" "$@"
  echo
}
run fastaindex plate1.fa plate1.qual fasta.plate2.run qual.plate2.run
mkdir out
run extractbins -i fasta.list -o out/ binA binB binC

echo "Output files and their records:"
for file in out/*; do
  names=$(grep '^>' "$file" | cut -c2- | cut -d' ' -f1 | tr '\n' ' ')
  count=$(grep -c '^>' "$file")
  [ "$count" = 1 ] && word=record || word=records
  printf '  %-20s %s %s: %s\n' "$file" "$count" "$word" "${names% }"
done
