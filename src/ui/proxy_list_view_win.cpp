#include "ui/proxy_list_view_win.h"

#include <string>

#include "ui/wide.h"
#include "util/text.h"

namespace velmora::ui {

namespace {

void setItemState(HWND list, int item, UINT state) {
    LVITEMW lv{};
    lv.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    lv.state = state;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
}

}  // namespace

void ProxyListView::attach(HWND list, HWND notify, UINT syncMessage) {
    list_ = list;
    notify_ = notify;
    syncMessage_ = syncMessage;
    shown_ = 0;
    syncNow();
}

void ProxyListView::detach() {
    list_ = nullptr;
    notify_ = nullptr;
}

void ProxyListView::edit(const std::function<void(ProxyRows& rows)>& work) {
    const int selectedBefore = selected();
    const RowId selectedRow = rows_.idAt(selectedBefore);
    work(rows_);
    const ProxyRows::Changes changes = rows_.takeChanges();
    if (changes.moved) {
        repaint_ = true;
        syncNow();
        const int selectedNow = rows_.indexOf(selectedRow);
        if (selectedNow != selectedBefore) {
            if (list_ != nullptr) setItemState(list_, -1, 0);
            if (selectedNow >= 0) select(selectedNow);
        }
        return;
    }
    if (changes.cellsWritten) repaint_ = true;
    if (repaint_ || rows_.size() != shown_) scheduleSync();
}

int ProxyListView::selected() const {
    if (list_ == nullptr) return -1;
    const auto item = static_cast<int>(
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
    return item < rows_.size() ? item : -1;
}

void ProxyListView::select(int row) {
    if (list_ == nullptr) return;
    if (row < 0) {
        setItemState(list_, -1, 0);
        return;
    }
    if (row >= rows_.size()) return;
    if (row >= shown_) syncNow();
    setItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED);
}

void ProxyListView::ensureVisible(int row) {
    if (list_ == nullptr) return;
    if (row >= shown_ && row < rows_.size()) syncNow();
    SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void ProxyListView::onSyncMessage() {
    syncPosted_ = false;
    syncIfDue();
}

void ProxyListView::syncIfDue() {
    if (repaint_ || rows_.size() != shown_) syncNow();
}

void ProxyListView::scheduleSync() {
    if (GetTickCount64() - lastSync_ >= kSyncPeriodMs) {
        syncNow();
        return;
    }
    // Posted messages come after every message sent to the window, so the
    // step runs as soon as the window thread has nothing else to do.
    if (!syncPosted_ && notify_ != nullptr) {
        syncPosted_ = PostMessageW(notify_, syncMessage_, 0, 0) != FALSE;
    }
}

void ProxyListView::syncNow() {
    lastSync_ = GetTickCount64();
    if (list_ == nullptr) return;
    const int count = rows_.size();
    if (count != shown_) {
        // Growing: keep the scroll position and repaint only the new rows.
        const LPARAM flags = count > shown_ && !repaint_ ? LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL
                                                         : LVSICF_NOSCROLL;
        SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), flags);
        shown_ = count;
    }
    if (repaint_) InvalidateRect(list_, nullptr, FALSE);
    repaint_ = false;
}

void ProxyListView::fillDisplayInfo(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) return;
    const std::wstring text = toWide(rows_.cell(item.iItem, item.iSubItem));
    const std::size_t room = static_cast<std::size_t>(item.cchTextMax) - 1;
    const std::size_t n = text.size() < room ? text.size() : room;
    text.copy(item.pszText, n);
    item.pszText[n] = L'\0';
}

// Typing in the list selects the next row whose number starts with what was
// typed, as a list view that holds its own rows does.
int ProxyListView::findItem(const NMLVFINDITEMW& find) const {
    const LVFINDINFOW& what = find.lvfi;
    if (!(what.flags & (LVFI_STRING | LVFI_PARTIAL)) || what.psz == nullptr) return -1;
    const std::string wanted = text::toLowerAscii(fromWide(what.psz));
    const int count = rows_.size();
    if (count == 0) return -1;
    const int start = find.iStart >= 0 && find.iStart < count ? find.iStart : 0;
    for (int step = 0; step < count; ++step) {
        const int row = (start + step) % count;
        if (row < start && !(what.flags & LVFI_WRAP)) return -1;
        const std::string number = text::toLowerAscii(rows_.cell(row, 0));
        const bool match = (what.flags & LVFI_PARTIAL) ? number.starts_with(wanted) : number == wanted;
        if (match) return row;
    }
    return -1;
}

}  // namespace velmora::ui
