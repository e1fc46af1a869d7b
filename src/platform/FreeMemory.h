#pragma once

namespace platform {

// Gives the memory allocator's free pages back to the system. A large load
// frees its file's text and lines after its lines are made, on many threads
// at once: the pages stay with the allocator, scattered among the lines, and
// the next large allocation (writing the document) would come on top of
// them. Costs a pass over the free blocks; does nothing where the allocator
// cannot do it.
void releaseFreePages();

}  // namespace platform
