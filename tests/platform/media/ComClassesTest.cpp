// The playback graph is a registered class: the program makes it with CoCreateInstance.
#include <gtest/gtest.h>

#include "platform/com/Com.h"
#include "platform/media/FilterGraph.h"

namespace {

TEST(ComClasses, TheFilterGraphComesFromCoCreateInstance) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  IGraphBuilder* builder = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                             reinterpret_cast<void**>(&builder)),
            S_OK);
  IMediaControl* control = nullptr;
  EXPECT_EQ(builder->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control)), S_OK);
  if (control) control->Release();
  builder->Release();
  CoUninitialize();
}

}  // namespace
