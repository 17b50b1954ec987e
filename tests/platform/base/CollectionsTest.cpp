#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/base/Array.h"
#include "platform/base/List.h"
#include "platform/base/Map.h"
#include "tests/platform/base/TestSupport.h"

namespace {

using testing_support::B;
using testing_support::Bytes;
using testing_support::Load;
using testing_support::Store;

template <class F>
bool ThrowsInvalidArg(F action) {
  try {
    action();
  } catch (CInvalidArgException* e) {
    e->Delete();
    return true;
  }
  return false;
}

template <class T, class A>
std::vector<T> Items(const CArray<T, A>& array) {
  return std::vector<T>(array.GetData(), array.GetData() + array.GetSize());
}

std::vector<std::string> Items(const CStringList& list) {
  std::vector<std::string> out;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) out.push_back(list.GetNext(pos).Str());
  return out;
}

template <class Collection>
Bytes Stored(Collection& c) {
  return Store([&](CArchive& ar) { c.Serialize(ar); });
}

// Arrays

TEST(Arrays, SizeGrowthAndEditing) {
  CArray<int, int> a;
  a.SetSize(3);
  EXPECT_EQ(Items(a), (std::vector<int>{0, 0, 0}));  // new elements are zero
  a[1] = 5;
  EXPECT_EQ(a.Add(7), 3);
  a.SetAtGrow(6, 9);
  EXPECT_EQ(Items(a), (std::vector<int>{0, 5, 0, 7, 0, 0, 9}));
  EXPECT_EQ(a.GetUpperBound(), 6);
  a.InsertAt(1, 4, 2);
  EXPECT_EQ(Items(a), (std::vector<int>{0, 4, 4, 5, 0, 7, 0, 0, 9}));
  a.RemoveAt(0, 3);
  EXPECT_EQ(Items(a), (std::vector<int>{5, 0, 7, 0, 0, 9}));
  a.InsertAt(8, 1);  // past the end: the gap is zero-filled
  EXPECT_EQ(a.GetSize(), 9);
  EXPECT_EQ(a[8], 1);
  a.SetSize(2);
  EXPECT_EQ(Items(a), (std::vector<int>{5, 0}));
  a.FreeExtra();
  a.RemoveAll();
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(a.GetData(), nullptr);
}

TEST(Arrays, CopyAppendAndInsertArrays) {
  CDWordArray a, b;
  a.Add(1);
  a.Add(2);
  b.Add(3);
  EXPECT_EQ(a.Append(b), 2);
  EXPECT_EQ(Items(a), (std::vector<DWORD>{1, 2, 3}));
  b.Copy(a);
  EXPECT_EQ(Items(b), (std::vector<DWORD>{1, 2, 3}));
  b.InsertAt(1, &a);
  EXPECT_EQ(Items(b), (std::vector<DWORD>{1, 1, 2, 3, 2, 3}));
  a.SetSize(0, 16);
  a.Add(1);
  EXPECT_EQ(a.GetSize(), 1);
}

TEST(Arrays, OutOfRangeIsRefused) {
  CStringArray a;
  a.Add("x");
  EXPECT_TRUE(ThrowsInvalidArg([&] { a.GetAt(1); }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { a[-1]; }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { a.SetAt(5, "y"); }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { a.RemoveAt(0, 2); }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { a.InsertAt(-1, "y"); }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { a.SetSize(-1); }));
  EXPECT_EQ(a.GetSize(), 1);
}

TEST(Arrays, ElementsFromTheArrayItselfSurviveGrowth) {
  CStringArray a;
  a.Add("short");
  for (int i = 0; i < 100; ++i) a.Add(a[0]);  // the argument points into the array
  a.InsertAt(0, a[50], 3);
  EXPECT_EQ(a.GetSize(), 104);
  for (INT_PTR i = 0; i < a.GetSize(); ++i) ASSERT_EQ(a[i], "short") << i;
}

TEST(Arrays, ArchiveForms) {
  CStringArray strings;
  strings.Add("a");
  strings.Add("bc");
  EXPECT_EQ(Stored(strings), B({2, 0, 1, "a", 2, "bc"}));

  CDWordArray point;  // how a point is kept in the registry
  for (DWORD v : {10u, 20u, 0u, 0u, 0u}) point.Add(v);
  EXPECT_EQ(Stored(point), B({5, 0, 10, 0, 0, 0, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

  CByteArray bytes;
  bytes.Add(0xAB);
  EXPECT_EQ(Stored(bytes), B({1, 0, 0xAB}));
  CWordArray words;
  words.Add(0x1234);
  EXPECT_EQ(Stored(words), B({1, 0, 0x34, 0x12}));

  CStringArray loaded;
  loaded.Add("replaced");
  Load(Stored(strings), [&](CArchive& ar) { loaded.Serialize(ar); });
  EXPECT_EQ(loaded.GetSize(), 2);
  EXPECT_EQ(loaded[1], "bc");

  CArray<COLORREF, COLORREF> colours;
  colours.Add(RGB(1, 2, 3));
  EXPECT_EQ(Stored(colours), B({1, 0, 1, 2, 3, 0}));
}

TEST(Arrays, LargeArraysRoundTrip) {
  CDWordArray big;
  for (DWORD i = 0; i < 70000; ++i) big.Add(i * 3);
  const Bytes bytes = Stored(big);
  EXPECT_EQ(bytes.size(), 6u + 4 * 70000);
  CDWordArray back;
  Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
  EXPECT_EQ(Items(back), Items(big));
}

TEST(Arrays, ObjectArraysUseObjectRecords) {
  CShape shape(3);
  CObArray objects;
  objects.Add(&shape);
  objects.Add(&shape);
  objects.Add(nullptr);
  const Bytes bytes = Stored(objects);
  EXPECT_EQ(bytes, B({3, 0, 0xFF, 0xFF, 1, 0, 6, 0, "CShape", 3, 0, 0, 0, 2, 0, 0, 0}));
  CObArray back;
  Load(bytes, [&](CArchive& ar) { back.Serialize(ar); });
  ASSERT_EQ(back.GetSize(), 3);
  std::unique_ptr<CObject> owned(back[0]);
  EXPECT_EQ(back[1], back[0]);
  EXPECT_EQ(back[2], nullptr);
  EXPECT_EQ(static_cast<CShape*>(back[0])->m_size, 3);
}

TEST(Arrays, PointerCollectionsHaveNoArchiveForm) {
  CPtrArray pointers;
  pointers.Add(&pointers);
  bool refused = false;
  try {
    Stored(pointers);
  } catch (CNotSupportedException* e) {
    refused = true;
    e->Delete();
  }
  EXPECT_TRUE(refused);
}

// Lists

TEST(Lists, PositionsWalkBothWays) {
  CStringList list;
  list.AddTail("b");
  list.AddHead("a");
  const POSITION c = list.AddTail("c");
  list.InsertBefore(c, "b2");
  list.InsertAfter(c, "d");
  list.InsertBefore(nullptr, "start");
  list.InsertAfter(nullptr, "end");
  EXPECT_EQ(Items(list), (std::vector<std::string>{"start", "a", "b", "b2", "c", "d", "end"}));
  EXPECT_EQ(list.GetCount(), 7);
  EXPECT_EQ(list.GetHead(), "start");
  EXPECT_EQ(list.GetTail(), "end");

  std::vector<std::string> backwards;
  for (POSITION pos = list.GetTailPosition(); pos != nullptr;) backwards.push_back(list.GetPrev(pos).Str());
  EXPECT_EQ(backwards.front(), "end");
  EXPECT_EQ(backwards.back(), "start");

  EXPECT_EQ(list.GetAt(list.FindIndex(2)), "b");
  EXPECT_EQ(list.FindIndex(7), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);
  list.SetAt(list.Find("b2"), "B");
  EXPECT_EQ(list.Find("b2"), nullptr);
  list.RemoveAt(list.Find("B"));
  EXPECT_EQ(list.RemoveHead(), "start");
  EXPECT_EQ(list.RemoveTail(), "end");
  EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(Lists, FindStartsAfterTheGivenPosition) {
  CList<int, int> list;
  for (int v : {1, 2, 1, 3, 1}) list.AddTail(v);
  std::vector<INT_PTR> hits;
  for (POSITION pos = list.Find(1); pos != nullptr; pos = list.Find(1, pos)) {
    INT_PTR index = 0;
    for (POSITION walk = list.GetHeadPosition(); walk != pos; list.GetNext(walk)) ++index;
    hits.push_back(index);
  }
  EXPECT_EQ(hits, (std::vector<INT_PTR>{0, 2, 4}));
  EXPECT_EQ(list.Find(9), nullptr);
}

TEST(Lists, CopiesOfOtherLists) {
  CStringList a, b;
  a.AddTail("1");
  a.AddTail("2");
  b.AddTail("x");
  b.AddTail(&a);
  b.AddHead(&a);
  EXPECT_EQ(Items(b), (std::vector<std::string>{"1", "2", "x", "1", "2"}));
  a.AddTail(&a);  // a list added to itself doubles once
  EXPECT_EQ(Items(a), (std::vector<std::string>{"1", "2", "1", "2"}));
}

TEST(Lists, EmptyListsRefuseHeadAndTail) {
  CPtrList list;
  EXPECT_TRUE(ThrowsInvalidArg([&] { list.GetHead(); }));
  EXPECT_TRUE(ThrowsInvalidArg([&] { list.RemoveTail(); }));
  POSITION none = nullptr;
  EXPECT_TRUE(ThrowsInvalidArg([&] { list.GetNext(none); }));
  EXPECT_TRUE(list.IsEmpty());
}

TEST(Lists, ArchiveForms) {
  CStringList strings;
  strings.AddTail("one");
  strings.AddTail("");
  EXPECT_EQ(Stored(strings), B({2, 0, 3, "one", 0}));
  CStringList back;
  back.AddTail("kept");  // loading appends
  Load(Stored(strings), [&](CArchive& ar) { back.Serialize(ar); });
  EXPECT_EQ(Items(back), (std::vector<std::string>{"kept", "one", ""}));

  CShape first(1);
  CCircle second;
  CObList objects;
  objects.AddTail(&first);
  objects.AddTail(&second);
  objects.AddTail(&first);
  const Bytes bytes = Stored(objects);
  EXPECT_EQ(bytes, B({3,    0, 0xFF, 0xFF, 1, 0,         6, 0, "CShape", 1, 0, 0, 0, 0xFF,
                      0xFF, 2, 0,    7,    0, "CCircle", 0, 0, 0,        0, 0, 2, 0}));
  CObList loaded;
  Load(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
  ASSERT_EQ(loaded.GetCount(), 3);
  std::unique_ptr<CObject> a(loaded.RemoveHead()), b(loaded.RemoveHead());
  EXPECT_EQ(loaded.GetHead(), a.get());
  EXPECT_TRUE(b->IsKindOf(RUNTIME_CLASS(CCircle)));
}

// Maps

TEST(Maps, LookupSetAndRemove) {
  CMapStringToString map;
  EXPECT_TRUE(map.IsEmpty());
  map.SetAt("one", "1");
  map["two"] = "2";
  map.SetAt("one", "uno");
  CString value;
  EXPECT_TRUE(map.Lookup("one", value));
  EXPECT_EQ(value, "uno");
  EXPECT_FALSE(map.Lookup("three", value));
  EXPECT_EQ(value, "uno");
  EXPECT_EQ(map.GetCount(), 2);
  EXPECT_EQ(map["new"], "");  // operator[] adds
  EXPECT_EQ(map.GetCount(), 3);
  EXPECT_TRUE(map.RemoveKey("two"));
  EXPECT_FALSE(map.RemoveKey("two"));
  map.RemoveAll();
  EXPECT_EQ(map.GetCount(), 0);
  EXPECT_EQ(map.GetStartPosition(), nullptr);
}

TEST(Maps, WalkVisitsEveryEntryOnce) {
  CMap<UINT, UINT, int, int> map;
  for (UINT i = 0; i < 500; ++i) map[i * 7] = static_cast<int>(i);
  map.RemoveKey(70);
  std::map<UINT, int> seen;
  POSITION pos = map.GetStartPosition();
  while (pos != nullptr) {
    UINT key;
    int value;
    map.GetNextAssoc(pos, key, value);
    EXPECT_TRUE(seen.emplace(key, value).second) << key;
  }
  EXPECT_EQ(seen.size(), 499u);
  EXPECT_EQ(seen.count(70), 0u);
  EXPECT_EQ(seen[7 * 499], 499);

  map.InitHashTable(101);  // re-bucketing keeps every entry
  EXPECT_EQ(map.GetHashTableSize(), 101u);
  int v = 0;
  EXPECT_TRUE(map.Lookup(7 * 250, v));
  EXPECT_EQ(v, 250);
  EXPECT_EQ(map.GetCount(), 499);
}

TEST(Maps, ArchiveOrderIsBucketOrderNewestFirst) {
  // Numbers hash to (key >> 4) % 17: 0x10 goes to bucket 1, 0x20 and 0x130 to bucket 2.
  CMap<UINT, UINT, UINT, UINT> counts;
  counts[0x20] = 2;
  counts[0x10] = 1;
  counts[0x130] = 3;
  EXPECT_EQ(Stored(counts),
            B({3, 0, 0x10, 0, 0, 0, 1, 0, 0, 0, 0x30, 1, 0, 0, 3, 0, 0, 0, 0x20, 0, 0, 0, 2, 0, 0, 0}));
  CMap<UINT, UINT, UINT, UINT> back;
  Load(Stored(counts), [&](CArchive& ar) { back.Serialize(ar); });
  UINT v = 0;
  EXPECT_TRUE(back.Lookup(0x130, v));
  EXPECT_EQ(v, 3u);
  EXPECT_EQ(back.GetCount(), 3);
}

TEST(Maps, NamedMaps) {
  CMapStringToPtr byName;
  int target = 0;
  byName.SetAt("t", &target);
  void* p = nullptr;
  EXPECT_TRUE(byName.Lookup(CString("t"), p));
  EXPECT_EQ(p, &target);

  CMapPtrToWord ids;
  ids[&target] = 7;
  WORD id = 0;
  EXPECT_TRUE(ids.Lookup(&target, id));
  EXPECT_EQ(id, 7);
  CMapWordToPtr back;
  back[7] = &target;
  CMapPtrToPtr pointers;
  pointers[&target] = &byName;
  EXPECT_EQ(back[7], &target);
  EXPECT_EQ(pointers[&target], &byName);

  CMapStringToString strings;
  strings["k"] = "v";
  EXPECT_EQ(Stored(strings), B({1, 0, 1, "k", 1, "v"}));

  CShape shape(4);
  CMapStringToOb objects;
  objects["s"] = &shape;
  objects["n"] = nullptr;
  const Bytes bytes = Stored(objects);
  CMapStringToOb loaded;
  Load(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
  CObject* object = nullptr;
  ASSERT_TRUE(loaded.Lookup("s", object));
  std::unique_ptr<CObject> owned(object);
  EXPECT_EQ(static_cast<CShape*>(object)->m_size, 4);
  EXPECT_TRUE(loaded.Lookup("n", object));
  EXPECT_EQ(object, nullptr);
}

}  // namespace
