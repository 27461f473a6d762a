#include "media/AudioGrabber.h"

#include "platform/dshow/Filter.h"
#include "support/FakeMediaSample.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

TEST(AudioGrabber, AnswersForItsOwnInterfacesOnly)
{
    CAudioGrabber grabber;
    void* object = nullptr;
    EXPECT_EQ(grabber.QueryInterface(IID_ISampleGrabberCB, &object), S_OK);
    EXPECT_EQ(object, static_cast<ISampleGrabberCB*>(&grabber));
    object = nullptr;
    EXPECT_EQ(grabber.QueryInterface(IID_IUnknown, &object), S_OK);
    EXPECT_EQ(object, static_cast<ISampleGrabberCB*>(&grabber));
    EXPECT_EQ(grabber.QueryInterface(IID_IBaseFilter, &object), E_NOINTERFACE);
    EXPECT_EQ(grabber.QueryInterface(IID_IUnknown, nullptr), S_OK);
}

TEST(AudioGrabber, ReferencesNeverBringItDown)
{
    CAudioGrabber grabber;
    EXPECT_EQ(grabber.AddRef(), 2u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(grabber.Release(), 1u);
    EXPECT_EQ(grabber.BufferCB(0.0, nullptr, 0), S_OK);
}

TEST(AudioGrabber, SamplesPassUnchanged)
{
    CAudioGrabber grabber;
    EXPECT_EQ(grabber.SampleCB(0.0, nullptr), S_OK);
    std::vector<std::uint8_t> pcm{1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<std::uint8_t> before = pcm;
    testmedia::FakeMediaSample sample(pcm, static_cast<long>(pcm.size()));
    EXPECT_EQ(grabber.SampleCB(0.25, &sample), S_OK);
    EXPECT_EQ(sample.reads, 3);
    EXPECT_EQ(pcm, before);
}
