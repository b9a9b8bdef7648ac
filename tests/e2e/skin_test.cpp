// Start-up with the skin: the files next to the program, the skinned look,
// and the paths where the skin cannot be written or attached.
#include <gtest/gtest.h>

#include <string>

#include "harness_win.h"
#include "ui/ids.h"

namespace {

using namespace velmora::ui;
using namespace std::chrono_literals;

// The skin's status bar background; the standard look never has it.
constexpr COLORREF kSkinStatusBack = RGB(0x26, 0x34, 0x45);

const std::wstring kSkinFileName = L"\u76AE\u80A4.she";  // 皮肤.she

COLORREF statusBarPixel(const e2e::App& app) {
    HWND bar = app.control(kStatusBar);
    RECT r{};
    GetWindowRect(bar, &r);
    RedrawWindow(app.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500);
    HDC screen = GetDC(nullptr);
    // Inside the first panel, clear of its text.
    const COLORREF colour = GetPixel(screen, r.left + 112, r.bottom - 3);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool hiddenAndSystem(const std::filesystem::path& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) ==
               (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

// In a folder named in Hangul, which code page 936 cannot hold: the skin is
// written, loaded and attached through UTF-16 paths.
TEST(Skin, FirstAndLaterStartsWriteBothFilesAndShowTheSkin) {
    e2e::TempFolder folder(L"skin-\uD55C\uAE00");
    const auto program = e2e::installProgram(folder.path());
    const auto library = folder.path() / L"jedata.dll";
    const auto skin = folder.path() / kSkinFileName;
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        e2e::App app(program);
        ASSERT_TRUE(app.started());
        EXPECT_TRUE(hiddenAndSystem(library));
        EXPECT_TRUE(hiddenAndSystem(skin));
        EXPECT_EQ(e2e::readFile(library), e2e::readFile(e2e::fromBuildPath(VELMORA_SKIN_LIBRARY)));
        EXPECT_EQ(e2e::readFile(skin), e2e::readFile(e2e::fromBuildPath(VELMORA_SKIN_FILE)));
        EXPECT_EQ(e2e::readFile(skin).substr(0, 5), std::string(".SHE\0", 5));
        EXPECT_EQ(statusBarPixel(app), kSkinStatusBack);
        app.screenshot(start == 1 ? L"skin-first-start" : L"skin-second-start");
        EXPECT_EQ(app.closeAndWait(), std::optional<DWORD>(0));
    }
}

TEST(Skin, ALibraryThatCanNeitherBeWrittenNorFoundEndsTheStart) {
    e2e::TempFolder folder(L"skin-fatal");
    const auto program = e2e::installProgram(folder.path());
    // A folder in the library's place: it can be neither written nor loaded.
    std::filesystem::create_directory(folder.path() / L"jedata.dll");
    e2e::App app(program);
    EXPECT_FALSE(app.started()) << "no main window may appear";
    const auto box = app.answerMessageBox(20s);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L"错误");
    EXPECT_EQ(box->text,
              L"运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“jedata.dll”中的输出命令“"
              L"SkinAttachEx”\r\n");
    EXPECT_EQ(app.waitExit(), std::optional<DWORD>(static_cast<DWORD>(-1)));
}

TEST(Skin, ACorruptSkinFileLeavesTheStandardLook) {
    e2e::TempFolder folder(L"skin-corrupt");
    const auto program = e2e::installProgram(folder.path());
    const auto skin = folder.path() / kSkinFileName;
    e2e::writeFile(skin, std::string(".SHE\0garbage", 12));
    // Held open without write sharing, the corrupt file cannot be rewritten.
    HANDLE held = CreateFileW(skin.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    {
        e2e::App app(program);
        ASSERT_TRUE(app.started());
        EXPECT_NE(statusBarPixel(app), kSkinStatusBack);
        EXPECT_EQ(app.findDialog(1s), nullptr) << "nothing is reported";
        app.screenshot(L"skin-corrupt-standard-look");
        EXPECT_EQ(app.closeAndWait(), std::optional<DWORD>(0));
    }
    CloseHandle(held);
}

TEST(Skin, ALibraryThatIsNotOursAndCannotBeReplacedIsNotLoaded) {
    e2e::TempFolder folder(L"skin-foreign");
    const auto program = e2e::installProgram(folder.path());
    const auto library = folder.path() / L"jedata.dll";
    // A library that leaves "jedata.dll.loaded" when loaded; held open
    // without write sharing, the program cannot write its own over it.
    std::filesystem::copy_file(e2e::fromBuildPath(VELMORA_PLANTED_LIBRARY), library);
    HANDLE held = CreateFileW(library.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    {
        e2e::App app(program);
        ASSERT_TRUE(app.started());
        EXPECT_EQ(app.findDialog(1s), nullptr) << "nothing is reported";
        EXPECT_NE(statusBarPixel(app), kSkinStatusBack);
        EXPECT_FALSE(std::filesystem::exists(folder.path() / L"jedata.dll.loaded"));
        EXPECT_TRUE(app.importProxies(folder.path(), "127.0.0.1:18190\r\n"));
        EXPECT_EQ(app.closeAndWait(), std::optional<DWORD>(0));
    }
    CloseHandle(held);
}

}  // namespace
