// Thread initialisation counts, the class registry behind CoCreateInstance, and the IUnknown
// helpers our layers implement objects with.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/com/Com.h"

namespace {

using pictavo::com::ComPtr;

// Two test interfaces and an object implementing both, counting live instances.
inline constexpr IID IID_ICounter{
    0x6a1d2b10, 0x1111, 0x4c3e, {0x90, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07}};
inline constexpr IID IID_INamed{0x6a1d2b10, 0x2222, 0x4c3e, {0x90, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07}};
inline constexpr CLSID CLSID_TestThing{
    0x6a1d2b10, 0x3333, 0x4c3e, {0x90, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07}};

struct ICounter : IUnknown {
  virtual int Next() = 0;
};
struct INamed : IUnknown {
  virtual const char* Name() = 0;
};

}  // namespace

PICTAVO_COM_INTERFACE_ID(ICounter, IID_ICounter);
PICTAVO_COM_INTERFACE_ID(INamed, IID_INamed);

namespace {

int g_live = 0;

class Thing final : public pictavo::com::Object<ICounter, INamed> {
 public:
  Thing() { ++g_live; }
  ~Thing() override { --g_live; }
  int Next() override { return ++m_count; }
  const char* Name() override { return "thing"; }

 private:
  int m_count = 0;
};

TEST(ComInit, CountsPerThreadAndKeepsTheModel) {
  struct Step {
    const char* what;
    HRESULT (*call)();
    HRESULT expected;
  };
  const Step steps[] = {
      {"first CoInitialize", [] { return CoInitialize(nullptr); }, S_OK},
      {"repeat", [] { return CoInitialize(nullptr); }, S_FALSE},
      {"other model", [] { return CoInitializeEx(nullptr, COINIT_MULTITHREADED); }, RPC_E_CHANGED_MODE},
      {"OLE on top", [] { return OleInitialize(nullptr); }, S_OK},
      {"OLE again", [] { return OleInitialize(nullptr); }, S_FALSE},
      {"reserved argument", [] { return CoInitialize(reinterpret_cast<LPVOID>(1)); }, E_INVALIDARG},
  };
  std::thread([&] {
    for (const Step& step : steps) EXPECT_EQ(step.call(), step.expected) << step.what;
    // Two OLE and two COM initialisations counted (the refused ones not): undo them all.
    OleUninitialize();
    OleUninitialize();
    CoUninitialize();
    CoUninitialize();
    CoUninitialize();  // one too many: harmless
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK) << "the thread starts afresh";
    EXPECT_EQ(OleInitialize(nullptr), RPC_E_CHANGED_MODE) << "OLE needs the apartment model";
    CoUninitialize();
  }).join();
}

TEST(ComInit, EachThreadHasItsOwnCount) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  HRESULT other = E_FAIL;
  std::thread([&] {
    other = CoInitialize(nullptr);
    CoUninitialize();
  }).join();
  EXPECT_EQ(other, S_OK);
  CoUninitialize();
}

TEST(ClassRegistry, CreatesRegisteredClassesOnly) {
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  {
    pictavo::com::ClassRegistration registration(CLSID_TestThing, [](REFIID iid, void** out) {
      return pictavo::com::CreateInstance<Thing>(iid, out);
    });
    struct Case {
      const char* what;
      IUnknown* outer;
      DWORD context;
      IID iid;
      HRESULT expected;
    };
    IUnknown* someOuter = reinterpret_cast<IUnknown*>(8);
    const Case cases[] = {
        {"in-process", nullptr, CLSCTX_INPROC_SERVER, IID_ICounter, S_OK},
        {"any context", nullptr, CLSCTX_ALL, IID_INamed, S_OK},
        {"out of process only", nullptr, CLSCTX_LOCAL_SERVER, IID_ICounter, REGDB_E_CLASSNOTREG},
        {"aggregation", someOuter, CLSCTX_INPROC_SERVER, IID_ICounter, CLASS_E_NOAGGREGATION},
        {"interface it lacks", nullptr, CLSCTX_INPROC_SERVER, IID_IMalloc, E_NOINTERFACE},
    };
    for (const Case& c : cases) {
      void* out = nullptr;
      EXPECT_EQ(CoCreateInstance(CLSID_TestThing, c.outer, c.context, c.iid, &out), c.expected) << c.what;
      EXPECT_EQ(out != nullptr, SUCCEEDED(c.expected)) << c.what;
      if (out) static_cast<IUnknown*>(out)->Release();
      EXPECT_EQ(g_live, 0) << c.what << ": nothing left alive";
    }
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, nullptr),
              E_POINTER);
    EXPECT_TRUE(pictavo::com::IsClassRegistered(CLSID_TestThing));
  }
  EXPECT_FALSE(pictavo::com::IsClassRegistered(CLSID_TestThing));
}

TEST(ComObject, QueryInterfaceGivesOneIdentityAndCountsReferences) {
  {
    ComPtr<ICounter> counter;
    ASSERT_EQ(pictavo::com::CreateInstance<Thing>(IID_ICounter, counter.OutVoid()), S_OK);
    EXPECT_EQ(g_live, 1);
    ComPtr<INamed> named;
    ASSERT_EQ(counter.As(named), S_OK);
    EXPECT_STREQ(named->Name(), "thing");
    EXPECT_EQ(counter->Next(), 1);

    // Both interfaces answer the same IUnknown, the object's identity.
    ComPtr<IUnknown> fromCounter, fromNamed;
    ASSERT_EQ(counter.As(fromCounter), S_OK);
    ASSERT_EQ(named.As(fromNamed), S_OK);
    EXPECT_EQ(fromCounter.Get(), fromNamed.Get());

    ComPtr<IMalloc> none;
    EXPECT_EQ(counter.As(none), E_NOINTERFACE);
    EXPECT_FALSE(none);
    EXPECT_EQ(counter->QueryInterface(IID_ICounter, nullptr), E_POINTER);

    // Four references now (counter, named, two IUnknowns): AddRef/Release report the count.
    EXPECT_EQ(counter->AddRef(), 5u);
    EXPECT_EQ(counter->Release(), 4u);
  }
  EXPECT_EQ(g_live, 0) << "the last Release deletes the object";
}

}  // namespace
