// Address splitting on any bytes: no crash, the path always starts with '/',
// the host without port is a prefix of the host with port, and lower-case.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "http/url.h"
#include "util/text.h"
#include "max_len.h"
#include "require.h"

using velmora::fuzz::require;

// An address is taken apart at a few markers ("http://", "https://", ":",
// "/"); a few hundred bytes hold any arrangement of them.
VELMORA_FUZZ_MAX_LEN(256)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string address(reinterpret_cast<const char*>(data), size);
    const std::string path = velmora::http::urlPath(address);
    require(!path.empty() && path.front() == '/');
    const std::string host = velmora::http::urlHost(address);
    const std::string hostWithPort = velmora::http::urlHost(address, true);
    require(hostWithPort.compare(0, host.size(), host) == 0);
    require(velmora::text::toLowerAscii(hostWithPort) == hostWithPort);
    velmora::http::urlPort(address);
    return 0;
}
