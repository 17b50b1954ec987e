#include <gtest/gtest.h>

#include "platform/com/Com.h"

namespace {

DEFINE_GUID(kSample, 0x20D04FE0, 0x3AEA, 0x1069, 0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D);

TEST(Guid, TextRoundTrip) {
  OLECHAR text[39];
  ASSERT_EQ(StringFromGUID2(kSample, text, 39), 39);
  EXPECT_STREQ(text, L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
  EXPECT_EQ(StringFromGUID2(kSample, text, 38), 0) << "no room for the NUL";

  CLSID parsed{};
  ASSERT_EQ(CLSIDFromString(L"{20d04fe0-3aea-1069-a2d8-08002b30309d}", &parsed), S_OK) << "any case";
  EXPECT_TRUE(IsEqualCLSID(parsed, kSample));

  LPOLESTR allocated = nullptr;
  ASSERT_EQ(StringFromCLSID(kSample, &allocated), S_OK);
  EXPECT_STREQ(allocated, text);
  CoTaskMemFree(allocated);
}

TEST(Guid, MalformedTextIsRefused) {
  const wchar_t* const bad[] = {
      L"20D04FE0-3AEA-1069-A2D8-08002B30309D",    // no braces
      L"{20D04FE0-3AEA-1069-A2D8-08002B30309}",   // a digit short
      L"{20D04FE0-3AEA-1069-A2D808002B30309DD}",  // a dash moved
      L"{20D04FE0-3AEA-1069-A2D8-08002B30309G}",  // no hex digit
      L"ShockProgram.Control",                    // a class name: not known here
      L"",
  };
  for (const wchar_t* text : bad) {
    CLSID clsid = kSample;
    EXPECT_EQ(CLSIDFromString(text, &clsid), CO_E_CLASSSTRING) << text;
    EXPECT_TRUE(IsEqualCLSID(clsid, kSample)) << "left alone";
    IID iid{};
    EXPECT_EQ(IIDFromString(text, &iid), E_INVALIDARG) << text;
  }
}

}  // namespace
