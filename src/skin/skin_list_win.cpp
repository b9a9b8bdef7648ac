#include <algorithm>
#include <string>

#include "skin/skin_draw_win.h"
#include "skin/skin_paint_win.h"

namespace velmora::skin {
namespace {

COLORREF c(Rgb rgb) { return Theme::toColorRef(rgb); }

// Only plain report lists are drawn row by row; lists with icons, check
// boxes or their own drawing (the shell's file views) keep theirs.
bool drawnBySkin(HWND list) {
    const auto style = GetWindowLongPtrW(list, GWL_STYLE);
    if ((style & LVS_TYPEMASK) != LVS_REPORT || (style & LVS_OWNERDRAWFIXED)) return false;
    const auto ex = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    if (ex & LVS_EX_CHECKBOXES) return false;
    return SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0) == 0 &&
           SendMessageW(list, LVM_GETIMAGELIST, LVSIL_STATE, 0) == 0;
}

std::wstring cellText(HWND list, int item, int column) {
    std::wstring text(128, L'\0');
    while (true) {
        LVITEMW lv{};
        lv.iSubItem = column;
        lv.pszText = text.data();
        lv.cchTextMax = static_cast<int>(text.size());
        const auto got = static_cast<std::size_t>(
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)));
        if (got + 1 < text.size() || text.size() >= 65536) {
            text.resize(std::min(got, text.size() - 1));
            return text;
        }
        text.resize(text.size() * 4);
    }
}

UINT alignmentOf(int columnFormat) {
    switch (columnFormat & LVCFMT_JUSTIFYMASK) {
        case LVCFMT_CENTER: return DT_CENTER;
        case LVCFMT_RIGHT: return DT_RIGHT;
        default: return DT_LEFT;
    }
}

RECT cellRect(HWND list, int item, int column) {
    RECT r{};
    r.top = column;
    r.left = LVIR_LABEL;
    // Column 0 through LVM_GETITEMRECT: LVM_GETSUBITEMRECT would give the
    // whole row for it.
    SendMessageW(list, column == 0 ? LVM_GETITEMRECT : LVM_GETSUBITEMRECT,
                 static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
    return r;
}

constexpr int kMaxColumns = 32;

// What every row of one paint shares, asked for once per paint: each
// message to a list passes its subclass chain, which under Wine costs a few
// server calls, and a paint draws every row in sight. The columns' left and
// right edges are the same in every row, so they are asked for at the first
// row drawn and shifted to the others.
struct ListPaint {
    HWND list = nullptr;
    DpiScale scale;
    bool focused = false;
    Rgb listBack{};
    HFONT font = nullptr;
    int columns = 0;
    UINT align[kMaxColumns] = {};
    bool haveEdges = false;
    int left[kMaxColumns] = {};
    int right[kMaxColumns] = {};
};

thread_local ListPaint tPaint;

void beginPaint(HWND list) {
    ListPaint& paint = tPaint;
    paint.list = list;
    paint.scale = Engine::scaleOf(list);
    paint.focused = GetFocus() == list;
    const auto bk = static_cast<COLORREF>(SendMessageW(list, LVM_GETBKCOLOR, 0, 0));
    paint.listBack = Rgb{GetRValue(bk), GetGValue(bk), GetBValue(bk)};
    paint.font = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const auto columns = header ? SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) : 1;
    paint.columns = static_cast<int>(std::min<LRESULT>(std::max<LRESULT>(columns, 0), kMaxColumns));
    paint.haveEdges = false;
    for (int column = 0; column < paint.columns; ++column) {
        LVCOLUMNW info{};
        info.mask = LVCF_FMT;
        SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        paint.align[column] = alignmentOf(info.fmt);
    }
}

void drawRow(Engine& engine, HWND list, HDC dc, int item) {
    const SkinPalette& p = engine.theme().palette();
    if (tPaint.list != list) beginPaint(list);
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (!SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&row))) return;
    const bool selected =
        (SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    const bool focused = tPaint.focused;
    const Rgb listBack = tPaint.listBack;

    COLORREF back = c(item % 2 ? p.listAltBack : listBack);
    COLORREF text = c(p.listText);
    if (selected && focused) {
        back = c(p.selectionBack);
        text = c(p.selectionText);
    } else if (selected) {
        // The selection stays visible without the focus, in a quieter tint.
        back = Theme::blend(p.selectionBack, listBack, 170);
    }
    fillSolidRect(dc, row, back);

    if (!tPaint.haveEdges) {
        for (int column = 0; column < tPaint.columns; ++column) {
            const RECT cell = cellRect(list, item, column);
            tPaint.left[column] = cell.left;
            tPaint.right[column] = cell.right;
        }
        tPaint.haveEdges = true;
    }
    for (int column = 0; column < tPaint.columns; ++column) {
        RECT cell{tPaint.left[column], row.top, tPaint.right[column], row.bottom};
        InflateRect(&cell, -tPaint.scale(5), 0);
        drawText(dc, cellText(list, item, column), cell, tPaint.font, text,
                 tPaint.align[column] | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
}

}  // namespace

LRESULT listCustomDraw(Engine& engine, NMLVCUSTOMDRAW& draw) {
    const HWND list = draw.nmcd.hdr.hwndFrom;
    if (!drawnBySkin(list)) return CDRF_DODEFAULT;
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            beginPaint(list);
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            drawRow(engine, list, draw.nmcd.hdc, static_cast<int>(draw.nmcd.dwItemSpec));
            return CDRF_SKIPDEFAULT;
        default:
            return CDRF_DODEFAULT;
    }
}

}  // namespace velmora::skin
