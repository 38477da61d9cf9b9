// ostrel-ace: figures, writing, FASTA and alignment views of ACE assemblies.
#include "acetool/AceTool.h"

int main(int argc, char** argv) { return ostrel::RunAceTool(argc, argv); }
