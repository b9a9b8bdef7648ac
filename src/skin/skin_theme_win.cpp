#include "skin/skin_theme_win.h"

#include <string>

#include "util/codepage.h"

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
        const std::wstring wide = utf8ToWide(face);
        if (!faceInstalled(wide)) continue;
        font_ = makeFont(wide.c_str(), description_.fontWeight, false);
        boldFont_ = makeFont(wide.c_str(), description_.fontWeight < 600 ? 700 : 900, false);
        linkFont_ = makeFont(wide.c_str(), description_.fontWeight, true);
        break;
    }
}

Theme::~Theme() {
    for (const auto& [colour, b] : brushes_) DeleteObject(b);
    for (HFONT f : {font_, boldFont_, linkFont_}) {
        if (f) DeleteObject(f);
    }
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

HFONT Theme::makeFont(const wchar_t* face, int weight, bool underline) const {
    LOGFONTW lf{};
    lf.lfHeight = -description_.fontHeight;
    lf.lfWeight = weight;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

}  // namespace velmora::skin
