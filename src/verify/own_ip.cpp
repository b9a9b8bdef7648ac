#include "verify/own_ip.h"

#include "http/url.h"

namespace velmora::verify {

std::string OwnIpStore::text() const {
    const std::shared_ptr<const std::string> current = text_.load();
    return current ? *current : std::string();
}

void OwnIpStore::store(std::string address) {
    text_.store(std::make_shared<const std::string>(std::move(address)));
}

void OwnIpStore::release() { text_.store(nullptr); }

std::string OwnIpStore::learn(const std::function<std::string()>& fetchDirect) {
    if (std::string known = text(); !known.empty() || !fetchDirect) return known;
    const std::uint64_t endedBefore = fetchesEnded_.load();
    const std::lock_guard lock(learning_);
    // A fetch that ended while this thread waited for the lock is this
    // thread's answer too, whatever it brought.
    if (fetchesEnded_.load() != endedBefore) return text();
    if (std::string known = text(); !known.empty()) return known;
    std::string address = ownIpFromPage(fetchDirect());
    if (!address.empty()) store(address);
    fetchesEnded_.fetch_add(1);
    return address;
}

OwnIpStore& ownIpText() {
    static OwnIpStore store;
    return store;
}

std::string ownIpFromPage(std::string_view page) { return http::textBetween(page, kEchoMarker, "]"); }

}  // namespace velmora::verify
