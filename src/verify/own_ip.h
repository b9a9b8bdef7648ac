// The machine's own public address, learnt from the echo page.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace velmora::verify {

// What the echo page shows in front of its caller's address. A page without
// it is not the echo page, whoever sent it.
inline constexpr std::string_view kEchoMarker = "您的IP是：[";

// Written by the workers that learn the address, read by every verification
// worker without a lock: a reader gets either nothing or a complete text,
// never a partial one.
class OwnIpStore {
public:
    // Empty until an address was stored, and after release().
    std::string text() const;
    void store(std::string address);
    // Readers still holding the old text keep it alive until they are done.
    void release();

    // The own address. While none is known it fetches the echo page directly
    // (through `fetchDirect`) and keeps what the page shows; a thread that
    // asks while such a fetch is on its way waits for it and takes its
    // outcome rather than sending another request. Empty when the page
    // could not be had.
    std::string learn(const std::function<std::string()>& fetchDirect);

private:
    std::atomic<std::shared_ptr<const std::string>> text_;
    std::mutex learning_;
    std::atomic<std::uint64_t> fetchesEnded_{0};
};

OwnIpStore& ownIpText();

// The bytes between "您的IP是：[" and the following "]", unchanged; empty when
// either marker is missing.
std::string ownIpFromPage(std::string_view page);

}  // namespace velmora::verify
