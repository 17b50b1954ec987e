// A property's value as text and back, per value type; value lists; options; the tree rules.
#include "toolkit/core/PlxProp.h"

#include <gtest/gtest.h>

#include <memory>

#include "toolkit/core/PlxPropList.h"

namespace {

VARIANT Var(VARTYPE vt, long long n = 0, double d = 0.0, const char* text = nullptr) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  switch (vt) {
    case VT_I2:
      v.iVal = static_cast<SHORT>(n);
      break;
    case VT_UI2:
      v.uiVal = static_cast<USHORT>(n);
      break;
    case VT_I4:
      v.lVal = static_cast<LONG>(n);
      break;
    case VT_INT:
      v.intVal = static_cast<INT>(n);
      break;
    case VT_UI4:
      v.ulVal = static_cast<ULONG>(n);
      break;
    case VT_UINT:
      v.uintVal = static_cast<UINT>(n);
      break;
    case VT_UI1:
      v.bVal = static_cast<BYTE>(n);
      break;
    case VT_BOOL:
      v.boolVal = n ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VT_R4:
      v.fltVal = static_cast<FLOAT>(d);
      break;
    case VT_R8:
      v.dblVal = d;
      break;
    case VT_DATE:
      v.date = d;
      break;
    case VT_BSTR:
      v.bstrVal = pictavo::com::AllocBstr(text ? text : "");
      break;
    default:
      break;
  }
  return v;
}

std::unique_ptr<CPlxProp> Prop(VARIANT v) {
  auto prop = std::make_unique<CPlxProp>("name", v);
  VariantClear(&v);
  return prop;
}

}  // namespace

TEST(PlxPropValue, FormatsEachType) {
  struct Case {
    VARIANT v;
    const char* text;
  };
  const Case cases[] = {
      {Var(VT_I2, -12), "-12"},
      {Var(VT_I4, 70000), "70000"},
      {Var(VT_INT, -5), "-5"},
      {Var(VT_UI2, 65535), "65535"},
      {Var(VT_UI4, 4000000000), "4000000000"},
      {Var(VT_UINT, 7), "7"},
      {Var(VT_R4, 0, 1.5), "1.500000"},
      {Var(VT_R8, 0, 2.25), "2.250000"},
      {Var(VT_UI1, 'x'), "x"},
      {Var(VT_UI1, 0), ""},
      {Var(VT_BOOL, 1), "True"},
      {Var(VT_BOOL, 0), "False"},
      {Var(VT_BSTR, 0, 0, "libx264"), "libx264"},
      {Var(VT_DATE, 0, 1.0), "*** error ***"},
  };
  for (const Case& c : cases) EXPECT_STREQ(Prop(c.v)->FormatValue(), c.text) << c.text;
}

TEST(PlxPropValue, ParsesEachTypeAndRefusesNumbersItsTypeCannotHold) {
  struct Case {
    VARIANT v;
    const char* typed;
    BOOL ok;
    const char* shown;  // the value afterwards
  };
  const Case cases[] = {
      {Var(VT_I2, 1), "-300", TRUE, "-300"},
      {Var(VT_I2, 1), "70000", FALSE, "1"},  // would wrap to 4464
      {Var(VT_UI2, 1), "-1", FALSE, "1"},
      {Var(VT_I4, 1), "12ab", TRUE, "12"},  // the digits before the letters
      {Var(VT_I4, 1), "abc", TRUE, "0"},
      {Var(VT_I4, 1), "3000000000", FALSE, "1"},
      {Var(VT_UI4, 1), "4000000000", TRUE, "4000000000"},
      {Var(VT_UI4, 1), "-2", FALSE, "1"},
      {Var(VT_INT, 1), "42", TRUE, "42"},
      {Var(VT_R4, 0, 1.0), "  ", TRUE, "0.000000"},
      {Var(VT_R8, 0, 1.0), " 2.5 ", TRUE, "2.500000"},
      {Var(VT_UI1, 'a'), "", TRUE, ""},
      {Var(VT_UI1, 'a'), "zq", TRUE, "z"},
      {Var(VT_BOOL, 0), "True  ", TRUE, "True"},
      {Var(VT_BOOL, 1), "true", TRUE, "False"},
      {Var(VT_BSTR, 0, 0, "a"), "2400", TRUE, "2400"},
      {Var(VT_DATE, 0, 1.0), "1", FALSE, "*** error ***"},
  };
  for (const Case& c : cases) {
    auto prop = Prop(c.v);
    EXPECT_EQ(prop->ParseValue(c.typed), c.ok) << c.typed;
    EXPECT_STREQ(prop->FormatValue(), c.shown) << c.typed;
  }
}

TEST(PlxPropValue, AnIntKeepsItsTypeSoItCanBeResetAndCompared) {
  auto prop = Prop(Var(VT_INT, 5));
  ASSERT_TRUE(prop->ParseValue("9"));
  EXPECT_EQ(prop->GetValue().vt, VT_INT);
  EXPECT_TRUE(prop->IsValueModified());
  prop->ResetToInitial();
  EXPECT_STREQ(prop->FormatValue(), "5");
  EXPECT_FALSE(prop->IsValueModified());
}

TEST(PlxPropValue, SetValueKeepsTheTypeExceptOnAGroup) {
  auto prop = Prop(Var(VT_I4, 5));
  VARIANT text = Var(VT_BSTR, 0, 0, "x");
  prop->SetValue(text);
  EXPECT_STREQ(prop->FormatValue(), "5");
  CPlxProp group("g");
  group.SetValue(text);
  EXPECT_EQ(group.GetValue().vt, VT_BSTR);
  VariantClear(&text);
}

TEST(PlxPropValue, AValueListJoinsAndSplitsItsChildren) {
  CPlxProp list("size", 0, TRUE);
  for (int i = 1; i <= 3; ++i) ASSERT_TRUE(list.AddSubItem(Prop(Var(VT_I4, i)).release()));
  EXPECT_STREQ(list.FormatValue(), "1, 2, 3");
  EXPECT_FALSE(list.IsExpanded());
}

TEST(PlxPropTree, RefusesAChildThatIsAlreadyInATree) {
  CPlxProp root("root");
  auto* group = new CPlxProp("group");
  ASSERT_TRUE(root.AddSubItem(group));
  auto* leaf = Prop(Var(VT_I4, 1)).release();
  ASSERT_TRUE(group->AddSubItem(leaf));
  EXPECT_FALSE(root.AddSubItem(leaf)) << "a child of another group";
  EXPECT_FALSE(root.AddSubItem(&root)) << "itself";
  EXPECT_FALSE(group->AddSubItem(&root)) << "an ancestor";
  EXPECT_FALSE(leaf->AddSubItem(Prop(Var(VT_I4, 2)).get())) << "a value property takes no children";
  EXPECT_EQ(root.GetSubItemsCount(), 1);
  EXPECT_EQ(group->GetSubItemsCount(), 1);
  EXPECT_EQ(group->GetDepth(), 1);
  EXPECT_EQ(leaf->GetDepth(), 2);
  EXPECT_TRUE(root.Contains(leaf));
  EXPECT_EQ(root.CountVisibleChildren(), 2);
}

TEST(PlxPropTree, AListRefusesAPropertyItAlreadyHoldsOrAGroupsChild) {
  CPlxPropList list;
  auto* group = new CPlxProp("group");
  auto* leaf = Prop(Var(VT_I4, 1)).release();
  group->AddSubItem(leaf);
  EXPECT_EQ(list.AddProperty(group), 0);
  EXPECT_EQ(list.AddProperty(group), -1);
  EXPECT_EQ(list.AddProperty(leaf), -1);
  EXPECT_EQ(leaf->GetOwnerList(), &list);
  list.RemoveAll();
  EXPECT_EQ(list.GetPropertyCount(), 0);
}

TEST(PlxPropOptions, UniqueOptionsGiveADropDown) {
  auto prop = Prop(Var(VT_BSTR, 0, 0, "25"));
  EXPECT_FALSE(prop->HasDropButton());
  EXPECT_TRUE(prop->AddOption("24"));
  EXPECT_TRUE(prop->AddOption("25"));
  EXPECT_FALSE(prop->AddOption("25"));
  EXPECT_TRUE(prop->AddOption("25", FALSE));
  EXPECT_EQ(prop->GetOptionCount(), 3);
  EXPECT_EQ(prop->GetFlags(), CPlxProp::kOptionList);
  EXPECT_TRUE(prop->HasDropButton());
  EXPECT_TRUE(Prop(Var(VT_BOOL, 1))->HasDropButton()) << "a Boolean picks from True and False";
  EXPECT_FALSE(Prop(Var(VT_BOOL, 1))->m_bAllowEdit);
}
