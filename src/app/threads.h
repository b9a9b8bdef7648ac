// Worker threads, started detached.
#pragma once

#include <cstdint>
#include <functional>

namespace velmora::app {

using ThreadRoutine = void (*)(std::int32_t argument);

// Creates the thread with the default stack size and closes its handle at
// once; nothing ever joins it. Returns whether the thread was created.
bool startThread(ThreadRoutine routine, std::int32_t argument = 0);
// The same for work that carries more than one number.
bool startThread(std::function<void()> work);

}  // namespace velmora::app
