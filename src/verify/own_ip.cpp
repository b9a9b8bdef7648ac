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

OwnIpStore& ownIpText() {
    static OwnIpStore store;
    return store;
}

std::string ownIpFromPage(std::string_view page) {
    return http::textBetween(page, "您的IP是：[", "]");
}

void fetchOwnIp(const std::function<std::string()>& fetchDirect, OwnIpStore& store) {
    store.store(ownIpFromPage(fetchDirect()));
}

}  // namespace velmora::verify
