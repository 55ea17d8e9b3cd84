#include "platform/MemoryReturn.h"

namespace quorrel::platform {

void returnLargeBlocksAtOnce() {
    // Nothing to set: the Windows heap gives a block above its virtual-memory threshold
    // (under a megabyte) pages of its own from VirtualAlloc and releases them when the
    // block is freed, whatever was freed before.
}

}  // namespace quorrel::platform
