// The in-memory ControlOperations must behave like the list view where the
// handlers' tests depend on it.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "ui/memory_controls.h"

namespace velmora::ui {
namespace {

TEST(MemoryControlsTest, InsertWithoutPositionAppendsEvenWithASelection) {
    MemoryControls c;
    EXPECT_EQ(c.insertRow(-1, "a"), 0);
    EXPECT_EQ(c.insertRow(-1, "b"), 1);
    c.setCurrentRow(0);
    EXPECT_EQ(c.insertRow(), 2);
    EXPECT_EQ(c.cellText(2, 0), "");
    EXPECT_EQ(c.currentRow(), 0);
    EXPECT_EQ(c.insertRow(0, "front"), 0);
    EXPECT_EQ(c.currentRow(), 1) << "the selection moves with its row";
}

TEST(MemoryControlsTest, SelectionIsGoneWithItsRow) {
    MemoryControls c;
    EXPECT_EQ(c.currentRow(), -1);
    c.insertRow();
    c.insertRow();
    c.setCurrentRow(1);
    c.deleteRow(1);
    EXPECT_EQ(c.currentRow(), -1);
    c.setCurrentRow(0);
    c.setCurrentRow(5);
    EXPECT_EQ(c.currentRow(), 0) << "a row that does not exist cannot be selected";
    c.setCurrentRow(-1);
    EXPECT_EQ(c.currentRow(), -1);
}

TEST(MemoryControlsTest, OutOfRangeCellsReadEmptyAndWriteNowhere) {
    MemoryControls c;
    c.insertRow(-1, "1");
    c.setCellText(3, 1, "x");
    c.setCellText(0, 6, "x");
    c.setCellText(0, -1, "x");
    EXPECT_EQ(c.cellText(3, 1), "");
    EXPECT_EQ(c.cellText(0, 6), "");
    EXPECT_EQ(c.rows().size(), 1u);
    c.setStatusText(2, "ignored");
    EXPECT_EQ(c.statusText(2), "");
}

TEST(MemoryControlsTest, WorkersMayAppendConcurrently) {
    MemoryControls c;
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&c] {
            for (int i = 0; i < 250; ++i) {
                const int row = c.insertRow();
                c.setCellText(row, 1, "127.0.0.1");
            }
        });
    }
    for (auto& w : workers) w.join();
    EXPECT_EQ(c.rowCount(), 1000);
    for (const Row& r : c.rows()) EXPECT_EQ(r[1], "127.0.0.1");
}

}  // namespace
}  // namespace velmora::ui
