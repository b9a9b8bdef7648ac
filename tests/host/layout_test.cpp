// Consistency of the window's description: what the creating routine and
// the binding table rely on.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "ui/layout.h"

namespace velmora::ui {
namespace {

TEST(LayoutTest, IdsAreUniqueAndParentsComeFirst) {
    std::set<int> seen;
    for (const ControlEntry& c : controlTable()) {
        SCOPED_TRACE("control " + std::to_string(c.id));
        EXPECT_TRUE(seen.insert(c.id).second) << "duplicate id";
        if (c.parent != kNoParent) {
            EXPECT_TRUE(seen.count(c.parent)) << "parent must be created before its children";
            const ControlEntry* parent = findControl(c.parent);
            ASSERT_NE(parent, nullptr);
            EXPECT_EQ(parent->kind, ControlKind::GroupBox);
        }
    }
    std::set<int> menuIds;
    for (const MenuItemEntry& m : listMenuItems()) {
        if (m.id == 0) continue;
        EXPECT_TRUE(menuIds.insert(m.id).second);
        EXPECT_FALSE(seen.count(m.id)) << "menu and control ids must not clash";
    }
}

TEST(LayoutTest, ControlsInsideAGroupFitIntoIt) {
    for (const ControlEntry& c : controlTable()) {
        if (c.parent == kNoParent) continue;
        SCOPED_TRACE("control " + std::to_string(c.id));
        const ControlEntry* group = findControl(c.parent);
        EXPECT_LE(c.left + c.width, group->width);
        EXPECT_LE(c.top + c.height, group->height);
    }
}

TEST(LayoutTest, OnlyInputControlsAreTabStops) {
    for (const ControlEntry& c : controlTable()) {
        SCOPED_TRACE("control " + std::to_string(c.id));
        const bool input = c.kind == ControlKind::Edit || c.kind == ControlKind::DropDownList ||
                           c.kind == ControlKind::DropDownCombo ||
                           c.kind == ControlKind::PushButton || c.kind == ControlKind::ReportList;
        EXPECT_EQ(c.tabStop, input);
    }
}

TEST(LayoutTest, MenuSeparatorsSplitItsFourGroups) {
    std::vector<std::string> captions;
    for (const MenuItemEntry& m : listMenuItems()) captions.emplace_back(m.id == 0 ? "-" : m.caption);
    const std::vector<std::string> expected = {
        "复制代理", "粘贴代理", "设置代理", "取消代理", "-", "验证选中", "验证全部",
        "停止验证", "-",        "清除无效", "清除全部", "-", "导入代理", "导出代理"};
    EXPECT_EQ(captions, expected);
}

TEST(LayoutTest, StatusPanelsAndColumns) {
    ASSERT_EQ(statusPanels().size(), 2u);
    EXPECT_EQ(statusPanels()[0].width, 118);
    EXPECT_EQ(statusPanels()[1].width, 500);
    ASSERT_EQ(listColumns().size(), 6u);
    EXPECT_FALSE(listColumns()[0].centred) << "the first column of a list view is always left";
}

TEST(LayoutTest, ScalesLikeMulDivNothingAt96DpiAndFontsNeverPastTheScale) {
    for (const ControlEntry& c : controlTable()) {
        EXPECT_EQ(placeAt(c, DpiScale(96)), (Place{c.left, c.top, c.width, c.height})) << c.id;
    }
    EXPECT_EQ(DpiScale(144)(485), 728) << "halves away from zero";
    EXPECT_EQ(DpiScale(144)(-1), -2);
    EXPECT_EQ(DpiScale(0).dpi(), 96) << "a failed query counts as 96 DPI";
    EXPECT_EQ(DpiScale(192)(INT_MAX), INT_MAX);
    // The notice's place goes down to 96-DPI pixels and back on every tick.
    for (int dpi : {96, 120, 144, 192, 288}) {
        for (int px = -3000; px <= 3000; ++px) ASSERT_EQ(DpiScale(dpi).unscale(DpiScale(dpi)(px)), px) << dpi;
    }
    EXPECT_EQ(DpiScale(144).fontHeight(11), 16);
    EXPECT_EQ(DpiScale(144).line(1), 1) << "hairlines stay one sharp pixel at 150 %";
    EXPECT_EQ(DpiScale(192).line(1), 2);
}

}  // namespace
}  // namespace velmora::ui
