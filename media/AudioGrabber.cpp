#include "media/AudioGrabber.h"

HRESULT CAudioGrabber::SampleCB(double, IMediaSample* sample)
{
    if (!sample)
        return S_OK;
    BYTE* buffer = nullptr;
    REFERENCE_TIME mediaStart = 0;
    REFERENCE_TIME mediaEnd = 0;
    REFERENCE_TIME streamStart = 0;
    REFERENCE_TIME streamEnd = 0;
    sample->GetPointer(&buffer);
    sample->GetMediaTime(&mediaStart, &mediaEnd);
    sample->GetTime(&streamStart, &streamEnd);
    return S_OK;
}

HRESULT CAudioGrabber::BufferCB(double, BYTE*, long)
{
    return S_OK;
}
