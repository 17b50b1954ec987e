#include <gtest/gtest.h>

#include <memory>

#include "platform/base/Archive.h"
#include "platform/base/Array.h"
#include "platform/base/Object.h"

namespace {

class CAnimal : public CObject {
  DECLARE_DYNAMIC(CAnimal)
};
class CDog : public CAnimal {
  DECLARE_DYNCREATE(CDog)
};
class CPuppy : public CDog {
  DECLARE_SERIAL(CPuppy)

 public:
  void Serialize(CArchive& ar) override {}
};

IMPLEMENT_DYNAMIC(CAnimal, CObject)
IMPLEMENT_DYNCREATE(CDog, CAnimal)
IMPLEMENT_SERIAL(CPuppy, CDog, VERSIONABLE_SCHEMA | 3)

TEST(RuntimeClass, RecordsDescribeTheClass) {
  const CRuntimeClass* puppy = RUNTIME_CLASS(CPuppy);
  EXPECT_STREQ(puppy->m_lpszClassName, "CPuppy");
  EXPECT_EQ(puppy->m_nObjectSize, static_cast<int>(sizeof(CPuppy)));
  EXPECT_EQ(puppy->m_wSchema, VERSIONABLE_SCHEMA | 3);
  EXPECT_EQ(puppy->m_pBaseClass, RUNTIME_CLASS(CDog));
  EXPECT_EQ(RUNTIME_CLASS(CDog)->m_wSchema, 0xFFFFu);
  EXPECT_EQ(RUNTIME_CLASS(CObject)->m_pBaseClass, nullptr);
}

TEST(RuntimeClass, KindsFollowTheBaseChain) {
  struct Case {
    const CRuntimeClass* object;
    const CRuntimeClass* asked;
    BOOL kind;
  };
  const Case kCases[] = {
      {RUNTIME_CLASS(CPuppy), RUNTIME_CLASS(CAnimal), TRUE},
      {RUNTIME_CLASS(CPuppy), RUNTIME_CLASS(CObject), TRUE},
      {RUNTIME_CLASS(CDog), RUNTIME_CLASS(CDog), TRUE},
      {RUNTIME_CLASS(CDog), RUNTIME_CLASS(CPuppy), FALSE},
      {RUNTIME_CLASS(CAnimal), RUNTIME_CLASS(CDog), FALSE},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(c.object->IsDerivedFrom(c.asked), c.kind)
        << c.object->m_lpszClassName << "/" << c.asked->m_lpszClassName;

  std::unique_ptr<CObject> dog(RUNTIME_CLASS(CDog)->CreateObject());
  ASSERT_NE(dog, nullptr);
  EXPECT_EQ(dog->GetRuntimeClass(), RUNTIME_CLASS(CDog));
  EXPECT_TRUE(dog->IsKindOf(RUNTIME_CLASS(CAnimal)));
  EXPECT_FALSE(dog->IsKindOf(RUNTIME_CLASS(CPuppy)));
  EXPECT_FALSE(dog->IsSerializable());
  EXPECT_EQ(RUNTIME_CLASS(CAnimal)->CreateObject(), nullptr);  // not creatable by class
}

TEST(RuntimeClass, FromNameFindsRegisteredClasses) {
  EXPECT_EQ(CRuntimeClass::FromName("CPuppy"), RUNTIME_CLASS(CPuppy));
  EXPECT_EQ(CRuntimeClass::FromName("CDog"), RUNTIME_CLASS(CDog));
  EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
  EXPECT_EQ(CRuntimeClass::FromName("CStringArray"), RUNTIME_CLASS(CStringArray));
  EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
  std::unique_ptr<CObject> puppy(CRuntimeClass::FromName("CPuppy")->CreateObject());
  EXPECT_TRUE(puppy->IsSerializable());
}

}  // namespace
