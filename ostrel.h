// The ostrel library: every public header of util/, seq/, ace/, contig/ and
// search/, and the version (ostrel/Version.h). Link the library ostrel,
// zlib and threads: find_package(ostrel) or pkg-config ostrel names them.
#ifndef OSTREL_H
#define OSTREL_H

#include "ostrel/Version.h"
#include "util/BlockReadAhead.h"
#include "util/CommandOptions.h"
#include "util/FileDescriptor.h"
#include "util/FileUtil.h"
#include "util/GetOption.h"
#include "util/GzStream.h"
#include "util/Hash.h"
#include "util/LineScan.h"
#include "util/NumberUtil.h"
#include "util/OutputFile.h"
#include "util/SmallIntVector.h"
#include "util/StreamSearch.h"
#include "util/StringUtil.h"
#include "util/TokenScan.h"

#include "seq/Sequence.h"
#include "seq/FastaRecord.h"
#include "seq/QualityRecordFile.h"
#include "seq/RecordIndex.h"
#include "seq/RecordScanner.h"
#include "seq/SequenceQuality.h"
#include "seq/SequenceQualityVector.h"
#include "seq/SequenceVector.h"

#include "ace/AceContigReader.h"
#include "ace/AceContigWriter.h"
#include "ace/AceFile.h"
#include "ace/AceTokens.h"
#include "ace/AssemblyTally.h"
#include "ace/BaseSegment.h"
#include "ace/Contig.h"
#include "ace/ContigWork.h"

#include "contig/AssemblyEdits.h"
#include "contig/Checkpoints.h"
#include "contig/Cleanup.h"
#include "contig/SplitRules.h"
#include "contig/TemplateInfo.h"
#include "contig/WindowTests.h"

#include "search/BandedAligner.h"
#include "search/Edge.h"
#include "search/HashSampleSearchEngine.h"
#include "search/MixedOverlapGraph.h"
#include "search/OverlapGraph.h"
#include "search/PafLine.h"
#include "search/RandomNumber.h"
#include "search/SampleHash.h"
#include "search/SampleSearchResult.h"
#include "search/SeqOverlapper.h"
#include "search/SeqSampler.h"
#include "search/TIOverlapGraph.h"

#endif
