#include "extract/form.h"

#include "build_config.h"
#include "util/text.h"

namespace velmora::extract {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool copiedLiterally(unsigned char b) {
    return b == '*' || (b >= ',' && b <= '9') || b == '@' || (b >= 'A' && b <= 'Z') ||
           b == '_' || (b >= 'a' && b <= 'z');
}

std::string_view beforeFirstColon(std::string_view line) {
    const auto colon = text::find(line, ":");
    return colon == text::npos ? std::string_view() : line.substr(0, colon);
}

std::string_view afterFirstColon(std::string_view line) {
    const auto colon = text::find(line, ":");
    return colon == text::npos ? std::string_view() : line.substr(colon + 1);
}

}  // namespace

const std::string_view ExtractionHeaders =
    "Referer: http://" VELMORA_SERVICE_HOST "\r\n"
    "Accept: */*\r\n"
    "Accept-Language: zh-cn\r\n"
    "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; T7WKX; .NET CLR 2.0.50727; "
    ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)\r\n"
    "Content-Type: application/x-www-form-urlencoded";

const std::string_view ExtractionUrl = "http://" VELMORA_SERVICE_HOST "/Qrovanext7.php";

std::string UrlEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (copiedLiterally(b)) {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 0x0F]);
        }
    }
    return out;
}

std::string HeaderLineName(std::string_view line) {
    return std::string(text::trim(beforeFirstColon(line)));
}

std::string HeaderLineValue(std::string_view line) {
    return std::string(text::trim(afterFirstColon(line)));
}

std::vector<std::string> HeaderLines(std::string_view block) {
    if (!text::contains(block, kLineEnd)) return {std::string(block)};
    std::vector<std::string> lines;
    for (auto& piece : text::split(block, kLineEnd)) {
        if (!piece.empty()) lines.push_back(std::move(piece));
    }
    return lines;
}

std::string FormBody(const Filters& filters) {
    std::string body;
    body += "tqsl=";
    body += filters.count;
    body += "&sxb=";
    body += UrlEncode(filters.region);
    body += "&ktip=";
    body += filters.prefix;
    body += "&ports%5B%5D=";
    body += filters.port;
    body += "&sxa=";
    body += UrlEncode(filters.carrier);
    body += "&submit=%CC%E1%C8%A1";
    return body;
}

}  // namespace velmora::extract
