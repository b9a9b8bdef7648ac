// The machine's own public address, learnt once from the echo page.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace velmora::verify {

// Written by one thread, read by every verification worker without a lock:
// a reader gets either nothing or a complete text, never a partial one.
class OwnIpStore {
public:
    // Empty until an address was stored, and after release().
    std::string text() const;
    void store(std::string address);
    // Readers still holding the old text keep it alive until they are done.
    void release();

private:
    std::atomic<std::shared_ptr<const std::string>> text_;
};

OwnIpStore& ownIpText();

// The bytes between "您的IP是：[" and the following "]", unchanged; empty when
// either marker is missing.
std::string ownIpFromPage(std::string_view page);

// Fetches the echo page once (directly) and stores what it shows.
void fetchOwnIp(const std::function<std::string()>& fetchDirect, OwnIpStore& store);

}  // namespace velmora::verify
