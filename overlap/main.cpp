// ostrel-overlap: finds the end-to-end overlaps between the reads of FASTA
// files and writes them as PAF or as an overlap graph.
#include "overlap/OverlapCommand.h"

int main(int argc, char** argv) { return ostrel::RunOverlap(argc, argv); }
