// The window at the display scales people use (100 %, 150 %, 200 %): its
// 96-DPI layout scaled by DPI/96, its captions fitting, the skin on it.
// Wine reads the display's DPI (LogPixels) as a program starts, so each case
// sets it before it starts the program, in a prefix of the tests' own
// (e2e_display_scale), where no other test starts at a scale not its own.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "harness_win.h"
#include "ui/ids.h"
#include "ui/layout.h"

namespace {

using namespace velmora::ui;

// The display's DPI while a case runs, and 96 again (the prefix's own) after.
struct DisplayDpi {
    explicit DisplayDpi(DWORD dpi) { set(dpi); }
    ~DisplayDpi() { set(96); }
    static void set(DWORD dpi) {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                        sizeof dpi);
    }
};

int scaled(int pixels, int dpi) { return (pixels * dpi + 48) / 96; }

bool fitsTheScreen(int dpi) {
    return scaled(mainWindowEntry().outerWidth, dpi) <= GetSystemMetrics(SM_CXSCREEN) &&
           scaled(mainWindowEntry().outerHeight, dpi) <= GetSystemMetrics(SM_CYSCREEN);
}

// The outer size, every control's place, the status panels and the columns
// (the address column as the user dragged it to `dragged` pixels at 96 DPI,
// if they did) are the 96-DPI layout's scaled to `dpi`, to within a pixel.
void expectLayoutAt(const e2e::App& app, int dpi, int dragged = 0) {
    RECT outer{};
    RECT client{};
    GetWindowRect(app.window(), &outer);
    GetClientRect(app.window(), &client);
    EXPECT_NEAR(outer.right - outer.left, scaled(mainWindowEntry().outerWidth, dpi), 1);
    EXPECT_NEAR(outer.bottom - outer.top, scaled(mainWindowEntry().outerHeight, dpi), 1);
    for (const ControlEntry& c : controlTable()) {
        SCOPED_TRACE("control " + std::to_string(c.id));
        const RECT r = e2e::rectInParent(app.control(c.id));
        EXPECT_NEAR(r.bottom - r.top, scaled(c.height, dpi), 1);
        if (c.kind == ControlKind::StatusBar) {  // docked along the bottom
            EXPECT_EQ(r.bottom, client.bottom);
            EXPECT_EQ(r.right - r.left, client.right);
            continue;
        }
        if (c.id != kNoticeLabel) {  // the notice scrolls
            EXPECT_NEAR(r.left, scaled(c.left, dpi), 1);
        }
        EXPECT_NEAR(r.top, scaled(c.top, dpi), 1);
        EXPECT_NEAR(r.right - r.left, scaled(c.width, dpi), 1);
    }
    EXPECT_EQ(app.statusEdges(), (std::vector<int>{scaled(118, dpi), scaled(618, dpi)}));
    for (int i = 0; i < static_cast<int>(listColumns().size()); ++i) {
        const int width = i == 1 && dragged > 0 ? dragged : listColumns()[i].width;
        EXPECT_NEAR(app.columnWidth(i), scaled(width, dpi), 1) << "column " << i;
    }
}

// Each caption, measured in the program's own font, fits where it is drawn,
// and the text grew with the scale.
void expectCaptionsFit(const e2e::App& app, int dpi) {
    const int line = app.lineHeight(kCountEdit);
    EXPECT_GE(line, 11 * dpi / 96) << "the window's 11-pixel font of 96 DPI, scaled";
    // Group boxes and column heads are drawn bold: about a pixel a character wider.
    auto fits = [&](const std::wstring& caption, int width, int height, bool bold) {
        std::wstring text;
        int lines = 0;
        int wide = 0;
        for (std::size_t at = 0, end; at <= caption.size(); at = end + 2) {
            end = std::min(caption.find(L"\r\n", at), caption.size());
            text = caption.substr(at, end - at);
            text.erase(text.find_last_not_of(L' ') + 1);
            if (text.empty()) continue;
            const int boldness = bold ? static_cast<int>(text.size()) * dpi / 96 : 0;
            wide = std::max(wide, app.textWidth(text) + boldness);
            const auto upTo = caption.begin() + static_cast<std::ptrdiff_t>(end);
            lines = static_cast<int>(std::count(caption.begin(), upTo, L'\n')) + 1;
        }
        EXPECT_LE(wide, width) << caption;
        EXPECT_LE(lines * line, height) << caption;
    };
    for (const ControlEntry& c : controlTable()) {
        if (c.kind == ControlKind::Label || c.kind == ControlKind::LinkLabel ||
            c.kind == ControlKind::GroupBox || c.kind == ControlKind::PushButton) {
            const RECT r = e2e::rectInParent(app.control(c.id));
            fits(app.text(c.id), r.right - r.left, r.bottom - r.top, c.kind == ControlKind::GroupBox);
        }
    }
    for (int i = 0; i < static_cast<int>(listColumns().size()); ++i) {
        fits(app.columnCaption(i), app.columnWidth(i), line, true);
    }
    RECT client{};
    GetClientRect(app.window(), &client);
    const std::vector<int> edges = app.statusEdges();
    fits(app.statusText(0), edges.at(0), line, false);
    fits(app.statusText(1), std::min<int>(edges.at(1), client.right) - edges.at(0), line, false);
}

class DisplayScale : public ::testing::TestWithParam<int> {};

TEST_P(DisplayScale, TheWindowIsItsLayoutScaledWithFittingCaptionsAndTheSkin) {
    const int dpi = GetParam();
    if (!fitsTheScreen(dpi)) GTEST_SKIP() << "the screen is too small for the window at " << dpi << " DPI";
    const DisplayDpi display(static_cast<DWORD>(dpi));
    e2e::App app;
    ASSERT_TRUE(app.started());
    expectLayoutAt(app, dpi);
    expectCaptionsFit(app, dpi);
    // The skin's dark status bar, inside the first panel and clear of its text.
    RECT bar{};
    GetWindowRect(app.control(kStatusBar), &bar);
    app.screenshot(L"display-scale-" + std::to_wstring(dpi));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, bar.left + scaled(112, dpi), bar.bottom - scaled(3, dpi)),
              RGB(0x26, 0x34, 0x45));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(app.closeAndWait(), std::optional<DWORD>(0));
}

INSTANTIATE_TEST_SUITE_P(Dpi, DisplayScale, ::testing::Values(96, 144, 192),
                         [](const ::testing::TestParamInfo<int>& dpi) { return std::to_string(dpi.param); });

// Moved to a monitor at 150 % and back, the window lays itself out at each
// scale and keeps what the user typed, picked, selected and dragged. Wine
// has one DPI for every monitor and never sends the change, so the test
// plays the system's part (e2e::App::changeDpi); the user's is real input.
TEST(DisplayScaleChange, TheWindowFollowsItsMonitorsScaleAndKeepsWhatTheUserDid) {
    if (!fitsTheScreen(144)) GTEST_SKIP() << "the screen is too small for the window at 144 DPI";
    const DisplayDpi display(96);
    e2e::TempFolder folder(L"display-scale");
    e2e::App app;
    ASSERT_TRUE(app.started());
    ASSERT_TRUE(app.importProxies(folder.path(), "127.0.0.1:18190\r\n127.0.0.1:18191\r\n"));
    app.clickButton(kCountEdit);
    for (WORD key : {WORD{VK_END}, WORD{VK_BACK}, WORD{VK_BACK}, WORD{'2'}, WORD{'5'}}) app.pressKey(key);
    app.clickButton(kCarrierCombo);
    app.pressKey(VK_DOWN);
    app.pressKey(VK_RETURN);
    app.clickRow(1);
    SendMessageW(app.control(kProxyList), LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(150, 0));  // as if dragged
    std::vector<RECT> at96;
    for (const ControlEntry& c : controlTable()) at96.push_back(e2e::rectInParent(app.control(c.id)));

    ASSERT_TRUE(app.changeDpi(144));
    expectLayoutAt(app, 144, 150);
    for (int dpi : {144, 96}) {
        SCOPED_TRACE(dpi);
        if (dpi == 96) {
            ASSERT_TRUE(app.changeDpi(96));
        }
        EXPECT_EQ(app.text(kCountEdit), L"25");
        EXPECT_EQ(app.text(kCarrierCombo), L"电信");
        EXPECT_EQ(app.selectedRow(), 1);
    }
    EXPECT_EQ(app.columnWidth(1), 150);
    for (std::size_t i = 0; i < at96.size(); ++i) {
        const ControlEntry& c = controlTable()[i];
        const RECT now = e2e::rectInParent(app.control(c.id));
        EXPECT_TRUE(now.top == at96[i].top && now.right - now.left == at96[i].right - at96[i].left &&
                    now.bottom == at96[i].bottom && (c.id == kNoticeLabel || now.left == at96[i].left))
            << "control " << c.id << " is back where it was at 96 DPI";
    }
    EXPECT_EQ(app.closeAndWait(), std::optional<DWORD>(0));
}

}  // namespace
