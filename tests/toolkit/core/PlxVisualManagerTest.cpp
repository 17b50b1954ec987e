#include "toolkit/core/PlxWinXPVisualManager.h"

#include <gtest/gtest.h>

namespace {

// Not a visual manager: SetDefaultManager must ignore it.
class CNotAManager : public CObject {
  DECLARE_DYNCREATE(CNotAManager)
};
IMPLEMENT_DYNCREATE(CNotAManager, CObject)

// Leaves no manager and the base class as the default after each test.
class PlxVisualManagerLife : public ::testing::Test {
 protected:
  void TearDown() override { CPlxVisualManager::SetDefaultManager(nullptr); }
};

}  // namespace

TEST_F(PlxVisualManagerLife, MadeOnFirstUseFromTheDefaultClass) {
  CPlxVisualManager::SetDefaultManager(nullptr);
  CPlxVisualManager* first = CPlxVisualManager::GetInstance();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetRuntimeClass(), RUNTIME_CLASS(CPlxVisualManager));
  EXPECT_TRUE(first->m_bAutoDestroy);
  EXPECT_EQ(CPlxVisualManager::GetInstance(), first);

  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CPlxWinXPVisualManager));
  CPlxVisualManager* xp = CPlxVisualManager::GetInstance();
  EXPECT_TRUE(xp->IsKindOf(RUNTIME_CLASS(CPlxWinXPVisualManager)));
  EXPECT_TRUE(xp->m_bAutoDestroy);

  // An unrelated class changes nothing.
  CPlxVisualManager::SetDefaultManager(RUNTIME_CLASS(CNotAManager));
  EXPECT_EQ(CPlxVisualManager::GetInstance(), xp);

  CPlxVisualManager::DestroyInstance(TRUE);
  CPlxVisualManager* again = CPlxVisualManager::GetInstance();
  EXPECT_TRUE(again->IsKindOf(RUNTIME_CLASS(CPlxWinXPVisualManager)));
}

TEST_F(PlxVisualManagerLife, OwnManagersTemporariesAndDestruction) {
  CPlxVisualManager::SetDefaultManager(nullptr);
  // A manager the program constructs itself becomes current and is not auto-destroyed.
  auto* own = new CPlxVisualManager;
  EXPECT_EQ(CPlxVisualManager::GetInstance(), own);
  EXPECT_FALSE(own->m_bAutoDestroy);
  CPlxVisualManager::DestroyInstance(TRUE);
  EXPECT_EQ(CPlxVisualManager::GetInstance(), own);

  {
    // A temporary one never becomes current and its end leaves the current one alone.
    CPlxVisualManager temporary(TRUE);
    EXPECT_EQ(CPlxVisualManager::GetInstance(), own);
  }
  EXPECT_EQ(CPlxVisualManager::GetInstance(), own);

  // Deleting a second, non-current manager must not clear the current pointer.
  delete new CPlxVisualManager;
  EXPECT_EQ(CPlxVisualManager::GetInstance(), own);

  CPlxVisualManager::DestroyInstance(FALSE);
  CPlxVisualManager* fresh = CPlxVisualManager::GetInstance();
  EXPECT_NE(fresh, nullptr);
  EXPECT_TRUE(fresh->m_bAutoDestroy);
}
