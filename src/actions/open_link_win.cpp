#include "actions/open_link_win.h"

#include <windows.h>

#include <shellapi.h>  // needs <windows.h> first

#include <string>

#include "util/com_scope_win.h"
#include "util/runtime_binding.h"
#include "util/wide.h"

namespace velmora::actions {

void openLink(Link link) {
    // The shell may hand the address to a COM server; the window thread has
    // OLE from here on.
    keepOleInitialised();
    const std::wstring address = toWide(linkAddress(link));
    auto* shellExecute = bound<decltype(::ShellExecuteW)>(SystemFunction::ShellExecuteW);
    shellExecute(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace velmora::actions
