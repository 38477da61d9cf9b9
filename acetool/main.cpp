// ostrel-ace: figures, writing, FASTA and alignment views of ACE assemblies.
#include "acetool/AceTool.h"
#include "util/CommandOptions.h"

int main(int argc, char** argv) {
  if (ostrel::PrintVersionIfAsked(argc, argv, "ostrel-ace")) return 0;
  return ostrel::RunAceTool(argc, argv);
}
