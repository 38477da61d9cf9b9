// ostrel-ace: subcommands over ACE assemblies (figures, writing back,
// trimmed consensus as FASTA, alignment views), each a thin layer over the
// library.
#ifndef OSTREL_ACETOOL_ACETOOL_H
#define OSTREL_ACETOOL_ACETOOL_H

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ace/AceFile.h"
#include "util/CommandOptions.h"

namespace ostrel {

constexpr int kDefaultMinContigSize = 500;  // padded length of a large contig
constexpr int kDefaultTrimQuality = 20;     // quality inside the contig and read trims
constexpr int kFastaLineWidth = 60;         // bases per FASTA line
constexpr int kDefaultViewWidth = 100;      // columns per alignment window
constexpr const char* kDefaultStatsFormat = "text";  // stats output: text, tsv or json
constexpr int kDefaultReportProfiles = 20;           // contigs whose depth a report plots

// Runs `ostrel-ace SUB ...`; returns the exit status: 0; 1 for bad options,
// an unknown subcommand, a file that cannot be read or written, or one that
// holds no ACE records; 2 when the assembly read is not sound (damaged or
// truncated input, counts that disagree with the records).
int RunAceTool(int argc, char** argv);

// The subcommands; argv[0] is the subcommand's name.
int RunStats(int argc, char** argv);
int RunReport(int argc, char** argv);
int RunWrite(int argc, char** argv);
int RunFasta(int argc, char** argv);
int RunView(int argc, char** argv);
int RunRevcomp(int argc, char** argv);
int RunRemove(int argc, char** argv);
int RunMerge(int argc, char** argv);
int RunTrimTails(int argc, char** argv);
int RunProblems(int argc, char** argv);
int RunSplit(int argc, char** argv);

// Prints the assembly's figures; `withQualities` says whether read
// qualities were loaded (without them the reads have no good-quality parts
// and the coverage is given as plain read depth only).
// `readDepth` is the mean read depth over the large contigs' columns.
void PrintAssemblyFigures(const AceFile& ace, const AssemblyTally& tally, double readDepth,
                          const std::string& aceName, bool withQualities, std::ostream& out);

// What the subcommands share (acetool/AceTool.cpp).
// Reads an assembly (plain or gzip) with the read qualities of `qualName`
// when it is not empty, then its trims and statistics. False, with a
// message, when a file cannot be read or the assembly file holds no ACE
// records.
bool ReadAssembly(AceFile& ace, const std::string& aceName, const std::string& qualName);
// Reads an assembly (plain or gzip) one contig at a time: each(contig) for
// every contig as it comes, held alone in `ace` (ace/AceContigReader.h), so
// memory does not grow with the file; `tally` becomes the statistics of the
// contigs read. With `qualName`, the reads take their values from that
// quality file, which is indexed rather than held; one that cannot be
// indexed (a gzip-compressed one) is read whole with the assembly, and the
// contigs are then handed over from memory. ace.mTags holds the tags met
// so far, in file order, those among the records of the contig handed over
// included. At the end `ace` holds the header's counts, the tags, the
// statistics and the validity. False, with a
// message, when a file cannot be read or the assembly file holds no ACE
// records.
bool StreamAssembly(AceFile& ace, const std::string& aceName, const std::string& qualName,
                    const std::function<void(Contig&)>& each, AssemblyTally& tally);
// The status after the work: 0, or 2 when the assembly read was not sound.
inline int AssemblyStatus(const AceFile& ace) { return ace.mValid ? 0 : 2; }
// CONTIG, or CONTIG:FROM-TO when the text after the last ':' is two counts
// joined by '-' (contig names may hold ':' themselves): `from` and `to` as
// typed (1-based padded positions), both -1 without them.
void ParseRegion(const std::string& region, std::string& contig, int& from, int& to);
// The index of the contig named `name`; -1, with a message naming the file,
// when there is none.
int FindContig(const AceFile& ace, const std::string& name, const std::string& aceName);

// An edit of an assembly, as the editing subcommands make it: reads
// `inName` (with the read qualities of `qualName` when not empty), calls
// `edit` with the library's progress lines sent to standard error and a
// stream for the summary, drops the contigs the edit left without reads,
// writes `outName` whole or not at all, and prints the summary: contigs and
// reads before and after, what the edit said, the contigs dropped. `edit`
// returns false for a request it cannot carry out (it has said why); the
// status is then 1 and nothing is written. An output naming the input is
// refused.
int RunEdit(const std::string& inName, const std::string& qualName, const std::string& outName,
            const std::function<bool(AceFile&, std::ostream&)>& edit);

}  // namespace ostrel

#endif
