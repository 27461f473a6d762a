#pragma once

#include "editor/engine/PushPinBitmapSet.h"
#include "platform/dshow/Source.h"

// {CB83D662-33A5-4DBF-830C-25E52627C1C3}
inline constexpr CLSID CLSID_PushSource{
    0xCB83D662, 0x33A5, 0x4DBF, {0x83, 0x0C, 0x25, 0xE5, 0x26, 0x27, 0xC1, 0xC3}};

// The bitmap push source: a source filter with one output pin, CPushPinBitmapSet "Out",
// that plays numbered bitmap files as a video stream. The files-to-AVI converter creates
// it in its own process and adds it to its graph as "PushSource"; it is never registered
// as a class. Pin counting, lookup, state changes and IBaseFilter are CSource's.
class CPushSource : public CSource {
public:
    // A new filter with no reference yet (the graph's AddFilter takes the first), or null.
    // result, when given, receives S_OK or E_OUTOFMEMORY.
    static CPushSource* CreateInstance(LPUNKNOWN outer, HRESULT* result);

    CPushSource(LPUNKNOWN outer, HRESULT* result);
    ~CPushSource() override;

    // The output pin; null when it could not be made.
    CPushPinBitmapSet* Pin() const { return pin_; }

private:
    CPushPinBitmapSet* pin_ = nullptr;  // owned
};
