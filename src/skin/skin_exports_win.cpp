// The library's exported functions and its entry point.
#include <windows.h>

#include <vector>

#include "skin/skin_api.h"
#include "skin/skin_draw_win.h"
#include "skin/skin_engine_win.h"
#include "skin/skin_format.h"
#include "util/codepage.h"

namespace velmora::skin {
namespace {

HMODULE g_module = nullptr;
// While a skin is attached the library holds a reference on itself: an
// unload under live skinned windows would leave them calling freed code.
bool g_selfReferenced = false;

void holdLibrary(bool hold) {
    if (hold == g_selfReferenced || !g_module) return;
    if (hold) {
        HMODULE self = nullptr;
        g_selfReferenced = GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                              reinterpret_cast<LPCWSTR>(&holdLibrary), &self) != FALSE;
    } else {
        g_selfReferenced = false;
        FreeLibrary(g_module);  // the caller still holds its own reference
    }
}

// The whole file, or nothing when it cannot be read or is larger than any
// skin can be.
bool readSkinFile(const wchar_t* path, std::vector<unsigned char>& bytes) {
    if (*path == L'\0') return false;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
              size.QuadPart <= static_cast<LONGLONG>(kSkinMaxFileSize);
    if (ok) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        ok = bytes.empty() ||
             (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
              got == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

int attachFrom(const wchar_t* skinPath) {
    std::vector<unsigned char> bytes;
    if (!skinPath || !readSkinFile(skinPath, bytes)) return 0;
    const SkinParseResult parsed = parseSkin(bytes);
    if (!parsed.ok()) return 0;
    if (!attachEngine(parsed.skin)) {
        holdLibrary(currentEngine() != nullptr);
        return 0;
    }
    holdLibrary(true);
    return 1;
}

}  // namespace
}  // namespace velmora::skin

using namespace velmora::skin;

extern "C" {

int __stdcall SkinAttachExW(const wchar_t* skinPath, const char* password) noexcept {
    (void)password;  // skin files are not enciphered
    try {
        return attachFrom(skinPath);
    } catch (...) {
        return 0;
    }
}

// The path in code page 936, as older callers pass it.
int __stdcall SkinAttachEx(const char* skinPath, const char* password) noexcept {
    (void)password;
    try {
        if (!skinPath) return 0;
        const std::u16string units = velmora::codepage::gbkToUtf16(skinPath);
        const std::wstring path(units.begin(), units.end());
        return attachFrom(path.c_str());
    } catch (...) {
        return 0;
    }
}

int __stdcall SkinDetach() noexcept {
    try {
        if (!detachEngine()) return 0;
        holdLibrary(false);
        return 1;
    } catch (...) {
        return 0;
    }
}

int __stdcall SkinIsAttached() noexcept { return currentEngine() ? 1 : 0; }

int __stdcall SkinIsWindowSkinned(void* window) noexcept {
    const Engine* engine = currentEngine();
    return engine && engine->isSkinned(static_cast<HWND>(window)) ? 1 : 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

}  // extern "C"

// The definitions must keep the types that callers bind them with.
[[maybe_unused]] static constexpr SkinAttachExFn* kAttachExType = &SkinAttachEx;
[[maybe_unused]] static constexpr SkinAttachExWFn* kAttachExWType = &SkinAttachExW;
[[maybe_unused]] static constexpr SkinDetachFn* kDetachType = &SkinDetach;
[[maybe_unused]] static constexpr SkinIsAttachedFn* kIsAttachedType = &SkinIsAttached;
[[maybe_unused]] static constexpr SkinIsWindowSkinnedFn* kIsWindowSkinnedType = &SkinIsWindowSkinned;
