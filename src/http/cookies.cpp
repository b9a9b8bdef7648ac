#include "http/cookies.h"

#include <unordered_set>
#include <utility>

#include "util/text.h"

namespace velmora::http {

namespace {

constexpr std::string_view kItemSeparator = "; ";
constexpr std::string_view kDeletedSuffix = "=deleted";

// Blanks out, and without a trailing lead byte that has no trail: written
// before the "; " separator it would swallow the ';' as its trail byte and
// glue two items into one.
std::string cleanCookieText(std::string_view cookieText) {
    std::string cleaned = text::removeBlanks(cookieText);
    if (text::endsInLoneLeadByte(cleaned)) {
        cleaned.pop_back();
    }
    return cleaned;
}

}  // namespace

std::string mergeCookies(std::string& cookies, std::string& newCookies) {
    cookies = cleanCookieText(cookies);
    newCookies = cleanCookieText(newCookies);

    const std::vector<std::string> old = text::split(cookies, ";");
    std::vector<std::string> merged = text::split(newCookies, ";");
    // The names of the merge list, kept beside it so that a long cookie text
    // costs linear time. Old items appended are counted too, so of several
    // old items with one name the first wins; a new item always wins over an
    // old one.
    std::unordered_set<std::string> names;
    for (const std::string& item : merged) {
        names.insert(cookieName(item));
    }
    for (const std::string& item : old) {
        if (names.insert(cookieName(item)).second) {
            merged.push_back(item);
        }
    }

    std::string joined;
    for (const std::string& item : merged) {
        if (!item.ends_with(kDeletedSuffix)) {
            joined += item;
            joined += kItemSeparator;
        }
    }
    if (!joined.empty()) {
        joined.resize(joined.size() - kItemSeparator.size());
    }
    cookies = dropDuplicateItems(joined, kItemSeparator);
    return cookies;
}

std::string cookieName(std::string_view item) {
    const std::size_t equals = text::find(item, "=");
    return std::string(text::trim(equals == text::npos ? item : item.substr(0, equals)));
}

bool containsCookieName(const std::vector<std::string>& list, std::string_view name) {
    for (const std::string& item : list) {
        if (cookieName(item) == name) {
            return true;
        }
    }
    return false;
}

std::string dropDuplicateItems(std::string_view source, std::string_view delimiter) {
    std::unordered_set<std::string> seen;
    std::string result;
    for (std::string& piece : text::split(source, delimiter)) {
        if (!seen.contains(piece)) {
            result += piece;
            result += delimiter;
            seen.insert(std::move(piece));
        }
    }
    if (!result.empty()) {
        result.resize(result.size() - delimiter.size());
    }
    return result;
}

int findItem(const std::vector<std::string>& list, std::string_view item) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] == item) {
            return static_cast<int>(i) + 1;
        }
    }
    return -1;
}

}  // namespace velmora::http
