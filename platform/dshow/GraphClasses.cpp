#include "platform/dshow/GraphClasses.h"

#include "platform/dshow/AudioRenderer.h"
#include "platform/dshow/AviMux.h"
#include "platform/dshow/ColourConverter.h"
#include "platform/dshow/FileWriter.h"
#include "platform/dshow/FilterGraph.h"
#include "platform/dshow/MediaFileSource.h"
#include "platform/dshow/MidiFileSource.h"
#include "platform/dshow/MidiRenderer.h"
#include "platform/dshow/NullRenderer.h"
#include "platform/dshow/SampleGrabberFilter.h"
#include "platform/dshow/SystemClock.h"
#include "platform/dshow/SystemDeviceEnum.h"
#include "platform/dshow/Uuids.h"
#include "platform/dshow/VideoRenderer.h"

// The identifiers of Uuids.h are defined in this file, and not inline in the header, so
// that a program naming one links this file and with it the registration at the end.
const CLSID CLSID_FilterGraph{
    0xE436EBB3, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
const CLSID CLSID_SystemClock{
    0xE436EBB1, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
const CLSID CLSID_SampleGrabber{
    0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const CLSID CLSID_NullRenderer{
    0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const CLSID CLSID_VideoRenderer{
    0x70E102B0, 0x5556, 0x11CE, {0x97, 0xC0, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
const CLSID CLSID_DSoundRender{
    0x79376820, 0x07D0, 0x11CF, {0xA2, 0x4D, 0x00, 0x20, 0xAF, 0xD7, 0x97, 0x67}};
const CLSID CLSID_AVIMIDIRender{
    0x07B65360, 0xC445, 0x11CE, {0xAF, 0xDE, 0x00, 0xAA, 0x00, 0x6C, 0x14, 0xF4}};
const CLSID CLSID_AviDest{
    0xE2510970, 0xF137, 0x11CE, {0x8B, 0x67, 0x00, 0xAA, 0x00, 0xA3, 0xF1, 0xA6}};
const CLSID CLSID_FileWriter{
    0x8596E5F0, 0x0DA5, 0x11D0, {0xBD, 0x21, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
const CLSID CLSID_SystemDeviceEnum{
    0x62BE5D10, 0x60EB, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
const CLSID CLSID_Colour{
    0x1643E180, 0x90F5, 0x11CE, {0x97, 0xD5, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
const CLSID CLSID_MediaFileSource{
    0x5C1D2E40, 0x7A3B, 0x4F61, {0x9E, 0x2A, 0x31, 0x8C, 0x6D, 0x04, 0xB7, 0x15}};
const CLSID CLSID_MidiFileSource{
    0x5C1D2E41, 0x7A3B, 0x4F61, {0x9E, 0x2A, 0x31, 0x8C, 0x6D, 0x04, 0xB7, 0x15}};

const ClassTableEntry kGraphClasses[] = {
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
    {&CLSID_Colour, &CreateComObject<CColourConverter>},
    {nullptr, nullptr},
};

namespace {

const bool registered = (CoRegisterClassTable(kGraphClasses), true);

}  // namespace
