#include "actions/working_set_win.h"

#include <windows.h>

#include "util/runtime_binding.h"

namespace velmora::actions {

void shrinkWorkingSet() {
    auto* trim =
        bound<decltype(::SetProcessWorkingSetSize)>(SystemFunction::SetProcessWorkingSetSize);
    trim(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

}  // namespace velmora::actions
