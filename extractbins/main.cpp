// ostrel-extractbins: appends the reads of each bin, byte for byte, from
// indexed FASTA and quality files to the bin's own output files.
#include "extractbins/Driver.h"
#include "util/CommandOptions.h"

int main(int argc, char** argv) {
  if (ostrel::PrintVersionIfAsked(argc, argv, "ostrel-extractbins")) return 0;
  return ostrel::RunExtractBins(argc, argv);
}
