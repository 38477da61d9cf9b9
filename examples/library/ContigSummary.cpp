// Prints each contig of an ACE assembly (plain or gzip-compressed) with its
// padded length and read count, reading one contig at a time.
//
// Built against an installed ostrel with CMake (CMakeLists.txt beside it):
//   find_package(ostrel 0.9 REQUIRED)
//   add_executable(contig-summary ContigSummary.cpp)
//   target_link_libraries(contig-summary PRIVATE ostrel::ostrel)
// or with pkg-config:
//   c++ -std=c++17 ContigSummary.cpp $(pkg-config --cflags --libs ostrel) -o contig-summary
#include <iostream>

#include "ostrel.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: contig-summary in.ace[.gz]" << std::endl;
    return 1;
  }
  ostrel::AceFile ace;
  ostrel::AceContigReader reader(ace);
  if (!reader.Open(argv[1])) return 1;
  while (reader.Next()) {
    const ostrel::Contig& contig = ace[0];
    std::cout << contig.mName << '\t' << contig.mBases.size() << '\t' << contig.mReads.size() << '\n';
  }
  return ace.mValid ? 0 : 2;
}
