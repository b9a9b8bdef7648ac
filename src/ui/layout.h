// The main window described as data: its frame, its controls, the list's
// columns, the status panels and the pop-up menu. One routine in the shell
// (main_window_win.cpp) creates the window from these tables.
//
// Every place and size here is in pixels at 96 DPI; the window scales them
// by its DPI (util/dpi_scale.h) when it is made and when it moves to a
// monitor of another scale.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "ui/ids.h"
#include "util/dpi_scale.h"

namespace velmora::ui {

enum class ControlKind {
    Label,            // static text
    LinkLabel,        // transparent static text with the hand cursor
    GroupBox,
    Edit,             // single-line edit box
    MultiLineEdit,    // multi-line edit box with a vertical scroll bar
    DropDownList,     // combo box without an edit field
    DropDownCombo,    // combo box with an edit field
    PushButton,
    ReportList,       // list view in report view
    StatusBar,
};

inline constexpr int kNoParent = 0;  // the main window itself

struct ControlEntry {
    ControlId id;
    ControlKind kind;
    int parent;  // kNoParent or the id of a group box
    int left, top, width, height;
    std::string_view text;
    bool tabStop;
    bool visible;
};

struct ColumnEntry {
    std::string_view caption;
    int width;
    bool centred;
};

struct StatusPanelEntry {
    int width;
    std::string_view text;
};

struct MenuItemEntry {
    MenuId id;  // 0 for a separator
    std::string_view caption;
};

struct WindowEntry {
    int outerWidth;
    int outerHeight;
    std::string_view title;
    std::string_view className;
    int comboOpenHeight;
};

inline constexpr unsigned kNoticePeriodMs = 100;
// ListMenu opens this many pixels right of and below the cursor.
inline constexpr int kListMenuCursorOffset = 3;
inline constexpr unsigned kTrimPeriodMs = 5;

const WindowEntry& mainWindowEntry();
std::span<const ControlEntry> controlTable();
std::span<const ColumnEntry> listColumns();
std::span<const StatusPanelEntry> statusPanels();
std::span<const MenuItemEntry> listMenuItems();
std::span<const std::string_view> carrierItems();
std::span<const std::string_view> portItems();

// Filter of the import dialog, in the "description|pattern" form.
inline constexpr std::string_view kImportFilter = "代理文本(*.txt)|*.txt";

// The description of a control by id, or nullptr.
const ControlEntry* findControl(int id);

struct Place {
    int left, top, width, height;
    friend bool operator==(const Place&, const Place&) = default;
};

// A control's place in its parent at `scale`. The edges are scaled, not the
// width and height, so that controls that meet at 96 DPI still meet.
Place placeAt(const ControlEntry& c, DpiScale scale);

inline constexpr std::size_t kStatusPanelCount = 2;
// The right edges of the status panels at `scale`, in the bar's pixels.
std::array<int, kStatusPanelCount> statusEdgesAt(DpiScale scale);

}  // namespace velmora::ui
