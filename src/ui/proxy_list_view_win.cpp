#include "ui/proxy_list_view_win.h"

#include <algorithm>
#include <string>

#include "model/row_search.h"
#include "util/wide.h"

namespace velmora::ui {

namespace {

void setItemState(HWND list, int item, UINT state, UINT mask = LVIS_SELECTED | LVIS_FOCUSED) {
    LVITEMW lv{};
    lv.stateMask = mask;
    lv.state = state;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
}

}  // namespace

void ProxyListView::attach(HWND list, HWND notify, UINT syncMessage) {
    list_ = list;
    notify_ = notify;
    syncMessage_ = syncMessage;
    shown_ = 0;
    SendMessageW(list_, LVM_SETCALLBACKMASK, LVIS_SELECTED, 0);
    syncNow();
}

void ProxyListView::detach() {
    list_ = nullptr;
    notify_ = nullptr;
}

void ProxyListView::edit(const std::function<void(model::ProxyRows& rows)>& work) {
    const int selectedBefore = selected();
    const int sizeBefore = rows_.size();
    if (!due()) dueSince_ = GetTickCount64();
    work(rows_);
    if (rows_.size() > sizeBefore) lastGrowth_ = GetTickCount64();
    const model::ProxyRows::Changes changes = rows_.takeChanges();
    if (changes.moved) {
        repaintAll_ = true;
        syncNow();
        // The focus goes where the selection went, as with rows of its own,
        // and goes with it: the list view keeps its focus as an index, which
        // would otherwise now stand on another row.
        const int selectedNow = selected();
        if (selectedNow != selectedBefore && list_ != nullptr) {
            if (selectedNow >= 0) {
                setItemState(list_, selectedNow, LVIS_SELECTED | LVIS_FOCUSED);
            } else {
                dropFocus();
            }
        }
        return;
    }
    // Rows the list view has not been told of yet are painted whole when
    // they come; only cells of rows it shows need a repaint.
    firstWritten_ = std::min(firstWritten_, changes.firstWritten);
    lastWritten_ = std::max(lastWritten_, std::min(changes.lastWritten, shown_ - 1));
    if (due()) scheduleSync();
}

bool ProxyListView::due() const {
    return repaintAll_ || firstWritten_ <= lastWritten_ || rows_.size() != shown_;
}

int ProxyListView::selected() const { return selection_.index(rows_); }

void ProxyListView::select(int row) {
    const int before = selected();
    if (!selection_.select(rows_, row)) return;
    if (list_ == nullptr) return;
    redraw(before);
    if (row < 0) return;
    if (row >= shown_) syncNow();
    setItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED);
    redraw(row);
}

void ProxyListView::dropFocus() const {
    const auto focused = static_cast<int>(
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
    if (focused >= 0) setItemState(list_, focused, 0, LVIS_FOCUSED);
}

void ProxyListView::selectRowAt(POINT client) {
    if (list_ == nullptr) return;
    LVHITTESTINFO hit{};
    hit.pt = client;
    const auto row = static_cast<int>(
        SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row >= 0 && row < shown_) {
        select(row);
    } else {
        select(-1);
        dropFocus();
    }
}

POINT ProxyListView::keyboardMenuPoint() {
    POINT at{0, 0};
    if (list_ == nullptr) return at;
    const auto focused = static_cast<int>(
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
    RECT row{};
    if (focused >= 0 && focused < rows_.size()) {
        select(focused);
        ensureVisible(focused);
        row.left = LVIR_BOUNDS;
        if (SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(focused),
                         reinterpret_cast<LPARAM>(&row))) {
            at = {row.left, row.bottom};
        }
    }
    ClientToScreen(list_, &at);
    return at;
}

void ProxyListView::itemChanged(const NMLISTVIEW& change) {
    if (!(change.uChanged & LVIF_STATE) || !((change.uNewState ^ change.uOldState) & LVIS_SELECTED)) {
        return;
    }
    const int before = selected();
    if (change.uNewState & LVIS_SELECTED) {
        // Single selection: the new row replaces the old one.
        if (change.iItem < 0) return;
        selection_.select(rows_, change.iItem);
    } else if (change.iItem == -1 || change.iItem == before) {
        selection_.clear();
    }
    if (before != selected()) redraw(before);
    redraw(change.iItem);
}

void ProxyListView::redraw(int row) const {
    if (list_ != nullptr && row >= 0 && row < shown_) {
        SendMessageW(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
    }
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
    if (!due()) return;
    // Rows that only grew the table out of sight wait for the next period:
    // each count the list view is told costs it tens of milliseconds under
    // Wine, and a fill that told it after every batch would spend most of
    // the window thread on scroll bars.
    const bool grewOnly = !repaintAll_ && firstWritten_ > lastWritten_;
    const ULONGLONG now = GetTickCount64();
    const bool stillComing = now - lastGrowth_ < kGrowthQuietMs;
    if (grewOnly && stillComing && now - lastSync_ < kGrowthPeriodMs && !growthInSight()) return;
    syncNow();
}

bool ProxyListView::growthInSight() const {
    if (list_ == nullptr) return false;
    const auto top = static_cast<int>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
    const auto page = static_cast<int>(SendMessageW(list_, LVM_GETCOUNTPERPAGE, 0, 0));
    return shown_ <= top + page;
}

void ProxyListView::scheduleSync() {
    // A step is a message of its own, not part of the edit that made it due:
    // under Wine telling the list view its row count costs tens of
    // milliseconds, and an edit that also did it would hold the window that
    // much longer. Only when workers keep the window thread so busy that
    // a step has waited long past its time does an edit take it itself.
    if (GetTickCount64() - dueSince_ >= kOverdueMs) {
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
        const LPARAM flags = count > shown_ && !repaintAll_ ? LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL
                                                            : LVSICF_NOSCROLL;
        SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), flags);
        shown_ = count;
    }
    if (repaintAll_) {
        InvalidateRect(list_, nullptr, FALSE);
    } else if (firstWritten_ <= lastWritten_) {
        const auto top = static_cast<int>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
        const auto page = static_cast<int>(SendMessageW(list_, LVM_GETCOUNTPERPAGE, 0, 0));
        const int first = std::max(firstWritten_, top);
        const int last = std::min(lastWritten_, top + page);
        if (first <= last) SendMessageW(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(first), last);
    }
    repaintAll_ = false;
    firstWritten_ = INT_MAX;
    lastWritten_ = -1;
}

void ProxyListView::fillDisplayInfo(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if ((item.mask & LVIF_STATE) && (item.stateMask & LVIS_SELECTED)) {
        item.state = (item.state & ~LVIS_SELECTED) | (item.iItem == selected() ? LVIS_SELECTED : 0);
    }
    if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) return;
    const std::wstring text = toWide(rows_.cell(item.iItem, item.iSubItem));
    const std::size_t room = static_cast<std::size_t>(item.cchTextMax) - 1;
    const std::size_t n = text.size() < room ? text.size() : room;
    text.copy(item.pszText, n);
    item.pszText[n] = L'\0';
}

// Typing in the list selects the next row whose number starts with what was
// typed, among the rows the list view knows of: it selects what we return.
int ProxyListView::findItem(const NMLVFINDITEMW& find) const {
    const LVFINDINFOW& what = find.lvfi;
    if (!(what.flags & (LVFI_STRING | LVFI_PARTIAL)) || what.psz == nullptr) return -1;
    const std::string typed = fromWide(what.psz);
    return model::findRowByNumber(rows_, shown_,
                                  {.typed = typed,
                                   .partial = (what.flags & LVFI_PARTIAL) != 0,
                                   .start = find.iStart,
                                   .wrap = (what.flags & LVFI_WRAP) != 0});
}

}  // namespace velmora::ui
