#include "ui/file_dialogs_win.h"

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <string_view>
#include <vector>

#include "ui/layout.h"
#include "ui/main_window_win.h"
#include "util/com_scope_win.h"
#include "util/runtime_binding.h"
#include "util/wide.h"

namespace velmora::ui {

namespace {

// "description|pattern" to the dialog's list of zero-terminated strings.
std::wstring dialogFilter(std::string_view filter) {
    if (filter.empty()) return {};
    std::wstring wide = toWide(filter);
    for (wchar_t& ch : wide) {
        if (ch == L'|') ch = L'\0';
    }
    wide.push_back(L'\0');
    wide.push_back(L'\0');
    return wide;
}

}  // namespace

std::optional<std::filesystem::path> WindowFileDialogs::chooseFileToImport() {
    return choose(Kind::Open);
}

std::optional<std::filesystem::path> WindowFileDialogs::chooseFileToExport() {
    return choose(Kind::Save);
}

// A box like the program's other boxes: no owner, task-modal, "信息：".
bool WindowFileDialogs::confirmReplace(const std::filesystem::path& file) {
    const std::wstring question = toWide("“") + file.wstring() + toWide("”已存在。\r\n要替换它吗？");
    return MessageBoxW(nullptr, question.c_str(), toWide("信息：").c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TASKMODAL) == IDYES;
}

// Neither dialog has a title, a folder, a name or an extension of its own,
// and neither restores the current directory: it is left at the chosen
// file's folder. The path comes back exactly as the dialog has it.
std::optional<std::filesystem::path> WindowFileDialogs::choose(Kind kind) {
    return window_.tasks().call(std::optional<std::filesystem::path>(), [&] {
        keepOleInitialised();
        std::vector<wchar_t> file(32768, L'\0');
        const std::wstring filter = dialogFilter(kind == Kind::Open ? kImportFilter : "");
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = window_.hwnd();
        ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
        BOOL confirmed = FALSE;
        if (kind == Kind::Save) {
            // No overwrite prompt: it would ask about the name typed, and
            // the file written has ".txt" appended; the question about that
            // file comes after the dialog.
            confirmed = bound<decltype(::GetSaveFileNameW)>(SystemFunction::GetSaveFileNameW)(&ofn);
        } else {
            ofn.Flags |= OFN_FILEMUSTEXIST;
            confirmed = bound<decltype(::GetOpenFileNameW)>(SystemFunction::GetOpenFileNameW)(&ofn);
        }
        return confirmed ? std::optional<std::filesystem::path>(file.data()) : std::nullopt;
    });
}

}  // namespace velmora::ui
