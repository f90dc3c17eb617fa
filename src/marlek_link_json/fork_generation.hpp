#pragma once

#include <cstdint>

// Which process an object was made in, as far as fork is concerned. A child
// made by fork has only the thread that forked: every other thread of the
// parent, and with them the connections' threads, does not exist there, and
// a mutex one of them held stays locked. Objects that own threads remember
// the generation they were made in and, in a child, never wait for their
// threads or locks again.
//
// The count starts at 0 and goes up by one in each child, at the fork
// itself, before any other code of the child runs.
std::uint64_t forkGeneration();
