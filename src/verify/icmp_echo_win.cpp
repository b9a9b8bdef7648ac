#include "verify/icmp_echo.h"

// winsock2 before windows.h, and iphlpapi before icmpapi.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <optional>
#include <string>

#include "util/runtime_binding.h"
#include "util/unique_handle_win.h"

namespace velmora::verify {

namespace {

struct IcmpHandleKind {
    using Type = HANDLE;
    static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type handle) noexcept {
        bound<decltype(::IcmpCloseHandle)>(SystemFunction::IcmpCloseHandle)(handle);
    }
};
using IcmpHandle = UniqueHandle<IcmpHandleKind>;

struct WinsockStartedKind {
    using Type = bool;
    static Type invalid() noexcept { return false; }
    static void close(Type) noexcept { bound<decltype(::WSACleanup)>(SystemFunction::WSACleanup)(); }
};
using WinsockSession = UniqueHandle<WinsockStartedKind>;

// Winsock 2.2 for this scope; empty when it could not be started.
WinsockSession startWinsock() {
    WSADATA data;
    return WinsockSession(bound<decltype(::WSAStartup)>(SystemFunction::WSAStartup)(MAKEWORD(2, 2), &data) == 0);
}

std::optional<IPAddr> resolve(const std::string& address) {
    const unsigned long dotted = bound<decltype(::inet_addr)>(SystemFunction::inet_addr)(address.c_str());
    if (dotted != INADDR_NONE || address == "255.255.255.255") return dotted;
    if (address.empty()) return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    const auto lookUp = bound<decltype(::getaddrinfo)>(SystemFunction::getaddrinfo);
    if (lookUp(address.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return std::nullopt;
    const IPAddr result = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    bound<decltype(::freeaddrinfo)>(SystemFunction::freeaddrinfo)(found);
    return result;
}

}  // namespace

long echoRoundTrip(std::string_view address) {
    const WinsockSession winsock = startWinsock();
    if (!winsock) return -1;
    const std::optional<IPAddr> target = resolve(std::string(address));
    if (!target) return -1;
    const IcmpHandle icmp(bound<decltype(::IcmpCreateFile)>(SystemFunction::IcmpCreateFile)());
    if (!icmp) return -1;

    // Room for one reply plus the ICMP error data a reply may carry.
    alignas(ICMP_ECHO_REPLY) char replies[sizeof(ICMP_ECHO_REPLY) + 8 + 32];
    char noPayload = 0;
    const auto sendEcho = bound<decltype(::IcmpSendEcho)>(SystemFunction::IcmpSendEcho);
    const DWORD count = sendEcho(icmp.get(), *target, &noPayload, 0, nullptr, replies,
                                 sizeof replies, kEchoTimeoutMs);
    if (count == 0) return -1;
    const auto* reply = reinterpret_cast<const ICMP_ECHO_REPLY*>(replies);
    // An "unreachable" answer from a router is not the proxy's host replying.
    if (reply->Status != IP_SUCCESS) return -1;
    return static_cast<long>(reply->RoundTripTime);
}

}  // namespace velmora::verify
