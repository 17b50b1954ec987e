// The interfaces of the Flash player control as the theme page drives it: the control's own
// interface (movie, playback and the variables a movie reads) and the view interface the page
// draws the control's frames through. Declared here from what the page calls; no such control
// exists on this platform, so CDVDProject::GetFlashInterface answers REGDB_E_CLASSNOTREG and
// nothing implements these but tests.
#pragma once

#include "platform/com/OleAuto.h"
#include "platform/com/Unknown.h"

// The Flash player control's class.
DEFINE_GUID(CLSID_ShockwaveFlash, 0xD27CDB6E, 0xAE6D, 0x11CF, 0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00);
// The program's names for the two interfaces (nothing registers them but tests).
DEFINE_GUID(IID_IShockwaveFlash, 0x5C1B2A10, 0x6E3F, 0x4C8A, 0x9D, 0x21, 0x70, 0x49, 0x43, 0x54, 0x41, 0x01);
DEFINE_GUID(IID_IViewObjectEx, 0x5C1B2A11, 0x6E3F, 0x4C8A, 0x9D, 0x21, 0x70, 0x49, 0x43, 0x54, 0x41, 0x02);

struct IShockwaveFlash : IUnknown {
  STDMETHOD(put_WMode)(BSTR mode) PURE;
  STDMETHOD(put_ScaleMode)(int mode) PURE;
  STDMETHOD(put_Menu)(BOOL menu) PURE;
  STDMETHOD(put_Loop)(BOOL loop) PURE;
  STDMETHOD(LoadMovie)(int layer, BSTR url) PURE;
  STDMETHOD(SetVariable)(BSTR name, BSTR value) PURE;
  STDMETHOD(Play)() PURE;
  STDMETHOD(Stop)() PURE;
  // The packed version, 0x90000 for 9.0.
  STDMETHOD(FlashVersion)(long* version) PURE;

 protected:
  ~IShockwaveFlash() = default;
};

#define DVASPECT_CONTENT 1

struct IViewObjectEx : IUnknown {
  // Draws the control's current frame into `drawDC` over `bounds`.
  STDMETHOD(Draw)(DWORD aspect, LONG index, void* aspectInfo, void* targetDevice, HDC targetDC, HDC drawDC,
                  const RECT* bounds, const RECT* windowBounds, void* continueFn, ULONG_PTR continueArg) PURE;

 protected:
  ~IViewObjectEx() = default;
};

PICTAVO_COM_INTERFACE_ID(IShockwaveFlash, IID_IShockwaveFlash);
PICTAVO_COM_INTERFACE_ID(IViewObjectEx, IID_IViewObjectEx);
