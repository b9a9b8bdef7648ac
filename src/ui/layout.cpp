#include "ui/layout.h"

namespace velmora::ui {

namespace {

using K = ControlKind;

constexpr WindowEntry kWindow{
    485, 524, "[Velmora开源]Velmora永久免费高效率v3.0", "VelmoraMainWindow", 160,
};

// Top to bottom, each parent before the controls inside it. Places are in
// the client area of the parent.
constexpr ControlEntry kControls[] = {
    {kNoticeLabel, K::Label, kNoParent, 0, 0, 728, 24, "Velmora 开源项目：免费代理提取与验证工具", false, true},
    {kShareNoticeLabel, K::Label, kNoParent, 8, 32, 464, 24,
     "软件是永久免费提供分享 端口为主： 1998 18186 8080  9999  金钱不是问题。", false, true},
    {kProxyList, K::ReportList, kNoParent, 8, 64, 472, 264, "", true, true},
    {kExtractionGroup, K::GroupBox, kNoParent, 8, 336, 352, 96, "IP提取配置", false, true},
    {kCountCaption, K::Label, kExtractionGroup, 8, 24, 56, 24, "提取数量：", false, true},
    {kCountEdit, K::Edit, kExtractionGroup, 72, 24, 40, 24, "10", true, true},
    {kPrefixCaption, K::Label, kExtractionGroup, 120, 24, 56, 24, "开头IP：", false, true},
    {kPrefixEdit, K::Edit, kExtractionGroup, 168, 24, 56, 24, "", true, true},
    {kCarrierCaption, K::Label, kExtractionGroup, 224, 24, 56, 24, "运营商：", false, true},
    {kCarrierCombo, K::DropDownList, kExtractionGroup, 272, 24, 58, 20, "", true, true},
    {kRegionCaption, K::Label, kExtractionGroup, 8, 64, 56, 24, "包含地区：", false, true},
    {kRegionEdit, K::Edit, kExtractionGroup, 72, 64, 40, 24, "", true, true},
    {kPortCaption, K::Label, kExtractionGroup, 112, 66, 56, 24, "选择端口：", false, true},
    {kPortCombo, K::DropDownCombo, kExtractionGroup, 168, 64, 64, 20, "", true, true},
    {kExtractButton, K::PushButton, kExtractionGroup, 240, 56, 96, 32, "提取代理", true, true},
    {kResultGroup, K::GroupBox, kNoParent, 362, 336, 120, 144, "返回结果", false, true},
    {kSuccessCaption, K::Label, kResultGroup, 8, 16, 56, 24, "累计成功：", false, true},
    {kSuccessTotalLabel, K::Label, kResultGroup, 68, 16, 48, 24, "0个IP", false, true},
    {kFailureCaption, K::Label, kResultGroup, 8, 48, 56, 24, "累计失败：", false, true},
    {kFailureTotalLabel, K::Label, kResultGroup, 68, 48, 48, 24, "0个IP", false, true},
    {kRandomNoteLabel, K::Label, kResultGroup, 7, 80, 104, 32, "查询的IP均为随机\r\n\r\n", false, true},
    {kCreditLabel, K::Label, kResultGroup, 7, 112, 104, 24, "Velmora 开发组出品", false, true},
    {kLinksGroup, K::GroupBox, kNoParent, 8, 432, 352, 48, "友情链接", false, true},
    {kServiceLinkLabel, K::LinkLabel, kLinksGroup, 16, 16, 96, 24, "免费IP提取站", false, true},
    {kForumLinkLabel, K::LinkLabel, kLinksGroup, 120, 16, 96, 24, "Velmora论坛", false, true},
    {kMainSiteLinkLabel, K::LinkLabel, kLinksGroup, 224, 16, 96, 24, "Velmora主页", false, true},
    {kStatusBar, K::StatusBar, kNoParent, 0, 0, 0, 20, "", false, true},
    {kRawResultEdit, K::MultiLineEdit, kNoParent, 768, 104, 168, 40, "", false, false},
};

constexpr ColumnEntry kColumns[] = {
    {"序号", 40, false}, {"代理IP", 180, true}, {"端口", 50, true},
    {"验证", 60, true},  {"网速", 60, true},    {"地区", 60, true},
};

constexpr StatusPanelEntry kPanels[kStatusPanelCount] = {
    {118, "软件提取状态：正常             "},
    {500, "联系：Velmora 开发组"},
};

constexpr MenuItemEntry kMenu[] = {
    {kMenuCopyProxy, "复制代理"},
    {kMenuPasteProxy, "粘贴代理"},
    {kMenuSetProxy, "设置代理"},
    {kMenuCancelProxy, "取消代理"},
    {static_cast<MenuId>(0), ""},
    {kMenuVerifySelected, "验证选中"},
    {kMenuVerifyAll, "验证全部"},
    {kMenuStopVerify, "停止验证"},
    {static_cast<MenuId>(0), ""},
    {kMenuClearInvalid, "清除无效"},
    {kMenuClearAll, "清除全部"},
    {static_cast<MenuId>(0), ""},
    {kMenuImport, "导入代理"},
    {kMenuExport, "导出代理"},
};

constexpr std::string_view kCarrierItems[] = {"", "电信", "联通", "移动"};
constexpr std::string_view kPortItems[] = {"18186", "1998", "9999", "8080", "3128", "80", ""};

}  // namespace

const WindowEntry& mainWindowEntry() { return kWindow; }
std::span<const ControlEntry> controlTable() { return kControls; }
std::span<const ColumnEntry> listColumns() { return kColumns; }
std::span<const StatusPanelEntry> statusPanels() { return kPanels; }
std::span<const MenuItemEntry> listMenuItems() { return kMenu; }
std::span<const std::string_view> carrierItems() { return kCarrierItems; }
std::span<const std::string_view> portItems() { return kPortItems; }

const ControlEntry* findControl(int id) {
    for (const auto& c : kControls) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

Place placeAt(const ControlEntry& c, DpiScale scale) {
    const int left = scale(c.left);
    const int top = scale(c.top);
    return {left, top, scale(c.left + c.width) - left, scale(c.top + c.height) - top};
}

std::array<int, kStatusPanelCount> statusEdgesAt(DpiScale scale) {
    std::array<int, kStatusPanelCount> edges{};
    int right = 0;
    for (std::size_t i = 0; i < kStatusPanelCount; ++i) {
        right += kPanels[i].width;
        edges[i] = scale(right);
    }
    return edges;
}

}  // namespace velmora::ui
