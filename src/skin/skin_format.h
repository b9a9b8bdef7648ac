// The skin file format (".she") and its validating parser.
//
// Layout, all numbers little-endian:
//
//   offset  size  field
//        0     5  magic ".SHE" and a zero byte
//        5     1  format version (kSkinFormatVersion)
//        6     2  header size in bytes (16 for version 1; readers skip what
//                 they do not know, so a later header may grow)
//        8     4  payload size in bytes
//       12     4  CRC-32 (IEEE 802.3) of the payload
//   header     -  payload: records until the payload ends
//
// The file is exactly header size + payload size bytes long. A record is
//
//   1 byte key length (1..64), the key (ASCII), 1 byte value type,
//   2 bytes value length, the value
//
// with the value types colour (3 bytes R, G, B), integer (4 bytes, signed)
// and text (UTF-8, at most 255 bytes). Unknown keys are skipped so that a
// newer skin still loads; a known key with the wrong type, a repeated key or
// a missing required key makes the file invalid. Anything that fails a check
// yields no skin at all: a skin is applied whole or not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::skin {

inline constexpr unsigned char kSkinMagic[5] = {'.', 'S', 'H', 'E', 0};
inline constexpr std::uint8_t kSkinFormatVersion = 1;
inline constexpr std::size_t kSkinHeaderSize = 16;
// Far above any real skin; keeps a hostile file from costing memory.
inline constexpr std::size_t kSkinMaxFileSize = 64 * 1024;

enum class ValueType : std::uint8_t { Colour = 1, Integer = 2, Text = 3 };

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct SkinPalette {
    Rgb windowBack, windowText;
    Rgb groupBack, groupBorder, groupText;
    Rgb labelText, linkText, accent;
    Rgb editBack, editText, editBorder, editFocusBorder;
    Rgb headerBack, headerText, headerDivider;
    Rgb listText, listAltBack, selectionBack, selectionText;
    Rgb buttonFace, buttonFaceHot, buttonFacePressed, buttonBorder, buttonText, disabledText;
    Rgb statusBack, statusText, statusDivider;
    Rgb menuBack, menuText, menuHighlightBack, menuHighlightText, menuSeparator;
};

struct SkinDescription {
    std::string name;                    // UTF-8
    SkinPalette palette;
    std::vector<std::string> fontFaces;  // UTF-8, in order of preference
    int fontHeight = 12;                 // character height in pixels
    int fontWeight = 400;
    int cornerRadius = 0;                // of buttons and group frames, pixels
};

enum class SkinError {
    None,
    TooShort,            // shorter than a header, or than the header it announces
    TooLarge,
    BadMagic,
    UnsupportedVersion,
    BadHeaderSize,
    SizeMismatch,        // file length differs from header + payload size
    ChecksumMismatch,
    MalformedRecord,     // a record runs past the payload or has a bad length
    WrongType,
    DuplicateKey,
    BadValue,            // a value out of its range, or text that is not UTF-8
    MissingKey,
};

struct SkinParseResult {
    SkinError error = SkinError::None;
    std::string detail;  // the key concerned, when there is one
    SkinDescription skin;

    bool ok() const { return error == SkinError::None; }
};

SkinParseResult parseSkin(std::span<const unsigned char> file);

// CRC-32 as used in the header (reflected polynomial 0xEDB88320).
std::uint32_t skinChecksum(std::span<const unsigned char> bytes);

const char* skinErrorName(SkinError error);

}  // namespace velmora::skin
