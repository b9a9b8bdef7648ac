#include "util/system_library_win.h"

#include <string>

// Older SDK headers declare the search flags only for newer systems.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace velmora {

namespace {

// Systems without the loader update refuse the search flags as an invalid
// parameter; any other failure means the library itself is not usable.
bool searchFlagsRefused() { return GetLastError() == ERROR_INVALID_PARAMETER; }

std::wstring inSystemFolder(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    return std::wstring(folder, n) + L"\\" + name;
}

bool redirectedByManifest(const wchar_t* name) {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    return FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name,
                                    &data) != FALSE;
}

}  // namespace

void restrictLibrarySearch() {
    // Bound by name: imported, the call would keep the program from
    // starting at all on a system without it.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (set != nullptr) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE loadSystemLibrary(const wchar_t* name) {
    // The manifest's redirection comes before any folder search, with or
    // without the flag.
    if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    if (!searchFlagsRefused()) return nullptr;
    // A full path would bypass the redirection and give the old common
    // controls; the plain name of a redirected library is never looked for
    // in a folder.
    if (redirectedByManifest(name)) return LoadLibraryW(name);
    const std::wstring path = inSystemFolder(name);
    if (path.empty()) return nullptr;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE loadLibraryAt(const wchar_t* path) {
    if (HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    if (!searchFlagsRefused()) return nullptr;
    // Without the flag the libraries it imports are looked for in its own
    // folder first; the skin library imports none that the system does not
    // keep for itself.
    return LoadLibraryExW(path, nullptr, 0);
}

}  // namespace velmora
