// Small contigs and assemblies built in memory for the assembly tests.
#ifndef OSTREL_TESTS_CONTIGBUILDER_H
#define OSTREL_TESTS_CONTIGBUILDER_H

#include <string>

#include "ace/Contig.h"

namespace ostrel::test {

inline Contig MakeContig(const std::string& name, const std::string& consensus) {
  Contig contig;
  contig.mName = name;
  contig.mBases.assign(consensus.begin(), consensus.end());
  return contig;
}

// Places a read as the reader does: bases as aligned, 1-based start, strand
// 'U' or 'C', and its description. Returns the read's index.
inline int AddRead(Contig& contig, const std::string& name, const std::string& bases, int start,
                   char strand = 'U', const std::string& description = "") {
  Sequence read;
  read.mName = name;
  read.mBases.assign(bases.begin(), bases.end());
  read.mDescription = description;
  contig.mReads.push_back(read);
  contig.mAlignStart.push_back(start);
  contig.mComplemented.push_back(strand);
  return static_cast<int>(contig.mReads.size()) - 1;
}

// A description in the form an assembler writes on a read's "DS" line.
inline std::string Describe(const std::string& templ, const std::string& direction) {
  return "CHROMAT_FILE: x.ab1 TEMPLATE: " + templ + " DIRECTION: " + direction;
}

}  // namespace ostrel::test

#endif
