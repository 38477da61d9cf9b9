// ostrel-acestats: the figures of an ACE assembly.
#include "acetool/AceTool.h"

int main(int argc, char** argv) { return ostrel::RunAceStats(argc, argv); }
