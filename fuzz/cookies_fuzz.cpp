// Cookie merging on any two texts: no crash; the merged text holds no blank
// inside an item, no duplicate item and no deleted item; merging it again
// with nothing changes nothing, unless it holds empty items (";;" in the
// input) or several new items of one name, which the merge keeps and the
// next merge folds away.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <set>
#include <string>

#include "http/cookies.h"
#include "util/text.h"
#include "max_len.h"
#include "require.h"

using velmora::fuzz::require;

// Items are cut at "; " and named up to "="; a few hundred bytes hold any
// arrangement of items, blanks and names that a longer text does.
VELMORA_FUZZ_MAX_LEN(384)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace t = velmora::text;
    FuzzedDataProvider input(data, size);
    std::string cookies = input.ConsumeRandomLengthString(512);
    std::string newCookies = input.ConsumeRemainingBytesAsString();

    const std::string returned = velmora::http::mergeCookies(cookies, newCookies);
    require(returned == cookies);
    require(t::removeBlanks(newCookies) == newCookies);

    std::set<std::string> seen;
    std::set<std::string> names;
    bool foldable = cookies.ends_with("; ");
    for (const std::string& item : t::split(cookies, "; ")) {
        require(t::removeBlanks(item) == item);
        require(!item.ends_with("=deleted"));
        require(seen.insert(item).second);
        foldable = foldable || item.empty() || !names.insert(velmora::http::cookieName(item)).second;
    }
    if (foldable) {
        return 0;
    }

    std::string again = cookies;
    std::string nothing;
    velmora::http::mergeCookies(again, nothing);
    require(again == cookies);
    return 0;
}
