// Giving the process's unused memory back to the system.
#pragma once

namespace velmora::actions {

// Lets the system take every page of the process's working set that it
// needs elsewhere; the pages come back as they are touched.
void shrinkWorkingSet();

}  // namespace velmora::actions
