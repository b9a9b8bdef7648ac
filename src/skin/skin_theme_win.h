// The GDI side of a parsed skin: colours, brushes and fonts, owned for as
// long as the skin is attached.
#pragma once

#include <windows.h>

#include <map>

#include "skin/skin_format.h"

namespace velmora::skin {

class Theme {
public:
    explicit Theme(const SkinDescription& description);
    ~Theme();
    Theme(const Theme&) = delete;
    Theme& operator=(const Theme&) = delete;

    const SkinPalette& palette() const { return description_.palette; }
    int cornerRadius() const { return description_.cornerRadius; }

    // A solid brush of the colour, kept until the theme goes.
    HBRUSH brush(COLORREF colour);
    HBRUSH brush(Rgb colour) { return brush(toColorRef(colour)); }

    // The skin's fonts; null when none of the skin's faces is installed, in
    // which case the windows keep their own fonts.
    HFONT font() const { return font_; }
    HFONT boldFont() const { return boldFont_; }
    HFONT linkFont() const { return linkFont_; }

    static COLORREF toColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }
    // The colour `weight` (0..256) of the way from a to b.
    static COLORREF blend(Rgb a, Rgb b, int weight);

private:
    HFONT makeFont(const wchar_t* face, int weight, bool underline) const;

    SkinDescription description_;
    std::map<COLORREF, HBRUSH> brushes_;
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    HFONT linkFont_ = nullptr;
};

}  // namespace velmora::skin
