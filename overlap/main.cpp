// ostrel-overlap: finds the end-to-end overlaps between the reads of FASTA
// files and writes them as PAF or as an overlap graph.
#include "overlap/OverlapCommand.h"
#include "util/CommandOptions.h"

int main(int argc, char** argv) {
  if (ostrel::PrintVersionIfAsked(argc, argv, "ostrel-overlap")) return 0;
  return ostrel::RunOverlap(argc, argv);
}
