// Stable ids of the window's controls, menu items and timers. The end-to-end
// tests address controls by these numbers, so never renumber them. They stay
// below 1000: a combo box's own list and edit children use 1000 and 1001.
#pragma once

namespace velmora::ui {

enum ControlId : int {
    kNoticeLabel = 101,
    kShareNoticeLabel = 102,
    kProxyList = 103,
    kExtractionGroup = 104,
    kCountCaption = 105,
    kCountEdit = 106,
    kPrefixCaption = 107,
    kPrefixEdit = 108,
    kCarrierCaption = 109,
    kCarrierCombo = 110,
    kRegionCaption = 111,
    kRegionEdit = 112,
    kPortCaption = 113,
    kPortCombo = 114,
    kExtractButton = 115,
    kResultGroup = 116,
    kSuccessCaption = 117,
    kSuccessTotalLabel = 118,
    kFailureCaption = 119,
    kFailureTotalLabel = 120,
    kRandomNoteLabel = 121,
    kCreditLabel = 122,
    kLinksGroup = 123,
    kServiceLinkLabel = 124,
    kForumLinkLabel = 125,
    kMainSiteLinkLabel = 126,
    kStatusBar = 127,
    kRawResultEdit = 128,
};

enum MenuId : int {
    kMenuCopyProxy = 2001,
    kMenuPasteProxy = 2002,
    kMenuSetProxy = 2003,
    kMenuCancelProxy = 2004,
    kMenuVerifySelected = 2005,
    kMenuVerifyAll = 2006,
    kMenuStopVerify = 2007,
    kMenuClearInvalid = 2008,
    kMenuClearAll = 2009,
    kMenuImport = 2010,
    kMenuExport = 2011,
};

enum TimerId : unsigned {
    kNoticeTimer = 1,
    kTrimTimer = 2,
    kRawResultTimer = 3,  // feeds RawResultEdit; bound to no handler
};

// The registered message that rings the window for work other threads hand
// it (it carries nothing).
inline constexpr wchar_t kWindowTasksMessage[] = L"Velmora.WindowTasks";

}  // namespace velmora::ui
