// Typing in the list: the next row whose number starts with the typed text,
// as a list view that holds its own rows finds it.
#pragma once

#include <string_view>

#include "model/proxy_rows.h"

namespace velmora::model {

struct NumberSearch {
    std::string_view typed;  // compared without regard to ASCII case
    bool partial = true;     // the number starts with it, or equals it
    int start = 0;           // the first row looked at
    bool wrap = false;       // go on from the first row after the last
};

// The first matching row among the first `shown` rows of `rows` (those the
// list view knows of), from `search.start` on; -1 when none matches.
int findRowByNumber(const ProxyRows& rows, int shown, const NumberSearch& search);

}  // namespace velmora::model
