// Any answer a server or proxy may send: header text and body from the
// input, replayed for every follow-up. The call must end, and its result
// never exceeds what came in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "http/engine.h"
#include "max_len.h"

namespace h = velmora::http;

// The body's first 499 bytes are searched for the UTF-8 marker; a body
// beyond that and room for the headers is all that length can add.
VELMORA_FUZZ_MAX_LEN(768)

namespace {

class FuzzTransport final : public h::Transport {
public:
    FuzzTransport(std::string_view headers, std::string_view body) : headers_(headers), body_(body) {}
    std::optional<h::Exchange> sendAndReceive(const h::RequestPlan& plan,
                                              const h::RequestLimits&) override {
        if (plan.host.empty() && plan.path.empty()) std::abort();
        ++calls;
        return h::Exchange{.body = body_, .bodyEnd = h::BodyEnd::Whole, .rawHeaders = headers_};
    }
    int calls = 0;

private:
    std::string headers_;
    std::string body_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\x01');
    const std::string_view headers = input.substr(0, cut);
    const std::string_view body = cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);

    FuzzTransport transport(headers, body);
    std::string cookies = "a=1; b=2", returned, location, raw, extra;
    const std::string text = h::HttpEngine(transport, {.maxRedirects = 5})
                                 .fetch("http://h/a/b", {.cookies = &cookies,
                                                         .returnedCookies = &returned,
                                                         .extraHeaders = &extra,
                                                         .location = &location,
                                                         .rawHeaders = &raw});
    if (transport.calls > 6) std::abort();
    // A converted body holds at most two bytes per input byte.
    if (text.size() > 2 * body.size()) std::abort();
    return 0;
}
