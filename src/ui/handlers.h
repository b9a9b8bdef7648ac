// Event handlers bound in the window's binding table. Each runs on the
// window thread, acts on the window it is given and calls down into the
// actions, verification and extraction with what they need.
#pragma once

namespace velmora::ui {

class MainWindow;

void StartExtraction(MainWindow& window);
void ShowListMenu(MainWindow& window);
void ShowListMenuFromKeyboard(MainWindow& window);
void OpenServiceLink(MainWindow& window);
void OpenForumLink(MainWindow& window);
void OpenMainSiteLink(MainWindow& window);
void ScrollNotice(MainWindow& window);
void TrimWorkingSet(MainWindow& window);
void ClearInvalid(MainWindow& window);
void ClearAll(MainWindow& window);
void CopyProxy(MainWindow& window);
void PasteProxy(MainWindow& window);
void ImportProxies(MainWindow& window);
void ExportProxies(MainWindow& window);
void SetSystemProxy(MainWindow& window);
void CancelSystemProxy(MainWindow& window);
void VerifySelected(MainWindow& window);
void VerifyAll(MainWindow& window);
void StopVerify(MainWindow& window);

// Starts the worker that learns the machine's own address (start-up).
void StartOwnIpCheck(MainWindow& window);

}  // namespace velmora::ui
