// Stable ids of the window's controls, menu items and timers. The end-to-end
// tests address controls by these numbers, so never renumber them.
#pragma once

namespace velmora::ui {

enum ControlId : int {
    kNoticeLabel = 1001,
    kShareNoticeLabel = 1002,
    kProxyList = 1003,
    kExtractionGroup = 1004,
    kCountCaption = 1005,
    kCountEdit = 1006,
    kPrefixCaption = 1007,
    kPrefixEdit = 1008,
    kCarrierCaption = 1009,
    kCarrierCombo = 1010,
    kRegionCaption = 1011,
    kRegionEdit = 1012,
    kPortCaption = 1013,
    kPortCombo = 1014,
    kExtractButton = 1015,
    kResultGroup = 1016,
    kSuccessCaption = 1017,
    kSuccessTotalLabel = 1018,
    kFailureCaption = 1019,
    kFailureTotalLabel = 1020,
    kRandomNoteLabel = 1021,
    kCreditLabel = 1022,
    kLinksGroup = 1023,
    kServiceLinkLabel = 1024,
    kForumLinkLabel = 1025,
    kMainSiteLinkLabel = 1026,
    kStatusBar = 1027,
    kRawResultEdit = 1028,
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
};

enum DialogId : int {
    kImportDialog = 0,
    kExportDialog = 1,
};

}  // namespace velmora::ui
