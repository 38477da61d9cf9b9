#!/bin/sh
# Each command's manual page renders without a warning and names every
# option its usage text names (for ostrel-ace, the usage texts of all its
# subcommands).
#   check-man-pages.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
source=$2
status=0
for command in extractbins/ostrel-extractbins fastaindex/ostrel-fastaindex acetool/ostrel-ace overlap/ostrel-overlap; do
  name=${command#*/}
  page=$source/man/$name.1
  warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
  [ -z "$warnings" ] || { echo "$page: $warnings"; status=1; }
  usage=$("$build/$command" -h 2>&1 || true)
  if [ "$name" = ostrel-ace ]; then
    for sub in stats report write fasta view split revcomp remove merge trim-tails problems; do
      usage="$usage
$("$build/$command" "$sub" -h 2>&1 || true)"
    done
  fi
  text=$(sed 's/\\-/-/g; s/\\f[BIRP]//g' "$page")
  for option in $(printf '%s\n' "$usage" | grep -oE '(^|[[<( ])--?[A-Za-z][-A-Za-z]*' | sed 's/^[[<( ]//' | sort -u); do
    printf '%s\n' "$text" | grep -qF -- "$option" || { echo "$page does not name $option"; status=1; }
  done
done
exit $status
