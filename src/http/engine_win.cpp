#include "http/engine.h"
#include "http/wininet_transport.h"

namespace velmora::http {

std::string HttpEngine::request(std::string_view url, RequestOptions options) {
    return HttpEngine(sharedWinInetTransport()).fetch(url, options);
}

}  // namespace velmora::http
