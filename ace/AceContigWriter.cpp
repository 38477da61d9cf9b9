// Writing an ACE file contig by contig: the contigs through a scratch file,
// then the header, the contigs and the tags into the output.
#include "ace/AceContigWriter.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

#include "util/FileUtil.h"

namespace ostrel {

AceContigWriter::~AceContigWriter() {
  mScratchBuf.Close();
  if (!mScratchName.empty()) std::remove(mScratchName.c_str());
}

bool AceContigWriter::Failed(const std::string& why) {
  std::cerr << "Unable to write " << mName << ": " << why << std::endl;
  return false;
}

bool AceContigWriter::Open(const std::string& fileName) {
  mName = fileName;
  if (!mOutput.Open(fileName, GetFileSuffix(fileName) == "gz")) return Failed(mOutput.Error());
  std::string scratch = fileName + ".contigs.XXXXXX";
  const int fd = ::mkstemp(scratch.data());
  if (fd < 0) return Failed(std::strerror(errno));
  mScratchName = scratch;
  if (!mScratchBuf.Open(fd, false)) {
    ::close(fd);
    return Failed("cannot write the scratch file " + scratch);
  }
  return true;
}

void AceContigWriter::Add(Contig& contig, const std::vector<AceTag>& tagsSoFar) {
  const int number = mAdded++;
  if (contig.mReads.empty()) {
    if (!contig.mBases.empty()) mNotes << "Left out " << contig.mName << ": it holds no reads." << std::endl;
    mLeftOut.insert(contig.mName);
    return;
  }
  contig.WriteAce(mScratch, mNotes, mPlacer.PlacedIn(tagsSoFar, number, contig));
  ++mContigs;
  mReads += static_cast<long>(contig.mReads.size());
}

bool AceContigWriter::Finish(const std::vector<AceTag>& tags) {
  std::cerr << mNotes.str() << std::flush;
  mScratch.flush();
  if (!mScratchBuf.Close()) return Failed(mScratchBuf.Error());
  // The contig tags on a contig left out go with it, but for those written
  // already where they stood in an earlier contig.
  int leftOut = 0;
  const auto keep = [&](const std::vector<AceTag>& some) {
    std::vector<AceTag> kept;
    for (const AceTag& tag : some) {
      const bool onLeftOut = tag.OnContig() && mLeftOut.count(tag.Subject()) > 0;
      leftOut += onLeftOut;
      if (!onLeftOut) kept.push_back(tag);
    }
    return kept;
  };
  mOutput << "AS " << mContigs << ' ' << mReads << '\n';
  WriteTrailingTags(mOutput, keep(TagPlacer::BeforeContigs(tags)));
  std::ifstream written(mScratchName, std::ios::binary);
  if (!written) return Failed("cannot read the scratch file " + mScratchName);
  if (written.peek() != std::ifstream::traits_type::eof()) mOutput << written.rdbuf();
  WriteTrailingTags(mOutput, keep(mPlacer.Unplaced(tags)));
  SayTagsLeftOut(leftOut);
  if (!mOutput.Commit()) return Failed(mOutput.Error());
  return true;
}

}  // namespace ostrel
