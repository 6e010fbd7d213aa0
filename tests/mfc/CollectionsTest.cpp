// CStringArray and CDWordArray: growing, inserting and removing keep the order of items.
#include <afxcoll.h>

#include <gtest/gtest.h>

TEST(CStringArray, AddInsertRemoveKeepOrder) {
  CStringArray a;
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(a.Add("one"), 0);
  EXPECT_EQ(a.Add("three"), 1);
  a.InsertAt(1, "two");
  ASSERT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a[0], "one");
  EXPECT_EQ(a[1], "two");
  EXPECT_EQ(a.GetAt(2), "three");
  a.RemoveAt(0);
  EXPECT_EQ(a[0], "two");
  EXPECT_EQ(a.GetUpperBound(), 1);
  a.SetAtGrow(4, "five");
  EXPECT_EQ(a.GetSize(), 5);
  EXPECT_TRUE(a[3].IsEmpty());
  CStringArray b;
  b.Add("x");
  EXPECT_EQ(b.Append(a), 1);
  EXPECT_EQ(b.GetSize(), 6);
  a.RemoveAll();
  EXPECT_EQ(a.GetSize(), 0);
}

TEST(CDWordArray, HoldsValues) {
  CDWordArray a;
  a.Add(7);
  a.Add(0xFFFFFFFFu);
  a.SetAt(0, 9);
  EXPECT_EQ(a[0], 9u);
  EXPECT_EQ(a[1], 0xFFFFFFFFu);
  a.SetSize(1);
  EXPECT_EQ(a.GetSize(), 1);
}
