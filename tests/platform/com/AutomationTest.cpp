// BSTR lengths and VARIANT copying, clearing and conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/com/Com.h"
#include "platform/com/OleAuto.h"

namespace {

// A VARIANT that clears itself.
struct Var : VARIANT {
  Var() { VariantInit(this); }
  ~Var() { VariantClear(this); }
  Var(const Var&) = delete;
  Var& operator=(const Var&) = delete;
};

std::wstring Text(const VARIANT& v) {
  return std::wstring(v.bstrVal ? v.bstrVal : L"", SysStringLen(v.bstrVal));
}

TEST(Bstr, LengthsAndEmbeddedNuls) {
  BSTR plain = SysAllocString(L"Grüße");
  EXPECT_EQ(SysStringLen(plain), 5u);
  EXPECT_EQ(SysStringByteLen(plain), 5 * sizeof(OLECHAR));
  EXPECT_EQ(plain[5], L'\0') << "NUL-terminated";
  EXPECT_EQ(reinterpret_cast<const uint32_t*>(plain)[-1], 5 * sizeof(OLECHAR)) << "byte count ahead";

  BSTR withNul = SysAllocStringLen(L"a\0b", 3);
  EXPECT_EQ(SysStringLen(withNul), 3u);
  EXPECT_EQ(withNul[2], L'b');

  BSTR bytes = SysAllocStringByteLen("xyz", 3);
  EXPECT_EQ(SysStringByteLen(bytes), 3u);
  EXPECT_EQ(SysStringLen(bytes), 0u) << "fewer bytes than one character";
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes)), "xyz");

  BSTR zeroed = SysAllocStringLen(nullptr, 4);
  EXPECT_EQ(SysStringLen(zeroed), 4u);
  EXPECT_EQ(zeroed[0], L'\0');

  ASSERT_TRUE(SysReAllocString(&plain, L"longer text"));
  EXPECT_EQ(SysStringLen(plain), 11u);

  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u) << "null is the empty string";
  for (BSTR b : {plain, withNul, bytes, zeroed}) SysFreeString(b);
  SysFreeString(nullptr);

  BSTR utf8 = pictavo::com::AllocBstr("Grüße");
  EXPECT_EQ(SysStringLen(utf8), 5u);
  EXPECT_EQ(pictavo::com::BstrToUtf8(utf8), "Grüße");
  SysFreeString(utf8);
}

Var& Make(Var& v, VARTYPE type, double number) {
  v.vt = type;
  switch (type) {
    case VT_I2:
      v.iVal = static_cast<SHORT>(number);
      break;
    case VT_I4:
      v.lVal = static_cast<LONG>(number);
      break;
    case VT_UI4:
      v.ulVal = static_cast<ULONG>(number);
      break;
    case VT_UI1:
      v.bVal = static_cast<BYTE>(number);
      break;
    case VT_R4:
      v.fltVal = static_cast<float>(number);
      break;
    case VT_R8:
      v.dblVal = number;
      break;
    case VT_BOOL:
      v.boolVal = number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    default:
      break;
  }
  return v;
}

TEST(Variant, NumbersToText) {
  struct Case {
    VARTYPE from;
    double value;
    USHORT flags;
    const wchar_t* text;
  };
  const Case cases[] = {
      {VT_I4, -42, 0, L"-42"},
      {VT_I2, 32767, 0, L"32767"},
      {VT_UI4, 4000000000.0, 0, L"4000000000"},
      {VT_R8, 0.1, 0, L"0.1"},
      {VT_R8, 1.0 / 3, 0, L"0.333333333333333"},
      {VT_R8, 1e20, 0, L"1E+20"},
      {VT_R4, 0.1, 0, L"0.1"},
      {VT_BOOL, 1, 0, L"-1"},
      {VT_BOOL, 0, 0, L"0"},
      {VT_BOOL, 1, VARIANT_ALPHABOOL, L"True"},
      {VT_BOOL, 0, VARIANT_ALPHABOOL, L"False"},
      {VT_EMPTY, 0, 0, L""},
  };
  for (const Case& c : cases) {
    Var source, dest;
    Make(source, c.from, c.value);
    ASSERT_EQ(VariantChangeType(&dest, &source, c.flags, VT_BSTR), S_OK) << c.text;
    EXPECT_EQ(dest.vt, VT_BSTR);
    EXPECT_EQ(Text(dest), c.text);
  }
}

TEST(Variant, TextToNumbers) {
  struct Case {
    const wchar_t* text;
    VARTYPE to;
    HRESULT result;
    double value;  // read back as a double
  };
  const Case cases[] = {
      {L"  123 ", VT_I4, S_OK, 123},
      {L"-7", VT_I2, S_OK, -7},
      {L"+8", VT_UI4, S_OK, 8},
      {L"2.5", VT_I4, S_OK, 2},  // rounded half to even
      {L"3.5", VT_I4, S_OK, 4},
      {L"1e3", VT_R8, S_OK, 1000},
      {L"0.25", VT_R4, S_OK, 0.25},
      {L"40000", VT_I2, DISP_E_OVERFLOW, 0},
      {L"-1", VT_UI4, DISP_E_OVERFLOW, 0},
      {L"256", VT_UI1, DISP_E_OVERFLOW, 0},
      {L"99999999999999999999", VT_I4, DISP_E_OVERFLOW, 0},
      {L"12abc", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {L"", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {L"True", VT_BOOL, S_OK, -1},
      {L"false", VT_BOOL, S_OK, 0},
      {L"5", VT_BOOL, S_OK, -1},
      {L"maybe", VT_BOOL, DISP_E_TYPEMISMATCH, 0},
  };
  for (const Case& c : cases) {
    Var source, dest;
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(c.text);
    dest.vt = VT_I4;
    dest.lVal = 777;
    ASSERT_EQ(VariantChangeType(&dest, &source, 0, c.to), c.result) << c.text;
    if (FAILED(c.result)) {
      EXPECT_EQ(dest.vt, VT_I4) << c.text << ": left as it was";
      EXPECT_EQ(dest.lVal, 777) << c.text;
      continue;
    }
    EXPECT_EQ(dest.vt, c.to) << c.text;
    Var back;
    ASSERT_EQ(VariantChangeType(&back, &dest, 0, VT_R8), S_OK) << c.text;
    EXPECT_DOUBLE_EQ(back.dblVal, c.value) << c.text;
  }
}

TEST(Variant, NumberToNumberKeepsTheValueOrOverflows) {
  struct Case {
    VARTYPE from;
    double value;
    VARTYPE to;
    HRESULT result;
  };
  const Case cases[] = {
      {VT_I4, 70000, VT_I2, DISP_E_OVERFLOW},
      {VT_I4, -5, VT_I2, S_OK},
      {VT_R8, 1e10, VT_I4, DISP_E_OVERFLOW},
      {VT_R8, -0.5, VT_I4, S_OK},
      {VT_UI4, 4294967295.0, VT_I4, DISP_E_OVERFLOW},
      {VT_UI4, 7, VT_I2, S_OK},
      {VT_I4, -1, VT_UI1, DISP_E_OVERFLOW},
      {VT_BOOL, 1, VT_I4, S_OK},
      {VT_EMPTY, 0, VT_I4, S_OK},
      {VT_R8, 1e300, VT_R4, DISP_E_OVERFLOW},
  };
  for (const Case& c : cases) {
    Var source, dest;
    Make(source, c.from, c.value);
    EXPECT_EQ(VariantChangeType(&dest, &source, 0, c.to), c.result) << c.from << " -> " << c.to;
  }
  Var b;
  Make(b, VT_BOOL, 1);
  ASSERT_EQ(VariantChangeType(&b, &b, 0, VT_I4), S_OK) << "in place";
  EXPECT_EQ(b.lVal, -1);
}

TEST(Variant, NullAndUnknownTypesAreRefused) {
  Var null, dest;
  null.vt = VT_NULL;
  EXPECT_EQ(VariantChangeType(&dest, &null, 0, VT_I4), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(VariantChangeType(&dest, &null, 0, VT_EMPTY), S_OK);
  Var date;
  date.vt = VT_DATE;
  date.date = 40000;
  EXPECT_EQ(VariantChangeType(&dest, &date, 0, VT_BSTR), DISP_E_TYPEMISMATCH);
  Var odd;
  odd.vt = 0x0FFE;
  EXPECT_EQ(VariantClear(&odd), DISP_E_BADVARTYPE);
  odd.vt = VT_EMPTY;
  EXPECT_EQ(VariantChangeType(&dest, &date, 0, static_cast<VARTYPE>(0x0FFE)), DISP_E_BADVARTYPE);
}

// Counts its references; gone when the count reaches zero.
class Probe final : public pictavo::com::Object<IUnknown> {
 public:
  explicit Probe(bool& alive) : m_alive(alive) { m_alive = true; }
  ~Probe() override { m_alive = false; }

 private:
  bool& m_alive;
};

TEST(Variant, CopyDuplicatesStringsAndReferencesInterfaces) {
  bool alive = false;
  {
    Var text, copy;
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocStringLen(L"a\0b", 3);
    ASSERT_EQ(VariantCopy(&copy, &text), S_OK);
    EXPECT_NE(copy.bstrVal, text.bstrVal) << "a string of its own";
    EXPECT_EQ(Text(copy), std::wstring(L"a\0b", 3));

    Var object, objectCopy;
    object.vt = VT_UNKNOWN;
    object.punkVal = new Probe(alive);
    ASSERT_EQ(VariantCopy(&objectCopy, &object), S_OK);
    ASSERT_EQ(VariantCopy(&copy, &object), S_OK) << "the old string is freed on the way";
    EXPECT_EQ(copy.punkVal, object.punkVal);
    ASSERT_EQ(VariantClear(&object), S_OK);
    EXPECT_EQ(object.vt, VT_EMPTY);
    EXPECT_TRUE(alive) << "the copies still hold it";

    LONG number = 5;
    Var byRef, value;
    byRef.vt = VT_I4 | VT_BYREF;
    byRef.plVal = &number;
    ASSERT_EQ(VariantCopyInd(&value, &byRef), S_OK);
    EXPECT_EQ(value.vt, VT_I4);
    EXPECT_EQ(value.lVal, 5);
  }
  EXPECT_FALSE(alive) << "clearing the copies released it";
}

}  // namespace
