#pragma once

#include "platform/com/Guid.h"

// Class identifiers of the filters and objects a graph is built from. They are defined in
// GraphClasses.cpp beside the table that creates their objects, which joins
// CoCreateInstance's lookup as the program starts: a static link keeps that file in every
// program that names one of them, and no class can be asked for without its identifier.

extern const CLSID CLSID_FilterGraph;
extern const CLSID CLSID_SystemClock;
extern const CLSID CLSID_SampleGrabber;
extern const CLSID CLSID_NullRenderer;
extern const CLSID CLSID_VideoRenderer;
extern const CLSID CLSID_DSoundRender;
extern const CLSID CLSID_AVIMIDIRender;
extern const CLSID CLSID_AviDest;
extern const CLSID CLSID_FileWriter;
extern const CLSID CLSID_SystemDeviceEnum;
// The colour space converter that Connect inserts between pins without a common type.
extern const CLSID CLSID_Colour;

// Our own source filters: every media file FFmpeg reads, and Standard MIDI Files.
extern const CLSID CLSID_MediaFileSource;
extern const CLSID CLSID_MidiFileSource;

// Device categories of the system device enumerator.
inline constexpr CLSID CLSID_VideoCompressorCategory{
    0x33D9A760, 0x90C8, 0x11D0, {0xBD, 0x43, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
inline constexpr CLSID CLSID_AudioCompressorCategory{
    0x33D9A761, 0x90C8, 0x11D0, {0xBD, 0x43, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
