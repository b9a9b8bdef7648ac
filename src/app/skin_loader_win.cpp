// LoadSkin: writes the skin library and the skin file, both carried inside
// the program, into the current directory (the program's folder) and asks
// the library to attach the skin to the program's windows. The library file
// is loaded only when it holds the program's own library: one that could
// not be rewritten may be anybody's.
#include "app/skin_loader_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "skin/skin_api.h"
#include "skin/skin_blobs.h"
#include "util/runtime_binding.h"
#include "util/system_library_win.h"
#include "util/unique_handle_win.h"
#include "util/wide.h"

namespace velmora::app {
namespace {

constexpr DWORD kPassingAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                     FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

std::wstring currentDirectory() {
    std::wstring dir;
    for (DWORD size = MAX_PATH;;) {
        dir.resize(size);
        const DWORD n = GetCurrentDirectoryW(size, dir.data());
        if (n == 0) return {};
        if (n < size) {
            dir.resize(n);
            return dir;
        }
        size = n;  // grew since the last call: n is the size it needs now
    }
}

// Windows refuses to re-create a hidden or system file unless the same
// attributes are asked for, which every start after the first would meet.
DWORD attributesToKeep(const std::wstring& path) {
    const DWORD existing = GetFileAttributesW(path.c_str());
    if (existing == INVALID_FILE_ATTRIBUTES) return FILE_ATTRIBUTE_NORMAL;
    const DWORD keep = existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return keep ? keep : FILE_ATTRIBUTE_NORMAL;
}

// True when the file's bytes, from the start to the end, are `data`.
bool holdsExactly(HANDLE file, std::span<const unsigned char> data) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) != data.size()) {
        return false;
    }
    std::vector<unsigned char> chunk(64 * 1024);
    while (!data.empty()) {
        const auto want = static_cast<DWORD>(std::min(data.size(), chunk.size()));
        DWORD got = 0;
        if (!ReadFile(file, chunk.data(), want, &got, nullptr) || got == 0) return false;
        if (!std::equal(chunk.begin(), chunk.begin() + got, data.begin())) return false;
        data = data.subspan(got);
    }
    return true;
}

bool writeAll(HANDLE file, std::span<const unsigned char> data) {
    while (!data.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) return false;
        data = data.subspan(written);
    }
    return true;
}

}  // namespace

std::wstring inCurrentDirectory(std::wstring_view name) {
    std::wstring path = currentDirectory();
    // Unreadable, the current directory is still where a plain name lands;
    // a lone backslash in front would mean the root of the drive instead.
    if (path.empty()) return std::wstring(name);
    if (path.back() != L'\\' && path.back() != L'/') path += L'\\';
    path += name;
    return path;
}

bool writeWholeFile(const std::wstring& path, std::span<const unsigned char> data) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                attributesToKeep(path), nullptr));
    if (!file) return false;
    const bool written = writeAll(file.get(), data);
    // Closed here: a write the system only reports at closing counts too.
    const bool closed = CloseHandle(file.release()) != FALSE;
    if (written && closed) return true;
    // A truncated library could be loaded and crash the program; without
    // it the start ends with the clear binding message instead.
    DeleteFileW(path.c_str());
    return false;
}

bool setFileAttributes(const std::wstring& path, std::uint32_t attributes) {
    const DWORD pass = attributes & kPassingAttributes;
    return SetFileAttributesW(path.c_str(), pass ? pass : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

SkinAttachExWFn* bindOwnSkinLibrary(const std::wstring& path, std::span<const unsigned char> ours) {
    // Held open without write or delete sharing from the comparison until
    // the library is loaded, so that the file loaded is the file compared;
    // once loaded, the system keeps it from being changed.
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        const bool present = attributes != INVALID_FILE_ATTRIBUTES &&
                             (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        if (!present) bindingFailed("jedata.dll", "SkinAttachEx");
        return nullptr;
    }
    if (!holdsExactly(file.get(), ours)) return nullptr;
    // By its full path: the one library taken from the program's folder.
    // It stays loaded until the process ends, like every bound library.
    HMODULE module = loadLibraryAt(path.c_str());
    void* attach = module == nullptr
                       ? nullptr
                       : reinterpret_cast<void*>(GetProcAddress(module, "SkinAttachExW"));
    if (attach == nullptr) bindingFailed("jedata.dll", "SkinAttachExW");
    return reinterpret_cast<SkinAttachExWFn*>(attach);
}

void LoadSkin() {
    const std::wstring library = L"jedata.dll";
    const std::wstring skinFile = toWide("皮肤.she");
    const std::span<const unsigned char> ours{skin::kSkinLibraryData, skin::kSkinLibrarySize};
    // Failures are not reported: a file already there is used when it is
    // ours, and a library that is missing altogether ends the start.
    writeWholeFile(inCurrentDirectory(library), ours);
    writeWholeFile(inCurrentDirectory(skinFile), {skin::kSkinFileData, skin::kSkinFileSize});
    setFileAttributes(inCurrentDirectory(library), kHiddenSystem);
    setFileAttributes(inCurrentDirectory(skinFile), kHiddenSystem);
    // UTF-16 all the way: the program's folder may have any name.
    if (auto* attach = bindOwnSkinLibrary(inCurrentDirectory(library), ours)) {
        attach(inCurrentDirectory(skinFile).c_str(), "");
    }
}

}  // namespace velmora::app
