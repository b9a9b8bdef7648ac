#include "http/engine.h"

#include <chrono>

#include "http/cookies.h"
#include "http/engine_interpret.h"

namespace velmora::http {

namespace {

// The caller's in/out texts, or locals standing in for omitted ones.
struct Slots {
    std::string cookies, returnedCookies, extraHeaders, location, postBytes, rawHeaders;

    static std::string& pick(std::string* given, std::string& local) {
        return given != nullptr ? *given : local;
    }
};

using Clock = std::chrono::steady_clock;

// What is left of the call's time, in whole milliseconds.
unsigned remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<unsigned>(left) : 0;
}

}  // namespace

std::string HttpEngine::fetch(std::string_view url, RequestOptions options) const {
    Slots locals;
    std::string& cookies = Slots::pick(options.cookies, locals.cookies);
    std::string& returnedCookies = Slots::pick(options.returnedCookies, locals.returnedCookies);
    std::string& extraHeaders = Slots::pick(options.extraHeaders, locals.extraHeaders);
    std::string& location = Slots::pick(options.location, locals.location);
    std::string& postBytes = Slots::pick(options.postBytes, locals.postBytes);
    std::string& rawHeaders = Slots::pick(options.rawHeaders, locals.rawHeaders);

    // One deadline for the call, so a slow chain of redirects cannot
    // multiply it.
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limits_.deadlineMs);
    std::string address(url);
    bool cookiesGiven = options.cookies != nullptr;
    for (int followed = 0;; ++followed) {
        const RequestPlan plan = planRequest({
            .url = address,
            .method = options.method,
            .postText = options.postText,
            .cookiesGiven = cookiesGiven,
            .cookies = cookies,
            .extraHeaders = extraHeaders,
            .noRedirect = options.noRedirect,
            .postBytes = postBytes,
            .proxy = options.proxy,
        });
        RequestLimits limits = limits_;
        limits.deadlineMs = remainingMs(deadline);
        if (limits.deadlineMs == 0) return {};
        std::optional<Exchange> answer = transport_.sendAndReceive(plan, limits);
        // No handle, nothing sent: the caller's texts stay as they were.
        if (!answer) return {};

        extraHeaders = plan.headers;
        if (options.method != 0) postBytes = plan.postBytes;
        rawHeaders = answer->rawHeaders ? std::move(*answer->rawHeaders) : failedHeaderText();

        HeaderFacts facts = readHeaderLines(rawHeaders);
        returnedCookies = std::move(facts.returnedCookies);
        if (cookiesGiven) mergeCookies(cookies, returnedCookies);
        location = facts.location.value_or(std::string());
        if (location.empty()) location = rawHeaders;

        // A 301 without a target is an answer like any other; following it
        // would request the header text as an address.
        const bool followable = isMovedPermanently(rawHeaders) && facts.location && !facts.location->empty();
        if (!followable) {
            if (answer->bodyEnd != BodyEnd::Whole) return {};
            return bodyText(answer->body, rawHeaders);
        }
        if (followed == limits_.maxRedirects) return {};
        address = redirectAddress(location, address);
        location.clear();
        // Follow-ups keep their cookies by hand; the caller's choice of a
        // proxy, or of none, stays as it was.
        cookiesGiven = true;
    }
}

}  // namespace velmora::http
