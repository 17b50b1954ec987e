// The component runtime as far as the program uses it: per-thread initialisation and object
// creation from a registry of our own classes.
//
// There are no apartments and no other processes here: every class is an in-process class of
// this program, its objects are free-threaded, and CoCreateInstance works on any thread.
// CoInitialize(Ex) and OleInitialize only keep the per-thread counts the program's pairing of
// calls relies on: the first call on a thread answers S_OK, repeats S_FALSE, and a repeat that
// asks for the other threading model RPC_E_CHANGED_MODE (without counting).
#pragma once

#include <functional>

#include "platform/base/WinTypes.h"
#include "platform/com/ComObject.h"
#include "platform/com/Guid.h"
#include "platform/com/HResult.h"
#include "platform/com/TaskMemory.h"
#include "platform/com/Unknown.h"

#define COINIT_MULTITHREADED 0x0u
#define COINIT_APARTMENTTHREADED 0x2u
#define COINIT_DISABLE_OLE1DDE 0x4u
#define COINIT_SPEED_OVER_MEMORY 0x8u

#define CLSCTX_INPROC_SERVER 0x1u
#define CLSCTX_INPROC_HANDLER 0x2u
#define CLSCTX_LOCAL_SERVER 0x4u
#define CLSCTX_REMOTE_SERVER 0x10u
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_SERVER (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

// `reserved` must be null (E_INVALIDARG otherwise). CoInitialize is the apartment model.
HRESULT CoInitialize(LPVOID reserved);
HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit);
// Undoes one successful CoInitialize(Ex) of this thread; nothing when there is none left.
void CoUninitialize();
// Initialises the thread for the apartment model and counts OLE's own initialisations: S_OK for
// the thread's first, S_FALSE for repeats, RPC_E_CHANGED_MODE on a multithreaded thread.
HRESULT OleInitialize(LPVOID reserved);
void OleUninitialize();

// An object of a registered class as the interface `iid`. REGDB_E_CLASSNOTREG for a class
// nobody registered, or when `context` has no in-process server bit; CLASS_E_NOAGGREGATION when
// an outer object is given (no class here aggregates); E_POINTER for a null `object`.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);

namespace pictavo::com {

// Makes a new object of a class as the interface `iid` (one reference), as
// IClassFactory::CreateInstance does.
using ClassFactory = std::function<HRESULT(REFIID iid, void** object)>;

// Registers (or replaces) the factory of `clsid`; an empty factory removes it. Safe from any
// thread; a layer may register its classes while static objects are constructed.
void RegisterClassFactory(REFCLSID clsid, ClassFactory factory);
bool IsClassRegistered(REFCLSID clsid);

// Registers a class for as long as this object lives (for tests and static registration).
class ClassRegistration {
 public:
  ClassRegistration(REFCLSID clsid, ClassFactory factory);
  ~ClassRegistration();
  ClassRegistration(const ClassRegistration&) = delete;
  ClassRegistration& operator=(const ClassRegistration&) = delete;

 private:
  CLSID m_clsid;
};

}  // namespace pictavo::com
