#include "skin/skin_format.h"

#include <array>
#include <optional>

namespace velmora::skin {
namespace {

struct ColourKey {
    std::string_view key;
    Rgb SkinPalette::*member;
};

constexpr ColourKey kColourKeys[] = {
    {"window.back", &SkinPalette::windowBack},
    {"window.text", &SkinPalette::windowText},
    {"group.back", &SkinPalette::groupBack},
    {"group.border", &SkinPalette::groupBorder},
    {"group.text", &SkinPalette::groupText},
    {"label.text", &SkinPalette::labelText},
    {"link.text", &SkinPalette::linkText},
    {"accent", &SkinPalette::accent},
    {"edit.back", &SkinPalette::editBack},
    {"edit.text", &SkinPalette::editText},
    {"edit.border", &SkinPalette::editBorder},
    {"edit.focus_border", &SkinPalette::editFocusBorder},
    {"header.back", &SkinPalette::headerBack},
    {"header.text", &SkinPalette::headerText},
    {"header.divider", &SkinPalette::headerDivider},
    {"list.text", &SkinPalette::listText},
    {"list.alt_back", &SkinPalette::listAltBack},
    {"selection.back", &SkinPalette::selectionBack},
    {"selection.text", &SkinPalette::selectionText},
    {"button.face", &SkinPalette::buttonFace},
    {"button.face_hot", &SkinPalette::buttonFaceHot},
    {"button.face_pressed", &SkinPalette::buttonFacePressed},
    {"button.border", &SkinPalette::buttonBorder},
    {"button.text", &SkinPalette::buttonText},
    {"disabled.text", &SkinPalette::disabledText},
    {"status.back", &SkinPalette::statusBack},
    {"status.text", &SkinPalette::statusText},
    {"status.divider", &SkinPalette::statusDivider},
    {"menu.back", &SkinPalette::menuBack},
    {"menu.text", &SkinPalette::menuText},
    {"menu.highlight_back", &SkinPalette::menuHighlightBack},
    {"menu.highlight_text", &SkinPalette::menuHighlightText},
    {"menu.separator", &SkinPalette::menuSeparator},
};

struct IntegerKey {
    std::string_view key;
    int SkinDescription::*member;
    int minimum, maximum;
    bool required;
};

constexpr IntegerKey kIntegerKeys[] = {
    {"font.height", &SkinDescription::fontHeight, 8, 32, true},
    {"font.weight", &SkinDescription::fontWeight, 100, 900, false},
    {"corner.radius", &SkinDescription::cornerRadius, 0, 12, false},
};

constexpr std::string_view kNameKey = "name";
constexpr std::string_view kFontFacesKey = "font.faces";
constexpr std::size_t kMaxKeyLength = 64;
constexpr std::size_t kMaxTextLength = 255;
// LOGFONT keeps 32 UTF-16 units including the terminating zero.
constexpr std::size_t kMaxFaceUnits = 31;

constexpr std::size_t kKeyCount =
    std::size(kColourKeys) + std::size(kIntegerKeys) + 2;

std::uint16_t readU16(std::span<const unsigned char> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t readU32(std::span<const unsigned char> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// Number of UTF-16 units of valid UTF-8 text, or nothing when it is not
// valid (overlong forms, surrogates and values above U+10FFFF included).
std::optional<std::size_t> utf16Units(std::string_view s) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        std::size_t length = 0;
        std::uint32_t cp = 0;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07u;
        } else {
            return std::nullopt;
        }
        if (s.size() - i < length) return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            const auto trail = static_cast<unsigned char>(s[i + k]);
            if ((trail & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (trail & 0x3Fu);
        }
        const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
        if (overlong || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return std::nullopt;
        units += cp >= 0x10000 ? 2 : 1;
        i += length;
    }
    return units;
}

std::string_view trimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// "a, b ,c" -> {"a", "b", "c"}; empty entries are dropped.
std::optional<std::vector<std::string>> splitFaces(std::string_view list) {
    std::vector<std::string> faces;
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view face = trimSpaces(list.substr(0, comma));
        if (!face.empty()) {
            const auto units = utf16Units(face);
            if (!units || *units > kMaxFaceUnits) return std::nullopt;
            faces.emplace_back(face);
        }
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    if (faces.empty()) return std::nullopt;
    return faces;
}

struct Record {
    std::string_view key;
    ValueType type;
    std::span<const unsigned char> value;
};

class RecordParser {
public:
    explicit RecordParser(SkinParseResult& result) : result_(result) {}

    bool apply(const Record& r) {
        const std::optional<std::size_t> index = keyIndex(r.key);
        if (!index) return true;  // a newer writer's key: skipped
        if (seen_[*index]) return fail(SkinError::DuplicateKey, r.key);
        seen_[*index] = true;
        if (*index < std::size(kColourKeys)) return applyColour(kColourKeys[*index], r);
        const std::size_t i = *index - std::size(kColourKeys);
        if (i < std::size(kIntegerKeys)) return applyInteger(kIntegerKeys[i], r);
        return applyText(r);
    }

    bool finish() {
        for (std::size_t i = 0; i < std::size(kColourKeys); ++i) {
            if (!seen_[i]) return fail(SkinError::MissingKey, kColourKeys[i].key);
        }
        for (std::size_t i = 0; i < std::size(kIntegerKeys); ++i) {
            if (kIntegerKeys[i].required && !seen_[std::size(kColourKeys) + i]) {
                return fail(SkinError::MissingKey, kIntegerKeys[i].key);
            }
        }
        if (!seen_[kKeyCount - 1]) return fail(SkinError::MissingKey, kFontFacesKey);
        return true;
    }

    bool fail(SkinError error, std::string_view detail) {
        result_.error = error;
        result_.detail = std::string(detail);
        return false;
    }

private:
    static std::optional<std::size_t> keyIndex(std::string_view key) {
        for (std::size_t i = 0; i < std::size(kColourKeys); ++i) {
            if (kColourKeys[i].key == key) return i;
        }
        for (std::size_t i = 0; i < std::size(kIntegerKeys); ++i) {
            if (kIntegerKeys[i].key == key) return std::size(kColourKeys) + i;
        }
        if (key == kNameKey) return kKeyCount - 2;
        if (key == kFontFacesKey) return kKeyCount - 1;
        return std::nullopt;
    }

    bool applyColour(const ColourKey& k, const Record& r) {
        if (r.type != ValueType::Colour) return fail(SkinError::WrongType, r.key);
        if (r.value.size() != 3) return fail(SkinError::MalformedRecord, r.key);
        result_.skin.palette.*k.member = Rgb{r.value[0], r.value[1], r.value[2]};
        return true;
    }

    bool applyInteger(const IntegerKey& k, const Record& r) {
        if (r.type != ValueType::Integer) return fail(SkinError::WrongType, r.key);
        if (r.value.size() != 4) return fail(SkinError::MalformedRecord, r.key);
        const auto value = static_cast<std::int32_t>(readU32(r.value, 0));
        if (value < k.minimum || value > k.maximum) return fail(SkinError::BadValue, r.key);
        result_.skin.*k.member = value;
        return true;
    }

    bool applyText(const Record& r) {
        if (r.type != ValueType::Text) return fail(SkinError::WrongType, r.key);
        if (r.value.size() > kMaxTextLength) return fail(SkinError::MalformedRecord, r.key);
        const std::string_view text(reinterpret_cast<const char*>(r.value.data()), r.value.size());
        if (!utf16Units(text)) return fail(SkinError::BadValue, r.key);
        if (r.key == kNameKey) {
            result_.skin.name = std::string(text);
            return true;
        }
        auto faces = splitFaces(text);
        if (!faces) return fail(SkinError::BadValue, r.key);
        result_.skin.fontFaces = std::move(*faces);
        return true;
    }

    SkinParseResult& result_;
    std::array<bool, kKeyCount> seen_{};
};

// Reads the record at `at`; advances `at` past it.
std::optional<Record> readRecord(std::span<const unsigned char> payload, std::size_t& at) {
    const std::size_t left = payload.size() - at;
    if (left < 1) return std::nullopt;
    const std::size_t keyLength = payload[at];
    if (keyLength == 0 || keyLength > kMaxKeyLength || left < 1 + keyLength + 3) {
        return std::nullopt;
    }
    const std::size_t typeAt = at + 1 + keyLength;
    const std::size_t valueLength = readU16(payload, typeAt + 1);
    if (left < 1 + keyLength + 3 + valueLength) return std::nullopt;
    Record r;
    r.key = std::string_view(reinterpret_cast<const char*>(payload.data() + at + 1), keyLength);
    r.type = static_cast<ValueType>(payload[typeAt]);
    r.value = payload.subspan(typeAt + 3, valueLength);
    at = typeAt + 3 + valueLength;
    return r;
}

bool parsePayload(std::span<const unsigned char> payload, SkinParseResult& result) {
    RecordParser parser(result);
    for (std::size_t at = 0; at < payload.size();) {
        const std::optional<Record> record = readRecord(payload, at);
        if (!record) return parser.fail(SkinError::MalformedRecord, {});
        if (!parser.apply(*record)) return false;
    }
    return parser.finish();
}

SkinError checkHeader(std::span<const unsigned char> file) {
    if (file.size() > kSkinMaxFileSize) return SkinError::TooLarge;
    if (file.size() < kSkinHeaderSize) return SkinError::TooShort;
    for (std::size_t i = 0; i < std::size(kSkinMagic); ++i) {
        if (file[i] != kSkinMagic[i]) return SkinError::BadMagic;
    }
    if (file[5] != kSkinFormatVersion) return SkinError::UnsupportedVersion;
    const std::size_t headerSize = readU16(file, 6);
    if (headerSize < kSkinHeaderSize) return SkinError::BadHeaderSize;
    if (file.size() < headerSize) return SkinError::TooShort;
    if (file.size() - headerSize != readU32(file, 8)) return SkinError::SizeMismatch;
    if (skinChecksum(file.subspan(headerSize)) != readU32(file, 12)) {
        return SkinError::ChecksumMismatch;
    }
    return SkinError::None;
}

}  // namespace

std::uint32_t skinChecksum(std::span<const unsigned char> bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

SkinParseResult parseSkin(std::span<const unsigned char> file) {
    SkinParseResult result;
    result.error = checkHeader(file);
    if (result.error != SkinError::None) return result;
    const std::size_t headerSize = readU16(file, 6);
    if (!parsePayload(file.subspan(headerSize), result)) {
        result.skin = SkinDescription{};
    }
    return result;
}

const char* skinErrorName(SkinError error) {
    switch (error) {
        case SkinError::None: return "none";
        case SkinError::TooShort: return "too short";
        case SkinError::TooLarge: return "too large";
        case SkinError::BadMagic: return "bad magic";
        case SkinError::UnsupportedVersion: return "unsupported version";
        case SkinError::BadHeaderSize: return "bad header size";
        case SkinError::SizeMismatch: return "size mismatch";
        case SkinError::ChecksumMismatch: return "checksum mismatch";
        case SkinError::MalformedRecord: return "malformed record";
        case SkinError::WrongType: return "wrong type";
        case SkinError::DuplicateKey: return "duplicate key";
        case SkinError::BadValue: return "bad value";
        case SkinError::MissingKey: return "missing key";
    }
    return "unknown";
}

}  // namespace velmora::skin
