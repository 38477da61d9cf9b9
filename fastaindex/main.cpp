// ostrel-fastaindex: writes the "_idx" read index beside each FASTA or
// quality file, for ostrel-extractbins.
#include "fastaindex/IndexCommand.h"
#include "util/CommandOptions.h"

int main(int argc, char** argv) {
  if (ostrel::PrintVersionIfAsked(argc, argv, "ostrel-fastaindex")) return 0;
  return ostrel::RunFastaIndex(argc, argv);
}
