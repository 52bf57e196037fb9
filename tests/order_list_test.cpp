#include "key_test_support.h"

namespace qc {

namespace {

class OrderListTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    app.editor.focus = kFocusOrderList;
  }
  void setOrders(std::initializer_list<int32_t> orders) {
    app.song.orderCount = int32_t(orders.size());
    std::copy(orders.begin(), orders.end(), app.song.orders.begin());
  }
  std::vector<int32_t> orders() const {
    return {app.song.orders.begin(), app.song.orders.begin() + app.song.orderCount};
  }
};

TEST_F(OrderListTest, InsertDuplicatesUntilFullBackspaceRemovesTheEntryBeforeDeleteTheEntryAt) {
  setOrders({3, 7, 9});
  app.editor.orderCursor = 1;
  press(kKeyInsert);
  EXPECT_EQ(orders(), (std::vector<int32_t>{3, 7, 7, 9}));
  EXPECT_EQ(app.editor.orderCursor, 1);
  press(kKeyBackspace);
  EXPECT_EQ(orders(), (std::vector<int32_t>{7, 7, 9}));
  EXPECT_EQ(app.editor.orderCursor, 0);
  press(kKeyBackspace);
  EXPECT_EQ(orders().size(), 3u);
  app.editor.orderCursor = 2;
  press(kKeyDelete);  // the cursor stays inside the list
  EXPECT_EQ(orders(), (std::vector<int32_t>{7, 7}));
  EXPECT_EQ(app.editor.orderCursor, 1);
  app.song.orderCount = kMaxOrders;
  press(kKeyInsert);
  EXPECT_EQ(app.song.orderCount, kMaxOrders);
  setOrders({5});
  app.editor.orderCursor = 0;
  press(kKeyDelete);
  press(kKeyBackspace);
  EXPECT_EQ(orders(), (std::vector<int32_t>{5}));
}

TEST_F(OrderListTest, EntriesAndCursorAreClamped) {
  setOrders({0, 31, 4, 4, 4, 4});
  press(kKeyLeft);
  EXPECT_EQ(app.song.orders[0], 0);
  press(kKeyDown);
  press(kKeyRight);
  EXPECT_EQ(app.song.orders[1], 31);
  press(kKeyPageDown);
  EXPECT_EQ(app.editor.orderCursor, 5);
  press(kKeyPageUp);
  EXPECT_EQ(app.editor.orderCursor, 1);
  press(kKeyPageUp);
  EXPECT_EQ(app.editor.orderCursor, 0);
  press(kKeyEnd);
  press(kKeyDown);
  EXPECT_EQ(app.editor.orderCursor, 5);
}

TEST_F(OrderListTest, UnlistedKeysReachTheGlobalMap) {
  press(kKeyEscape);
  EXPECT_TRUE(app.editor.editMode);
  press('q');  // a preview, not an entry
  EXPECT_TRUE(cellAt(0, 0).empty());
}

}  // namespace

}  // namespace qc
