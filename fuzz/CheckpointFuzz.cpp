// Checkpoint files and problem-contig files on arbitrary bytes.
//
// Properties: every checkpoint taken is a left or right one with start <=
// end on a named contig, and one checkpoint is taken or one line skipped per
// line that is neither blank nor a comment; merging keeps each checkpoint
// once. Problem-contig names hold no blank and no '_'.
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "contig/Checkpoints.h"

using namespace ostrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  fuzz::Quiet quiet;
  const std::string text(reinterpret_cast<const char*>(bytes), size);

  ContigChecks checks;
  std::istringstream in(text);
  const int skipped = ReadCheckpoints(in, "fuzz", checks);
  FUZZ_CHECK(skipped >= 0);
  FUZZ_CHECK(checks.mChecks.size() + static_cast<size_t>(skipped) <= size);
  for (const ContigCheck& check : checks.mChecks) {
    FUZZ_CHECK(check.mSide == "left" || check.mSide == "right");
    FUZZ_CHECK(check.mStart <= check.mEnd);
    FUZZ_CHECK(!check.mContig.empty());
  }
  const size_t before = checks.mChecks.size();
  for (size_t i = 0; i < before; ++i) {
    const int mate = checks.FindClosestMate(static_cast<int>(i), 1000);
    FUZZ_CHECK(mate >= -1 && mate < static_cast<int>(before) && mate != static_cast<int>(i));
  }
  checks.MergePairs(static_cast<int>(size));
  size_t members = 0;
  for (const ContigCheck& check : checks.mChecks) members += check.mMerged ? 2 : 1;
  FUZZ_CHECK(members == before);

  const std::string path = fuzz::ScratchPath("repeats");
  fuzz::WriteBytes(path, text);
  StringSet names;
  GetProblemContigs(path, names);
  for (const std::string& name : names) FUZZ_CHECK(name.find_first_of(" _") == std::string::npos);
  return 0;
}
