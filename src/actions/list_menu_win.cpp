#include <windows.h>

#include <shellapi.h>  // needs <windows.h> first

#include <string>

#include "actions/links.h"
#include "actions/list_actions.h"
#include "actions/notice_scroll.h"
#include "ui/handlers.h"
#include "ui/window.h"
#include "util/runtime_binding.h"
#include "util/wide.h"

namespace velmora {

namespace {

// Hands the address to the default browser; the program does not wait.
void openLink(actions::Link link) {
    const std::wstring address = toWide(actions::linkAddress(link));
    ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

void ShowListMenu() {
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    actions::showListMenuNear(ui::windowControls(), cursor.x, cursor.y);
}

void OpenServiceLink() { openLink(actions::Link::Service); }
void OpenForumLink() { openLink(actions::Link::Forum); }
void OpenMainSiteLink() { openLink(actions::Link::MainSite); }

void ScrollNotice() { actions::scrollNotice(ui::windowControls()); }

void TrimWorkingSet() {
    auto* trim =
        bound<decltype(::SetProcessWorkingSetSize)>(Bound::SetProcessWorkingSetSize);
    trim(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void ClearInvalid() { actions::clearInvalid(ui::windowControls()); }

void ClearAll() { actions::clearAll(ui::windowControls()); }

}  // namespace velmora
