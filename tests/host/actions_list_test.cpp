#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "actions/clipboard_actions.h"
#include "actions/list_actions.h"
#include "support/memory_window.h"

namespace velmora::actions {
namespace {

using fakes::MemoryWindow;
using model::Row;

Row verified(std::string number, std::string ip, std::string outcome) {
    return {std::move(number), std::move(ip), "8080", std::move(outcome), "", ""};
}

std::vector<std::string> column(MemoryWindow& window, int index) {
    std::vector<std::string> cells;
    for (const Row& row : window.rows()) cells.push_back(row[static_cast<std::size_t>(index)]);
    return cells;
}

TEST(ClearInvalid, RemovesExactlyTheFailedRowsAndRenumbers) {
    MemoryWindow window;
    window.setRows({verified("1", "1.1.1.1", "成功"), verified("2", "2.2.2.2", "失败"),
                      verified("3", "3.3.3.3", ""), verified("4", "4.4.4.4", "失败"),
                      verified("5", "5.5.5.5", "失败 "), verified("6", "6.6.6.6", "失败失败")});
    removeFailedRows(window);
    EXPECT_EQ(column(window, 1),
              (std::vector<std::string>{"1.1.1.1", "3.3.3.3", "5.5.5.5", "6.6.6.6"}));
    EXPECT_EQ(column(window, 0), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(column(window, 3), (std::vector<std::string>{"成功", "", "失败 ", "失败失败"}));
}

TEST(ClearInvalid, AdjacentFailedRowsAtBothEndsAllGo) {
    MemoryWindow window;
    window.setRows({verified("1", "a", "失败"), verified("2", "b", "失败"),
                      verified("3", "c", "成功"), verified("4", "d", "失败"),
                      verified("5", "e", "失败")});
    removeFailedRows(window);
    EXPECT_EQ(column(window, 1), (std::vector<std::string>{"c"}));
    EXPECT_EQ(column(window, 0), (std::vector<std::string>{"1"}));
}

TEST(ClearInvalid, WithoutFailedRowsStillRenumbers) {
    MemoryWindow window;
    window.setRows({verified("7", "a", ""), verified("", "b", "成功"), verified("x", "c", "")});
    removeFailedRows(window);
    EXPECT_EQ(column(window, 0), (std::vector<std::string>{"1", "2", "3"}));

    MemoryWindow empty;
    removeFailedRows(empty);
    EXPECT_EQ(empty.rowCount(), 0);
}

TEST(ClearAll, EmptiesTheListAndLeavesTheCounters) {
    MemoryWindow window;
    window.showSuccesses("3个IP");
    window.setRows({verified("1", "a", "成功"), verified("2", "b", "失败")});
    window.setCurrentRow(1);
    removeAllRows(window);
    EXPECT_EQ(window.rowCount(), 0);
    EXPECT_EQ(window.currentRow(), -1);
    EXPECT_EQ(window.successCaption(), "3个IP");
    EXPECT_EQ(window.failureCaption(), "0个IP");
}

TEST(CopyProxy, NoSelectionShowsTheMessageAndCopiesNothing) {
    MemoryWindow window;
    window.setRows({verified("1", "1.2.3.4", "")});
    EXPECT_FALSE(proxyTextToCopy(window, window).has_value());
    const auto messages = window.messages();
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(messages[0].text, "请选择需要复制的代理IP");
}

TEST(CopyProxy, SelectedRowGivesAddressColonPort) {
    MemoryWindow window;
    window.setRows({verified("1", "1.2.3.4", ""),
                      {"2", "5.6.7.8", "3128", "", "", ""},
                      {"3", "", "", "", "", ""}});
    window.setCurrentRow(1);
    EXPECT_EQ(proxyTextToCopy(window, window), "5.6.7.8:3128");
    window.setCurrentRow(2);
    EXPECT_EQ(proxyTextToCopy(window, window), ":");
    EXPECT_TRUE(window.messages().empty());
}

TEST(PasteProxy, OnlyATextOfExactlyTwoPiecesAddsARow) {
    struct Case {
        const char* clipboard;
        bool added;
        const char* address;
        const char* port;
    };
    const Case cases[] = {
        {"1.2.3.4:8080", true, "1.2.3.4", "8080"},
        {"1.2.3.4:8080\r\n", true, "1.2.3.4", "8080\r\n"},  // the line end stays
        {":8080", true, "", "8080"},
        {"代理:端口", true, "代理", "端口"},
        {"abc", false, "", ""},
        {"", false, "", ""},
        {"1.2.3.4:", false, "", ""},  // an empty last piece is dropped
        {"1:2:3", false, "", ""},
        {"[::1]:8080", false, "", ""},
        {"1.2.3.4:8080\r\n5.6.7.8:3128\r\n", false, "", ""},
    };
    for (const Case& c : cases) {
        MemoryWindow window;
        window.setRows({verified("1", "9.9.9.9", "成功"), verified("2", "8.8.8.8", "")});
        EXPECT_EQ(pasteProxyText(window, window, c.clipboard), c.added) << c.clipboard;
        const auto rows = window.rows();
        ASSERT_EQ(rows.size(), c.added ? 3U : 2U) << c.clipboard;
        if (c.added) {
            EXPECT_EQ(rows[2], (Row{"3", c.address, c.port, "", "", ""})) << c.clipboard;
        }
    }
}

// The list never grows past its limit, whatever adds to it: a paste on a
// full list adds nothing and says why, once.
TEST(PasteProxy, AFullListTakesNothingAndSaysSo) {
    MemoryWindow window;
    std::vector<Row> full(model::kMaxListedRows, verified("1", "1.1.1.1", ""));
    full.push_back(verified("100001", "2.2.2.2", ""));
    window.setRows(std::move(full));
    ASSERT_EQ(window.rowCount(), model::kMaxListedRows);
    EXPECT_FALSE(pasteProxyText(window, window, "3.3.3.3:80"));
    EXPECT_EQ(window.rowCount(), model::kMaxListedRows);
    ASSERT_EQ(window.messages().size(), 1U);
    EXPECT_EQ(window.messages()[0].text, "列表已有100000个代理，不能再粘贴。");
}

}  // namespace
}  // namespace velmora::actions
