#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/GlobalMemory.h"

namespace {

TEST(GlobalMemory, FixedBlocksAreTheirAddress) {
  HGLOBAL block = GlobalAlloc(GPTR, 16);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalLock(block), block);
  EXPECT_EQ(GlobalSize(block), 16u);
  EXPECT_EQ(static_cast<unsigned char*>(block)[15], 0);  // zeroed
  EXPECT_EQ(GlobalHandle(block), block);
  // Growing a fixed block moves it only when allowed; the contents come along.
  std::memcpy(block, "fixed", 6);
  EXPECT_EQ(GlobalReAlloc(block, 4096, 0), nullptr);
  HGLOBAL grown = GlobalReAlloc(block, 4096, GMEM_MOVEABLE);
  ASSERT_NE(grown, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(grown)), "fixed");
  EXPECT_EQ(GlobalSize(grown), 4096u);
  EXPECT_EQ(GlobalFree(grown), nullptr);
}

TEST(GlobalMemory, MoveableBlocksCountTheirLocks) {
  HGLOBAL block = GlobalAlloc(GHND, 8);
  ASSERT_NE(block, nullptr);
  void* address = GlobalLock(block);
  ASSERT_NE(address, nullptr);
  EXPECT_NE(address, block);
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 1u);
  EXPECT_EQ(GlobalHandle(address), block);
  GlobalLock(block);
  EXPECT_TRUE(GlobalUnlock(block));  // still locked once
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  // A moveable block keeps its handle when it grows.
  EXPECT_EQ(GlobalReAlloc(block, 100, 0), block);
  EXPECT_EQ(GlobalSize(block), 100u);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, UnknownHandlesAreRefused) {
  int local = 0;
  HGLOBAL bogus = &local;
  EXPECT_EQ(GlobalLock(bogus), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GlobalSize(bogus), 0u);
  EXPECT_EQ(GlobalFree(bogus), bogus);
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, 1);
  GlobalFree(block);
  EXPECT_EQ(GlobalFree(block), block);  // not twice
}

}  // namespace
