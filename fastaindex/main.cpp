// ostrel-fastaindex: writes the "_idx" read index beside each FASTA or
// quality file, for ostrel-extractbins.
#include "fastaindex/IndexCommand.h"

int main(int argc, char** argv) { return ostrel::RunFastaIndex(argc, argv); }
