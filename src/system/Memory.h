#pragma once

namespace vastrel {

// After a large piece of work whose buffers are gone (reading a whole file), hands the freed
// memory back to the system where the C library allows it, so the program does not keep
// the peak for the rest of the competition.
void ReturnFreedMemoryToSystem();

} // namespace vastrel
