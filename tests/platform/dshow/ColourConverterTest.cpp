#include "platform/dshow/Graph.h"
#include "platform/dshow/Uuids.h"
#include "tests/platform/dshow/Callback.h"
#include "tests/platform/dshow/CountingSource.h"
#include "tests/platform/dshow/TestGraph.h"
#include "tests/platform/dshow/TestMediaTypes.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testfilters;

namespace {

// An uncompressed video type of bitsPerPixel (8 or 32), rows top-down when height < 0.
CMediaType BitmapType(int width, int height, WORD bitsPerPixel)
{
    CMediaType type = Rgb24Type(width, height);
    auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.Format());
    info->bmiHeader.biBitCount = bitsPerPixel;
    info->bmiHeader.biSizeImage = GetBitmapSize(&info->bmiHeader);
    const GUID subtype = GetBitmapSubtype(&info->bmiHeader);
    type.SetSubtype(&subtype);
    type.SetSampleSize(info->bmiHeader.biSizeImage);
    return type;
}

class ColourConversion : public ::testing::TestWithParam<WORD> {};

}  // namespace

// The Sample Grabber and the Video Renderer take 24-bit RGB only: Connect reaches them
// through a converter that keeps the size, the row order and every sample with its time.
TEST_P(ColourConversion, EightAndThirtyTwoBitVideoArrivesThroughAConverter)
{
    TestGraph graph;
    graph.RemoveClock();
    IBaseFilter* source = new CountingSource(BitmapType(5, -3, GetParam()), 4, 1000);
    source->AddRef();
    graph.builder->AddFilter(source, u"Source");
    ISampleGrabber* grabber = Create<ISampleGrabber>(CLSID_SampleGrabber, IID_ISampleGrabber);
    IBaseFilter* grabberFilter = nullptr;
    grabber->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&grabberFilter));
    graph.builder->AddFilter(grabberFilter, u"Sample Grabber");
    const CMediaType wanted = Rgb24Type(5, -3);
    grabber->SetMediaType(&wanted);
    ASSERT_EQ(
        graph.builder->Connect(PinOf(source, PINDIR_OUTPUT), PinOf(grabberFilter, PINDIR_INPUT)),
        S_OK);
    ASSERT_EQ(graph.builder->Render(PinOf(grabberFilter, PINDIR_OUTPUT)), S_OK);

    IBaseFilter* converter = nullptr;
    ASSERT_EQ(graph.builder->FindFilterByName(u"Colour Space Converter", &converter), S_OK);
    CLSID clsid{};
    converter->GetClassID(&clsid);
    EXPECT_EQ(clsid, CLSID_Colour);
    converter->Release();
    AM_MEDIA_TYPE connected{};
    ASSERT_EQ(grabber->GetConnectedMediaType(&connected), S_OK);
    EXPECT_EQ(connected.subtype, MEDIASUBTYPE_RGB24);
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(connected.pbFormat);
    EXPECT_EQ(info->bmiHeader.biWidth, 5);
    EXPECT_EQ(info->bmiHeader.biHeight, -3);
    EXPECT_EQ(info->bmiHeader.biSizeImage, 16u * 3);
    FreeMediaType(connected);

    // Every byte of sample k is k: after conversion too, in all three channels.
    Callback callback;
    std::vector<int> seen;
    std::vector<double> times;
    callback.onSample = [&](double time, IMediaSample* sample) {
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        EXPECT_EQ(sample->GetActualDataLength(), 48);
        seen.push_back(data[0] == data[14] && data[0] == data[46] ? data[0] : -1);
        times.push_back(time);
    };
    grabber->SetCallback(&callback, 0);
    graph.control->Run();
    EXPECT_EQ(DrainEvents(graph.events, EC_COMPLETE, 1000), 1);
    graph.control->Stop();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(times, (std::vector<double>{0, 1e-4, 2e-4, 3e-4}));
    grabber->SetCallback(nullptr, 0);
    grabberFilter->Release();
    grabber->Release();
    source->Release();
}

INSTANTIATE_TEST_SUITE_P(BitDepths, ColourConversion, ::testing::Values(WORD{8}, WORD{32}));

TEST(ColourConverter, TakesNeitherTwentyFourBitNorOtherTypes)
{
    IBaseFilter* converter = Create<IBaseFilter>(CLSID_Colour, IID_IBaseFilter);
    ASSERT_NE(converter, nullptr);
    IPin* input = PinOf(converter, PINDIR_INPUT);
    const CMediaType rgb24 = Rgb24Type(4, 2);
    const CMediaType pcm = PcmType(8000, 1);
    EXPECT_EQ(input->QueryAccept(&rgb24), S_FALSE);
    EXPECT_EQ(input->QueryAccept(&pcm), S_FALSE);
    const CMediaType rgb32 = BitmapType(4, 2, 32);
    EXPECT_EQ(input->QueryAccept(&rgb32), S_OK);
    converter->Release();
}
