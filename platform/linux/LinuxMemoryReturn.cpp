#include <malloc.h>

#include "platform/MemoryReturn.h"

namespace quorrel::platform {

void returnLargeBlocksAtOnce() {
    // glibc's own starting threshold (128 KiB), fixed: a block of this size or more is
    // mapped on its own and unmapped when freed. Setting it also keeps the heap's top being
    // trimmed at the starting 128 KiB instead of at twice the largest block freed so far.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

}  // namespace quorrel::platform
