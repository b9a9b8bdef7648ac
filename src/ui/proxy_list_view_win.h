// The list view that shows the window's row table.
//
// The list view keeps no rows of its own (owner data): it asks for the text
// of each cell it paints. It is told how many rows there are in coalesced
// steps, each a posted message that runs when the window thread has nothing
// else to do, because under Wine a list view repaints and resets its scroll
// bars after every change it is told of. The selection is ours too (a
// model::RowSelection; the list view asks for it and reports the user's
// changes), so Wine's list view, which walks every row to clear an old
// selection, never has one to clear. Window thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <functional>

#include "model/proxy_rows.h"
#include "model/row_selection.h"

namespace velmora::ui {

class ProxyListView {
public:
    // A step that has waited this long is taken by the next edit.
    static constexpr ULONGLONG kOverdueMs = 200;
    // Rows added out of sight are told at most this often while they keep
    // coming; once none came for kGrowthQuietMs, the next tick tells them,
    // so the end of a fill shows at once.
    static constexpr ULONGLONG kGrowthPeriodMs = 100;
    static constexpr ULONGLONG kGrowthQuietMs = 10;

    // `list` shows the rows; `notify` receives `syncMessage` when a sync is
    // due. Before attach() and after detach() edits still change the rows.
    void attach(HWND list, HWND notify, UINT syncMessage);
    void detach();

    const model::ProxyRows& rows() const { return rows_; }

    // Runs `work` on the rows, then brings the list view up to date: at once
    // when rows moved (the selection follows its row, or goes with it),
    // otherwise in the next coalesced step.
    void edit(const std::function<void(model::ProxyRows& rows)>& work);

    // The list view's selection; -1 when no row is selected.
    int selected() const;
    // Selects and focuses `row`; a negative row removes the selection. A row
    // outside the table changes nothing.
    void select(int row);
    void ensureVisible(int row);

    // A right-button press at `client` (the list's client coordinates):
    // the row under it becomes the selected and focused row, as a list view
    // that holds its own rows does it; a press below the last row leaves no
    // row selected.
    void selectRowAt(POINT client);
    // Where the menu opened by the keyboard goes, in screen coordinates:
    // below the left end of the focused row, which becomes the selected
    // row and is scrolled into sight; the list's top-left corner when no
    // row has the focus.
    POINT keyboardMenuPoint();

    // Whether rows were added within the last kGrowthQuietMs: a fill is
    // under way.
    bool growing() const { return GetTickCount64() - lastGrowth_ < kGrowthQuietMs; }

    // The posted step, and the window's timer ticks, which take a step that
    // is due but was lost or put off.
    void onSyncMessage();
    void syncIfDue();

    // LVN_GETDISPINFOW, LVN_ITEMCHANGED and LVN_ODFINDITEMW.
    void fillDisplayInfo(NMLVDISPINFOW& info) const;
    void itemChanged(const NMLISTVIEW& change);
    int findItem(const NMLVFINDITEMW& find) const;

private:
    void syncNow();
    void scheduleSync();
    bool due() const;
    // Whether rows added since the last step would be in sight.
    bool growthInSight() const;
    void redraw(int row) const;
    // Takes the list view's focus from whatever row holds it.
    void dropFocus() const;

    HWND list_ = nullptr;
    HWND notify_ = nullptr;
    UINT syncMessage_ = 0;
    model::ProxyRows rows_;
    model::RowSelection selection_;
    int shown_ = 0;           // the row count the list view was last told
    bool repaintAll_ = false; // rows moved since then
    // Rows whose cells were written since then; only those in sight are
    // repainted, so a verification far down the list costs no painting.
    int firstWritten_ = INT_MAX;
    int lastWritten_ = -1;
    bool syncPosted_ = false;
    ULONGLONG lastSync_ = 0;
    ULONGLONG dueSince_ = 0;  // when the changes waiting for a step began
    ULONGLONG lastGrowth_ = 0;
};

}  // namespace velmora::ui
