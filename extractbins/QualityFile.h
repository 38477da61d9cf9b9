// Finding the quality file that belongs to a FASTA file, by naming rules.
#ifndef OSTREL_EXTRACTBINS_QUALITYFILE_H
#define OSTREL_EXTRACTBINS_QUALITYFILE_H

#include <string>

namespace ostrel {

// True when the file can be opened for reading (it is opened and closed).
bool FileExists2(const std::string& name);

// Looks for the quality file of `fastaName`. The rules look at the base name
// only (after the last '/') and keep the directory part:
//   head "fasta"/"fa"       fasta.read1.wgs  -> qual.read1.wgs
//   extension "fasta"/"fa"  read1.fa         -> read1.qual
//   middle "fasta"/"fa"     read1.fa.orig    -> read1.fa.qual
// then, for a name ending ".gz", the same rules without it, ".gz" put back
// (read1.fa.gz -> read1.qual.gz), and read1.fa.qual.gz; and, when no
// candidate exists, fastaName + ".qual".
// True when a candidate exists; `qualName` then names it.
bool QualityFileFound(const std::string& fastaName, std::string& qualName);

}  // namespace ostrel

#endif
