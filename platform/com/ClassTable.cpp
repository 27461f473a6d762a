#include "platform/com/Com.h"

#include "platform/dshow/AviMux.h"
#include "platform/dshow/DefaultRenderers.h"
#include "platform/dshow/FileWriter.h"
#include "platform/dshow/FilterGraph.h"
#include "platform/dshow/MediaFileSource.h"
#include "platform/dshow/MidiFileSource.h"
#include "platform/dshow/MidiRenderer.h"
#include "platform/dshow/SampleGrabberFilter.h"
#include "platform/dshow/SystemClock.h"
#include "platform/dshow/SystemDeviceEnum.h"
#include "platform/dshow/Uuids.h"

// Listed here rather than registered by static initialisers, which a static link drops
// from objects that nothing else references.
const ClassTableEntry kPlatformClasses[] = {
    {&CLSID_FilterGraph, &CreateComObject<CFilterGraph>},
    {&CLSID_SystemClock, &CreateComObject<CSystemClock>},
    {&CLSID_SampleGrabber, &CreateComObject<CSampleGrabberFilter>},
    {&CLSID_NullRenderer, &CreateComObject<CNullRenderer>},
    {&CLSID_VideoRenderer, &CreateComObject<CVideoRenderer>},
    {&CLSID_DSoundRender, &CreateComObject<CAudioRenderer>},
    {&CLSID_MediaFileSource, &CreateComObject<CMediaFileSource>},
    {&CLSID_SystemDeviceEnum, &CreateComObject<CSystemDeviceEnum>},
    {&CLSID_AviDest, &CreateComObject<CAviMux>},
    {&CLSID_FileWriter, &CreateComObject<CFileWriter>},
    {&CLSID_MidiFileSource, &CreateComObject<CMidiFileSource>},
    {&CLSID_AVIMIDIRender, &CreateComObject<CMidiRenderer>},
    {nullptr, nullptr},
};
