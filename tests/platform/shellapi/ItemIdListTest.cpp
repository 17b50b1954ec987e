// Item id lists as byte runs: sizes, walking, joining and cutting, comparing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/com/TaskMemory.h"
#include "platform/shellapi/ItemIdList.h"

namespace {

// A list of items with the given payloads (each item: 2-byte size, then the payload).
LPITEMIDLIST Make(std::initializer_list<std::string> payloads) {
  std::string bytes;
  for (const std::string& payload : payloads) {
    const USHORT cb = static_cast<USHORT>(payload.size() + 2);
    bytes.append(reinterpret_cast<const char*>(&cb), 2);
    bytes += payload;
  }
  bytes.append(2, '\0');
  auto* out = static_cast<char*>(CoTaskMemAlloc(bytes.size()));
  std::memcpy(out, bytes.data(), bytes.size());
  return reinterpret_cast<LPITEMIDLIST>(out);
}

TEST(ItemIdList, SizesWalkingAndCutting) {
  LPITEMIDLIST list = Make({"abc", "de", "f"});
  EXPECT_EQ(ILGetSize(list), 5u + 4u + 3u + 2u);
  LPITEMIDLIST second = ILGetNext(list);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->mkid.cb, 4u);
  LPITEMIDLIST last = ILFindLastID(list);
  EXPECT_EQ(last->mkid.cb, 3u);
  EXPECT_EQ(ILGetNext(last), nullptr);

  LPITEMIDLIST first = ILCloneFirst(list);
  EXPECT_EQ(ILGetSize(first), 5u + 2u);
  ASSERT_TRUE(ILRemoveLastID(list));
  EXPECT_EQ(ILGetSize(list), 5u + 4u + 2u);

  LPITEMIDLIST empty = Make({});
  EXPECT_TRUE(ILIsEmpty(empty));
  EXPECT_FALSE(ILRemoveLastID(empty));
  EXPECT_EQ(ILGetSize(empty), 2u);
  EXPECT_EQ(ILFindLastID(empty), empty);
  for (LPITEMIDLIST l : {list, first, empty}) ILFree(l);
}

TEST(ItemIdList, JoiningAndComparing) {
  LPITEMIDLIST parent = Make({"abc", "de"});
  LPITEMIDLIST child = Make({"f"});
  LPITEMIDLIST joined = ILCombine(parent, child);
  LPITEMIDLIST expected = Make({"abc", "de", "f"});
  EXPECT_TRUE(ILIsEqual(joined, expected));
  EXPECT_FALSE(ILIsEqual(joined, parent));
  EXPECT_TRUE(ILIsParent(parent, joined, TRUE));
  EXPECT_TRUE(ILIsParent(parent, joined, FALSE));
  LPITEMIDLIST grand = Make({"abc"});
  EXPECT_FALSE(ILIsParent(grand, joined, TRUE)) << "two items apart";
  EXPECT_TRUE(ILIsParent(grand, joined, FALSE));
  LPITEMIDLIST rest = ILFindChild(grand, joined);
  ASSERT_NE(rest, nullptr);
  EXPECT_EQ(ILGetSize(rest), 4u + 3u + 2u);
  LPITEMIDLIST notPrefix = Make({"ab"});
  EXPECT_EQ(ILFindChild(notPrefix, joined), nullptr) << "bytes must end on an item boundary";

  LPITEMIDLIST clone = ILClone(joined);
  EXPECT_TRUE(ILIsEqual(clone, joined));
  EXPECT_NE(clone, joined);
  LPITEMIDLIST prefixed = ILAppendID(ILClone(child), &grand->mkid, FALSE);
  LPITEMIDLIST expectedPrefixed = Make({"abc", "f"});
  EXPECT_TRUE(ILIsEqual(prefixed, expectedPrefixed));
  for (LPITEMIDLIST l :
       {parent, child, joined, expected, grand, notPrefix, clone, prefixed, expectedPrefixed})
    ILFree(l);
  ILFree(nullptr);
}

}  // namespace
