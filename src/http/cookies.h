// Cookie merging for requests whose cookies are kept by hand.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::http {

// Merges `newCookies` into `cookies`: both lose their blanks (and are stored
// back), new cookies come first, then the old ones whose names the new text
// does not hold; items ending in "=deleted" are dropped, then exact
// duplicates. Returns a copy of the merged text.
std::string mergeCookies(std::string& cookies, std::string& newCookies);

// Text before the first '=' (the whole item without one), trimmed of blanks.
std::string cookieName(std::string_view item);

bool containsCookieName(const std::vector<std::string>& list, std::string_view name);

// `text` split at `delimiter` with every item that occurred before removed,
// joined by `delimiter` again.
std::string dropDuplicateItems(std::string_view text, std::string_view delimiter);

// 1-based position of the first item equal to `item`, or -1.
int findItem(const std::vector<std::string>& list, std::string_view item);

}  // namespace velmora::http
