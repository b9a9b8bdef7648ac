// System libraries come from the system folder and from nowhere else: the
// program's folder may be a download folder, and a library placed there
// under a system library's name must never run in the program.
#pragma once

#include <windows.h>

namespace velmora {

// Restricts the default search of every later library load of the process,
// the system's own loads included, to the system folder. Does nothing where
// the system lacks the call (Windows 7 without its loader update).
void restrictLibrarySearch();

// Loads a system library by its file name from the system folder only;
// nullptr when it is not there. A name that the program's manifest
// redirects (the common controls, version 6) comes from where the manifest
// says.
HMODULE loadSystemLibrary(const wchar_t* name);

// Loads the library at the full `path`; the libraries it imports come from
// the system folder only. nullptr when it cannot be loaded.
HMODULE loadLibraryAt(const wchar_t* path);

}  // namespace velmora
