// The GDI side of a parsed skin: colours, brushes and fonts, owned for as
// long as the skin is attached. Sizes in the skin file are 96-DPI pixels;
// the fonts are made for each DPI a window asks for.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "skin/skin_format.h"

namespace velmora::skin {

// The skin's fonts at one DPI. normal, bold and link are null when none of
// the skin's faces is installed, in which case the windows keep their own
// fonts; menu is then the system's default GUI font at that DPI.
struct ThemeFonts {
    HFONT normal = nullptr;
    HFONT bold = nullptr;
    HFONT link = nullptr;
    HFONT menu = nullptr;
};

class Theme {
public:
    explicit Theme(const SkinDescription& description);
    ~Theme();
    Theme(const Theme&) = delete;
    Theme& operator=(const Theme&) = delete;

    const SkinPalette& palette() const { return description_.palette; }
    // In 96-DPI pixels.
    int cornerRadius() const { return description_.cornerRadius; }

    // A solid brush of the colour, kept until the theme goes.
    HBRUSH brush(COLORREF colour);
    HBRUSH brush(Rgb colour) { return brush(toColorRef(colour)); }

    // Whether one of the skin's faces is installed, so that the skin's fonts
    // replace the windows' own.
    bool hasFonts() const { return !face_.empty(); }
    // The fonts for a window at `dpi`, made the first time they are asked
    // for and kept until the theme goes.
    const ThemeFonts& fonts(int dpi);
    // Whether `font` is one of the theme's, at any DPI.
    bool isThemeFont(HFONT font) const;

    static COLORREF toColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }
    // The colour `weight` (0..256) of the way from a to b.
    static COLORREF blend(Rgb a, Rgb b, int weight);

private:
    HFONT makeFont(int dpi, int weight, bool underline) const;

    SkinDescription description_;
    std::wstring face_;  // the first of the skin's faces that is installed
    std::map<COLORREF, HBRUSH> brushes_;
    std::map<int, ThemeFonts> fonts_;  // by DPI
};

}  // namespace velmora::skin
