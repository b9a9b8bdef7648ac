// Event handlers bound in the window's binding table. Each takes nothing,
// returns nothing and runs on the window thread; the module named beside it
// defines it.
#pragma once

namespace velmora {

void InitMainWindow();     // app/startup_win.cpp
void StartExtraction();    // extract/extraction_win.cpp
void ShowListMenu();       // actions/list_menu_win.cpp
void OpenServiceLink();    // actions/list_menu_win.cpp
void OpenForumLink();      // actions/list_menu_win.cpp
void OpenMainSiteLink();   // actions/list_menu_win.cpp
void ScrollNotice();       // actions/list_menu_win.cpp
void TrimWorkingSet();     // actions/list_menu_win.cpp
void ClearInvalid();       // actions/list_menu_win.cpp
void ClearAll();           // actions/list_menu_win.cpp
void CopyProxy();          // actions/clipboard_files_win.cpp
void PasteProxy();         // actions/clipboard_files_win.cpp
void ImportProxies();      // actions/clipboard_files_win.cpp
void ExportProxies();      // actions/clipboard_files_win.cpp
void SetSystemProxy();     // actions/system_proxy_win.cpp
void CancelSystemProxy();  // actions/system_proxy_win.cpp
void VerifySelected();     // verify/verify_win.cpp
void VerifyAll();          // verify/verify_win.cpp
void StopVerify();         // verify/verify_win.cpp

// Start-up actions run by InitMainWindow, in this order.
void LoadSkin();           // app/skin_loader_win.cpp
void StartOwnIpCheck();    // verify/verify_win.cpp
void ApplyStartupTexts();  // app/startup_win.cpp

// Exit clean-up: releases OwnIpText.
void ExitCleanup();        // verify/verify_win.cpp

}  // namespace velmora
