#include "skin/skin_theme_win.h"

#include <string>
#include <utility>

#include "util/codepage.h"
#include "util/dpi_scale.h"
#include "util/dpi_win.h"

namespace velmora::skin {
namespace {

std::wstring utf8ToWide(const std::string& s) {
    const std::u16string units = codepage::utf8ToUtf16(s);
    return std::wstring(units.begin(), units.end());
}

int CALLBACK noteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool faceInstalled(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    face.copy(query.lfFaceName, face.size());
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &query, noteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace

Theme::Theme(const SkinDescription& description) : description_(description) {
    for (const std::string& face : description_.fontFaces) {
        std::wstring wide = utf8ToWide(face);
        if (!faceInstalled(wide)) continue;
        face_ = std::move(wide);
        break;
    }
}

Theme::~Theme() {
    for (const auto& [colour, b] : brushes_) DeleteObject(b);
    for (const auto& [dpi, set] : fonts_) {
        // The menu font is the normal one when the skin has a face.
        for (HFONT f : {set.normal, set.bold, set.link}) {
            if (f) DeleteObject(f);
        }
        if (set.menu && set.menu != set.normal) DeleteObject(set.menu);
    }
}

const ThemeFonts& Theme::fonts(int dpi) {
    const auto found = fonts_.find(dpi);
    if (found != fonts_.end()) return found->second;
    ThemeFonts set;
    if (hasFonts()) {
        set.normal = makeFont(dpi, description_.fontWeight, false);
        set.bold = makeFont(dpi, description_.fontWeight < 600 ? 700 : 900, false);
        set.link = makeFont(dpi, description_.fontWeight, true);
        set.menu = set.normal;
    } else {
        const LOGFONTW system = defaultGuiFontAt(dpi);
        set.menu = CreateFontIndirectW(&system);
    }
    return fonts_.emplace(dpi, set).first->second;
}

bool Theme::isThemeFont(HFONT font) const {
    if (!font) return false;
    for (const auto& [dpi, set] : fonts_) {
        if (font == set.normal || font == set.bold || font == set.link || font == set.menu) return true;
    }
    return false;
}

HBRUSH Theme::brush(COLORREF colour) {
    const auto found = brushes_.find(colour);
    if (found != brushes_.end()) return found->second;
    HBRUSH made = CreateSolidBrush(colour);
    brushes_.emplace(colour, made);
    return made;
}

COLORREF Theme::blend(Rgb a, Rgb b, int weight) {
    const auto mix = [weight](int x, int y) { return x + (y - x) * weight / 256; };
    return RGB(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

HFONT Theme::makeFont(int dpi, int weight, bool underline) const {
    LOGFONTW lf{};
    lf.lfHeight = -DpiScale(dpi).fontHeight(description_.fontHeight);
    lf.lfWeight = weight;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, face_.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

}  // namespace velmora::skin
