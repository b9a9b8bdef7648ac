// The row table and the selection that the window and the in-memory window
// of the tests share.
#include <gtest/gtest.h>

#include <string>

#include "model/proxy_rows.h"
#include "model/row_search.h"
#include "model/row_selection.h"

namespace velmora::model {
namespace {

Row numbered(int n) { return {std::to_string(n), "127.0.0.1", std::to_string(n), "", "", ""}; }

ProxyRows rowsNumbered(int count) {
    ProxyRows rows;
    for (int n = 1; n <= count; ++n) rows.append(numbered(n));
    return rows;
}

TEST(ProxyRows, IdentitiesOutliveMovesAndNeverComeBack) {
    ProxyRows rows = rowsNumbered(4);
    const RowId third = rows.idAt(2);
    rows.erase(0);
    EXPECT_EQ(rows.indexOf(third), 1);
    rows.eraseIf([](const Row& row) { return row[kNumberColumn] == "3"; });
    EXPECT_EQ(rows.indexOf(third), -1);
    rows.clear();
    rows.append(numbered(1));
    rows.append(numbered(2));
    EXPECT_NE(rows.idAt(0), third);
    EXPECT_NE(rows.idAt(1), third) << "a refilled list hands out new identities";
    EXPECT_EQ(rows.idAt(2), kNoRow);
    EXPECT_EQ(rows.cell(5, 1), "");
    EXPECT_EQ(rows.cell(0, kColumnCount), "");
}

TEST(ProxyRows, RefusesRowsPastTheLimitAndEveryClearingStartsAGeneration) {
    ProxyRows rows;
    for (int n = 0; n < kMaxListedRows; ++n) ASSERT_EQ(rows.append(Row{}), n);
    EXPECT_TRUE(rows.full());
    EXPECT_EQ(rows.append(numbered(1)), -1);
    EXPECT_EQ(rows.size(), kMaxListedRows);

    const Generation before = rows.generation();
    rows.clear();
    EXPECT_GT(rows.generation(), before);
    const Generation cleared = rows.generation();
    rows.startGeneration();
    EXPECT_GT(rows.generation(), cleared);
    EXPECT_EQ(rows.append(numbered(1)), 0);
}

TEST(RowSelection, MovesWithItsRowAndGoesWithIt) {
    ProxyRows rows = rowsNumbered(3);
    RowSelection selection;
    EXPECT_EQ(selection.index(rows), -1);
    EXPECT_TRUE(selection.select(rows, 2));
    rows.erase(0);
    EXPECT_EQ(selection.index(rows), 1) << "the selection moves with its row";
    EXPECT_FALSE(selection.select(rows, 7)) << "a row that does not exist";
    EXPECT_EQ(selection.index(rows), 1);
    rows.erase(1);
    EXPECT_EQ(selection.index(rows), -1) << "and goes with it";
    rows.append(numbered(9));
    EXPECT_EQ(selection.index(rows), -1) << "a new row in its place is not selected";
    EXPECT_TRUE(selection.select(rows, 0));
    EXPECT_TRUE(selection.select(rows, -1));
    EXPECT_EQ(selection.index(rows), -1);
}

TEST(RowSearch, TypeAheadLooksAtTheShownRowsOnlyAndWrapsWhenAsked) {
    const ProxyRows rows = rowsNumbered(25);
    EXPECT_EQ(findRowByNumber(rows, 25, {.typed = "2"}), 1);
    EXPECT_EQ(findRowByNumber(rows, 25, {.typed = "2", .start = 2}), 19);
    EXPECT_EQ(findRowByNumber(rows, 25, {.typed = "2", .start = 25 - 1}), 24);
    EXPECT_EQ(findRowByNumber(rows, 25, {.typed = "1", .start = 20}), -1);
    EXPECT_EQ(findRowByNumber(rows, 25, {.typed = "1", .start = 20, .wrap = true}), 0);
    EXPECT_EQ(findRowByNumber(rows, 25, {.typed = "2", .partial = false, .start = 2}), -1);
    EXPECT_EQ(findRowByNumber(rows, 25, {.typed = "12", .partial = false}), 11);
    // Rows the list view has not been told of yet cannot be selected by it.
    EXPECT_EQ(findRowByNumber(rows, 10, {.typed = "2", .start = 2}), -1);
    EXPECT_EQ(findRowByNumber(rows, 0, {.typed = "1"}), -1);
}

}  // namespace
}  // namespace velmora::model
