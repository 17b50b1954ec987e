// The site object the music preview and the trim dialog give their playback graphs. Our graphs
// build their playback themselves and ask their site nothing, so this object only lives by its
// reference count: a site that answers for itself.
#pragma once

#include <atomic>

#include "platform/media/FilterGraph.h"  // IUnknown

class CGraphBuilderCB : public IUnknown {
 public:
  // Starts with no reference: the creator adds the first. The argument is accepted and not used.
  explicit CGraphBuilderCB(int reserved);
  virtual ~CGraphBuilderCB() = default;
  CGraphBuilderCB(const CGraphBuilderCB&) = delete;
  CGraphBuilderCB& operator=(const CGraphBuilderCB&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  // Deletes the object when the last reference goes.
  ULONG STDMETHODCALLTYPE Release() override;

 private:
  std::atomic<ULONG> m_references{0};
};
