// Work on every contig of an assembly, spread over the machine's cores.
#ifndef OSTREL_ACE_CONTIGWORK_H
#define OSTREL_ACE_CONTIGWORK_H

#include <cstddef>
#include <functional>
#include <ostream>

namespace ostrel {

// Calls work(c, messages) once for every contig index c below `count`, on up
// to as many threads as the machine has cores; each call may touch only its
// own contig's data. What the calls write to `messages` goes to `out` once
// every call is done, in contig order, so the output is that of one pass in
// order. An exception thrown by a call is rethrown here after the other
// threads have stopped and what was said so far has been written.
void ForEachContig(size_t count, const std::function<void(size_t, std::ostream&)>& work, std::ostream& out);

}  // namespace ostrel

#endif
