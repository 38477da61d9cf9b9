// Prints each record of a FASTA file (plain or gzip-compressed) with its
// padded and depadded lengths, and where each pad stands in both
// coordinates: its 1-based padded position and the depadded base after
// which it comes.
//
// Built against an installed ostrel with CMake (CMakeLists.txt beside it):
//   find_package(ostrel 0.9 REQUIRED)
//   add_executable(fasta-coords FastaCoords.cpp)
//   target_link_libraries(fasta-coords PRIVATE ostrel::ostrel)
// or with pkg-config:
//   c++ -std=c++17 FastaCoords.cpp $(pkg-config --cflags --libs ostrel) -o fasta-coords
#include <iostream>

#include "ostrel.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: fasta-coords reads.fa[.gz]" << std::endl;
    return 1;
  }
  ostrel::igzstream in(argv[1]);
  if (!in.is_open()) {
    std::cerr << "cannot read " << argv[1] << std::endl;
    return 1;
  }
  ostrel::Sequence record;
  while (ostrel::ReadFastaRecord(in, record)) {
    record.ComputePadded2Depadded();
    const int padded = static_cast<int>(record.mBases.size());
    std::cout << record.mName << "\tpadded " << padded << "\tdepadded "
              << (padded > 0 ? record.Padded2Depadded(padded - 1) : 0) << '\n';
    for (int i = 0; i < padded; ++i)
      if (record.mBases[i] == '*' || record.mBases[i] == '-')
        std::cout << "  pad at " << i + 1 << ", after base " << record.Padded2Depadded(i) << '\n';
  }
  return 0;
}
