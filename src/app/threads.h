// Worker threads: started detached with one signed 32-bit argument.
#pragma once

#include <cstdint>

namespace velmora::app {

using ThreadRoutine = void (*)(std::int32_t argument);

// Creates the thread with the default stack size and closes its handle at
// once; nothing ever joins it. Returns whether the thread was created.
bool startThread(ThreadRoutine routine, std::int32_t argument = 0);

}  // namespace velmora::app
