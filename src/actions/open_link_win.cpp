#include "actions/open_link_win.h"

#include <windows.h>

#include <shellapi.h>  // needs <windows.h> first

#include <string>

#include "util/wide.h"

namespace velmora::actions {

void openLink(Link link) {
    const std::wstring address = toWide(linkAddress(link));
    ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace velmora::actions
