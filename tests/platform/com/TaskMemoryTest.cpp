#include <gtest/gtest.h>

#include <cstring>

#include "platform/com/Com.h"

namespace {

TEST(TaskMemory, AllocatorKnowsSizesAndKeepsDataOnRealloc) {
  IMalloc* malloc = nullptr;
  ASSERT_EQ(CoGetMalloc(MEMCTX_TASK, &malloc), S_OK);
  IMalloc* again = nullptr;
  ASSERT_EQ(CoGetMalloc(MEMCTX_TASK, &again), S_OK);
  EXPECT_EQ(malloc, again) << "one allocator per process";
  IMalloc* wrong = malloc;
  EXPECT_EQ(CoGetMalloc(0, &wrong), E_INVALIDARG);
  EXPECT_EQ(wrong, nullptr);

  char* block = static_cast<char*>(malloc->Alloc(5));
  ASSERT_NE(block, nullptr);
  std::memcpy(block, "abcde", 5);
  EXPECT_EQ(malloc->GetSize(block), 5u);
  block = static_cast<char*>(CoTaskMemRealloc(block, 5000));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::memcmp(block, "abcde", 5), 0);
  EXPECT_EQ(malloc->GetSize(block), 5000u);
  malloc->Free(block);  // blocks of either interface go back through the other

  void* empty = CoTaskMemAlloc(0);
  EXPECT_NE(empty, nullptr);
  EXPECT_EQ(malloc->GetSize(empty), 0u);
  EXPECT_EQ(CoTaskMemRealloc(empty, 0), nullptr) << "size 0 frees";
  EXPECT_EQ(malloc->GetSize(nullptr), static_cast<SIZE_T>(-1));
  CoTaskMemFree(nullptr);
  malloc->Release();
  again->Release();
}

}  // namespace
