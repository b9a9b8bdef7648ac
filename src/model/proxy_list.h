// ProxyList as the layers below the window see it: its rows and its
// selection.
//
// The window implements it; each call is carried out on the window thread
// while the caller waits, so a worker may call any of it. Once the window is
// gone calls do nothing and read as empty. The tests use an in-memory list.
#pragma once

#include <functional>

#include "model/proxy_rows.h"

namespace velmora::model {

class ProxyList {
public:
    virtual ~ProxyList() = default;

    virtual int rowCount() = 0;
    // Runs `work` with the rows: one round trip however many rows it reads
    // or writes, and the list shows the result afterwards. The selection
    // moves with its row and goes with it. Once the window is gone nothing
    // runs.
    virtual void withRows(const std::function<void(ProxyRows& rows)>& work) = 0;

    // The selected row, -1 when none is.
    virtual int currentRow() = 0;
    // Selects and focuses `row`, the only selected row then; a negative
    // value selects none, a row that does not exist changes nothing.
    virtual void setCurrentRow(int row) = 0;
    virtual void ensureVisible(int row) = 0;
    // Gives the list the input focus.
    virtual void takeFocus() = 0;
};

}  // namespace velmora::model
