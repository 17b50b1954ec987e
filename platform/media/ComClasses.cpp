// The classes this layer gives CoCreateInstance.
#include "platform/com/Com.h"
#include "platform/media/FilterGraph.h"

const CLSID CLSID_FilterGraph{0xe436ebb3, 0x524f, 0x11ce, {0x9f, 0x53, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};

namespace {

const pictavo::com::ClassRegistration g_filterGraph(CLSID_FilterGraph, pictavo::media::CreateFilterGraph);

}  // namespace
