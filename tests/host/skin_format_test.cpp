#include "skin/skin_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::skin {
namespace {

using Bytes = std::vector<unsigned char>;

// Every colour a skin must give; the skin source and the compiled file
// depend on these names.
const char* const kColourKeys[] = {
    "window.back", "window.text", "group.back", "group.border", "group.text",
    "label.text", "link.text", "accent", "edit.back", "edit.text", "edit.border",
    "edit.focus_border", "header.back", "header.text", "header.divider", "list.text",
    "list.alt_back", "selection.back", "selection.text", "button.face", "button.face_hot",
    "button.face_pressed", "button.border", "button.text", "disabled.text", "status.back",
    "status.text", "status.divider", "menu.back", "menu.text", "menu.highlight_back",
    "menu.highlight_text", "menu.separator",
};

void putU16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}

void putU32(Bytes& b, std::uint32_t v) {
    putU16(b, v & 0xFFFF);
    putU16(b, v >> 16);
}

// Writes skin files record by record, independently of the build's skin
// compiler, so that the two implementations of the layout check each other.
class SkinBuilder {
public:
    SkinBuilder& raw(const std::string& key, std::uint8_t type, const Bytes& value) {
        payload_.push_back(static_cast<unsigned char>(key.size()));
        payload_.insert(payload_.end(), key.begin(), key.end());
        payload_.push_back(type);
        putU16(payload_, static_cast<std::uint32_t>(value.size()));
        payload_.insert(payload_.end(), value.begin(), value.end());
        return *this;
    }
    SkinBuilder& colour(const std::string& key, Rgb c) {
        return raw(key, static_cast<std::uint8_t>(ValueType::Colour), {c.r, c.g, c.b});
    }
    SkinBuilder& integer(const std::string& key, std::int32_t v) {
        Bytes b;
        putU32(b, static_cast<std::uint32_t>(v));
        return raw(key, static_cast<std::uint8_t>(ValueType::Integer), b);
    }
    SkinBuilder& text(const std::string& key, const std::string& s) {
        return raw(key, static_cast<std::uint8_t>(ValueType::Text), Bytes(s.begin(), s.end()));
    }
    SkinBuilder& bytes(const Bytes& b) {
        payload_.insert(payload_.end(), b.begin(), b.end());
        return *this;
    }

    Bytes file(std::uint8_t version = kSkinFormatVersion, std::uint16_t headerSize = 16) const {
        Bytes f(std::begin(kSkinMagic), std::end(kSkinMagic));
        f.push_back(version);
        putU16(f, headerSize);
        putU32(f, static_cast<std::uint32_t>(payload_.size()));
        putU32(f, skinChecksum(payload_));
        f.resize(std::max<std::size_t>(f.size(), headerSize), 0);
        f.insert(f.end(), payload_.begin(), payload_.end());
        return f;
    }

private:
    Bytes payload_;
};

// All required keys except `skip`, each colour distinct.
SkinBuilder completeSkin(const std::string& skip = "") {
    SkinBuilder b;
    std::uint8_t n = 0;
    for (const char* key : kColourKeys) {
        ++n;
        if (key != skip) b.colour(key, Rgb{n, static_cast<std::uint8_t>(n * 2), 200});
    }
    if (skip != "font.faces") b.text("font.faces", "Microsoft YaHei, WenQuanYi Micro Hei ,, SimSun");
    if (skip != "font.height") b.integer("font.height", 11);
    return b;
}

TEST(SkinFormat, CompleteSkinParses) {
    const Bytes file = completeSkin().text("name", "\xE6\x99\xB4\xE7\xA9\xBA").integer("corner.radius", 4).file();
    const SkinParseResult r = parseSkin(file);
    ASSERT_TRUE(r.ok()) << skinErrorName(r.error) << " " << r.detail;
    EXPECT_EQ(r.skin.palette.windowBack, (Rgb{1, 2, 200}));
    EXPECT_EQ(r.skin.palette.menuSeparator, (Rgb{33, 66, 200}));
    EXPECT_EQ(r.skin.fontFaces, (std::vector<std::string>{"Microsoft YaHei", "WenQuanYi Micro Hei", "SimSun"}));
    EXPECT_EQ(r.skin.fontHeight, 11);
    EXPECT_EQ(r.skin.fontWeight, 400);  // optional, default
    EXPECT_EQ(r.skin.cornerRadius, 4);
    EXPECT_EQ(r.skin.name, "\xE6\x99\xB4\xE7\xA9\xBA");
}

TEST(SkinFormat, ChecksumIsCrc32) {
    const std::string check = "123456789";
    EXPECT_EQ(skinChecksum(Bytes(check.begin(), check.end())), 0xCBF43926u);
    EXPECT_EQ(skinChecksum({}), 0u);
}

TEST(SkinFormat, EveryTruncationIsRejected) {
    const Bytes file = completeSkin().file();
    for (std::size_t length = 0; length < file.size(); ++length) {
        const SkinParseResult r = parseSkin(std::span(file.data(), length));
        EXPECT_FALSE(r.ok()) << "length " << length;
        EXPECT_TRUE(r.error == SkinError::TooShort || r.error == SkinError::SizeMismatch)
            << "length " << length << ": " << skinErrorName(r.error);
        EXPECT_TRUE(r.skin.fontFaces.empty());  // nothing of a rejected file is kept
    }
}

TEST(SkinFormat, EverySingleBitFlipIsRejected) {
    const Bytes file = completeSkin().file();
    for (std::size_t i = 0; i < file.size(); ++i) {
        Bytes corrupt = file;
        corrupt[i] ^= static_cast<unsigned char>(1u << (i % 8));
        EXPECT_FALSE(parseSkin(corrupt).ok()) << "byte " << i;
    }
}

TEST(SkinFormat, HeaderChecks) {
    Bytes badMagic = completeSkin().file();
    badMagic[4] = '!';
    Bytes trailing = completeSkin().file();
    trailing.push_back(0);
    const Bytes huge(kSkinMaxFileSize + 1, 0);
    struct Case {
        const char* what;
        Bytes file;
        SkinError expected;
    } cases[] = {
        {"empty", {}, SkinError::TooShort},
        {"magic without zero byte", badMagic, SkinError::BadMagic},
        {"later version", completeSkin().file(2), SkinError::UnsupportedVersion},
        {"header size below 16", completeSkin().file(1, 15), SkinError::BadHeaderSize},
        {"byte after the payload", trailing, SkinError::SizeMismatch},
        {"larger than any skin", huge, SkinError::TooLarge},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseSkin(c.file).error, c.expected) << c.what;
    }
}

TEST(SkinFormat, LongerHeaderOfALaterWriterIsSkipped) {
    EXPECT_TRUE(parseSkin(completeSkin().file(1, 24)).ok());
}

TEST(SkinFormat, ContentChecks) {
    const std::string longFace(32, 'a');
    struct Case {
        const char* what;
        SkinBuilder builder;
        SkinError expected;
        std::string detail;
    } cases[] = {
        {"missing colour", completeSkin("status.back"), SkinError::MissingKey, "status.back"},
        {"missing faces", completeSkin("font.faces"), SkinError::MissingKey, "font.faces"},
        {"missing height", completeSkin("font.height"), SkinError::MissingKey, "font.height"},
        {"repeated key", completeSkin().colour("accent", {}), SkinError::DuplicateKey, "accent"},
        {"colour as integer", completeSkin("accent").integer("accent", 5), SkinError::WrongType, "accent"},
        {"height as text", completeSkin("font.height").text("font.height", "11"), SkinError::WrongType,
         "font.height"},
        {"colour of four bytes", completeSkin("accent").raw("accent", 1, {1, 2, 3, 4}),
         SkinError::MalformedRecord, "accent"},
        {"height too small", completeSkin("font.height").integer("font.height", 7), SkinError::BadValue,
         "font.height"},
        {"height too large", completeSkin("font.height").integer("font.height", 33), SkinError::BadValue,
         "font.height"},
        {"negative radius", completeSkin().integer("corner.radius", -1), SkinError::BadValue, "corner.radius"},
        {"weight too small", completeSkin().integer("font.weight", 99), SkinError::BadValue, "font.weight"},
        {"no face in the list", completeSkin("font.faces").text("font.faces", " , ,"), SkinError::BadValue,
         "font.faces"},
        {"face too long for a font", completeSkin("font.faces").text("font.faces", longFace),
         SkinError::BadValue, "font.faces"},
        {"name not UTF-8", completeSkin().text("name", "\xB0\xA1"), SkinError::BadValue, "name"},
        {"overlong UTF-8", completeSkin().text("name", "\xC0\xAF"), SkinError::BadValue, "name"},
        {"UTF-8 surrogate", completeSkin().text("name", "\xED\xA0\x80"), SkinError::BadValue, "name"},
        {"text over 255 bytes", completeSkin().text("name", std::string(256, 'x')), SkinError::MalformedRecord,
         "name"},
        {"key of length 0", completeSkin().bytes({0, 1, 0, 0}), SkinError::MalformedRecord, ""},
        {"value past the end", completeSkin().bytes({1, 'x', 1, 9, 0, 1}), SkinError::MalformedRecord, ""},
        {"record cut after the key", completeSkin().bytes({3, 'a', 'b', 'c', 1}), SkinError::MalformedRecord,
         ""},
    };
    for (const Case& c : cases) {
        const SkinParseResult r = parseSkin(c.builder.file());
        EXPECT_EQ(r.error, c.expected) << c.what << ": " << skinErrorName(r.error);
        EXPECT_EQ(r.detail, c.detail) << c.what;
    }
}

TEST(SkinFormat, UnknownKeysOfANewerSkinAreSkipped) {
    const Bytes file = completeSkin()
                           .raw("scrollbar.thumb", 1, {1, 2, 3})
                           .raw("future.kind", 9, {1, 2, 3, 4, 5})
                           .file();
    EXPECT_TRUE(parseSkin(file).ok());
}

TEST(SkinFormat, FaceLimitCountsUtf16Units) {
    // 31 units fit in a LOGFONT face; a character outside the BMP takes two.
    const std::string han = "\xE6\x99\xB4";      // one unit
    const std::string emoji = "\xF0\x9F\x98\x80";  // two units
    std::string fits;
    for (int i = 0; i < 31; ++i) fits += han;
    EXPECT_TRUE(parseSkin(completeSkin("font.faces").text("font.faces", fits).file()).ok());
    std::string tooLong = std::string(30, 'a') + emoji;
    EXPECT_EQ(parseSkin(completeSkin("font.faces").text("font.faces", tooLong).file()).error,
              SkinError::BadValue);
}

}  // namespace
}  // namespace velmora::skin
