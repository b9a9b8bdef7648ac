#include "ui/handlers.h"

namespace velmora {

void ShowListMenu() {}
void OpenServiceLink() {}
void OpenForumLink() {}
void OpenMainSiteLink() {}
void ScrollNotice() {}
void TrimWorkingSet() {}
void ClearInvalid() {}
void ClearAll() {}

}  // namespace velmora
