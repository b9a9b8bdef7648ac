// The extraction request as data: the filters, the form body and the fixed
// header lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::extract {

// The five filters, each exactly as its control holds it.
struct Filters {
    std::string count;
    std::string region;
    std::string port;
    std::string carrier;
    std::string prefix;
};

// Percent-encodes every byte except * , - . / 0-9 @ A-Z _ a-z. Works on
// bytes, so a two-byte character gives two escapes.
std::string UrlEncode(std::string_view text);

// The parts of a header line before and after its first ":", trimmed of
// blanks (tabs are kept); empty when the line has no ":".
std::string HeaderLineName(std::string_view line);
std::string HeaderLineValue(std::string_view line);

// The five header lines sent with every extraction, joined by CR LF, without
// a line end after the last.
extern const std::string_view ExtractionHeaders;

// The request address of the service.
extern const std::string_view ExtractionUrl;

// A header block as lines: one line when it holds no CR LF, otherwise the
// non-empty pieces between CR LFs, in order.
std::vector<std::string> HeaderLines(std::string_view block);

// The form body. Count, prefix and port go unencoded, region and carrier
// percent-encoded; the field order is what the service expects.
std::string FormBody(const Filters& filters);

}  // namespace velmora::extract
