// ostrel-extractbins: appends the reads of each bin, byte for byte, from
// indexed FASTA and quality files to the bin's own output files.
#include "extractbins/Driver.h"

int main(int argc, char** argv) { return ostrel::RunExtractBins(argc, argv); }
