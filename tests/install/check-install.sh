#!/bin/sh
# Installs a build into a scratch prefix, then builds the library examples
# as an outside project would, once through find_package(ostrel) and once
# through pkg-config, and runs both builds.
#   check-install.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
source=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
examples=$source/examples/library

cmake --install "$build" --prefix "$prefix" >/dev/null
for installed in bin/ostrel-extractbins bin/ostrel-fastaindex bin/ostrel-ace bin/ostrel-overlap \
                 include/ostrel/ostrel.h include/ostrel/ace/Contig.h include/ostrel/ostrel/Version.h \
                 share/man/man1/ostrel-extractbins.1 share/man/man1/ostrel-ace.1; do
  [ -e "$prefix/$installed" ] || { echo "not installed: $installed"; exit 1; }
done
version=$("$prefix/bin/ostrel-ace" --version)
[ "$version" = "ostrel-ace $(sed -n 's/^#define OSTREL_VERSION "\(.*\)"/\1/p' "$prefix/include/ostrel/ostrel/Version.h")" ] ||
  { echo "ostrel-ace --version printed: $version"; exit 1; }

cmake -S "$examples" -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/cmake" >/dev/null

PKG_CONFIG_PATH=$(dirname "$(find "$prefix" -name ostrel.pc)")
export PKG_CONFIG_PATH
mkdir "$scratch/pkg"
for program in ContigSummary:contig-summary FastaCoords:fasta-coords; do
  # shellcheck disable=SC2046 # the flags are meant to split
  c++ -std=c++17 -o "$scratch/pkg/${program#*:}" "$examples/${program%%:*}.cpp" $(pkg-config --cflags --libs ostrel)
done

printf '>padded one\nAC*GT\n*A\n>plain\nACGT\n' > "$scratch/padded.fa"
expected_contigs=$(printf 'Contig1\t856\t2\nContig2\t3296\t14')
expected_coords=$(printf 'padded\tpadded 7\tdepadded 5\n  pad at 3, after base 2\n  pad at 6, after base 4\nplain\tpadded 4\tdepadded 4')
for built in "$scratch/cmake" "$scratch/pkg"; do
  contigs=$("$built/contig-summary" "$source/tests/data/ace/contig1.ace")
  [ "$contigs" = "$expected_contigs" ] || { echo "$built/contig-summary printed:"; echo "$contigs"; exit 1; }
  coords=$("$built/fasta-coords" "$scratch/padded.fa")
  [ "$coords" = "$expected_coords" ] || { echo "$built/fasta-coords printed:"; echo "$coords"; exit 1; }
done
# The Python module, when the build made it, is installed in a package
# folder under the prefix and imports from there.
if ls "$build"/python/ostrel/_ostrel*.so >/dev/null 2>&1; then
  module=$(find "$prefix" -name '_ostrel*.so')
  case "$module" in
    "$prefix"/lib*/python3*/*-packages/ostrel/_ostrel*.so) ;;
    *) echo "the Python module is not installed in a package folder: $module"; exit 1 ;;
  esac
  PYTHONPATH=$(dirname "$(dirname "$module")") /usr/bin/python3 -c \
    "import ostrel; assert len(list(ostrel.ace.parse('$source/tests/data/ace/contig1.ace'))) == 2" ||
    { echo "the installed Python module does not import"; exit 1; }
fi
echo "installed, and built against through find_package and pkg-config"
