#include "EditorHarness.h"

#include "editor/engine/PushSource.h"
#include "platform/dshow/FilterBase.h"
#include "support/Fifo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using testmedia::TestPicture;

// A push source held by the test (no graph) over a folder of numbered bitmaps.
class PushPin : public ::testing::Test {
protected:
    PushPin()
    {
        frames.Create("Video Frame", 5);
        source = CPushSource::CreateInstance(nullptr, &created);
        source->NonDelegatingAddRef();
    }
    ~PushPin() override
    {
        source->NonDelegatingRelease();
        frames.Close();
    }

    std::string Pattern() const { return folder.root() + "/frame%05d.bmp"; }
    void WriteNumbered(int number, const TestPicture& picture, bool grey = false)
    {
        char name[32];
        std::snprintf(name, sizeof name, "frame%05d.bmp", number);
        ASSERT_TRUE(editortest::WriteBitmap(folder.path(name), picture, grey));
    }
    CPushPinBitmapSet* pin() { return source->Pin(); }
    VIDEOINFOHEADER Info(const CMediaType& type)
    {
        return *reinterpret_cast<const VIDEOINFOHEADER*>(type.Format());
    }
    // Fills samples until the pin ends the run; their times in order.
    std::vector<std::pair<REFERENCE_TIME, REFERENCE_TIME>> FillAll(HRESULT* end)
    {
        std::vector<std::pair<REFERENCE_TIME, REFERENCE_TIME>> times;
        std::vector<BYTE> buffer(1 << 16);
        auto* sample = new CMediaSample(buffer.data(), static_cast<long>(buffer.size()));
        sample->NonDelegatingAddRef();
        for (int i = 0; i < 1000; ++i) {
            *end = pin()->FillBuffer(sample);
            if (*end != S_OK)
                break;
            REFERENCE_TIME start = 0;
            REFERENCE_TIME stop = 0;
            sample->GetTime(&start, &stop);
            EXPECT_EQ(sample->IsSyncPoint(), S_OK);
            times.emplace_back(start, stop);
        }
        sample->NonDelegatingRelease();
        return times;
    }

    testmedia::TempFolder folder;
    CBufferFrame frames;
    HRESULT created = E_FAIL;
    CPushSource* source = nullptr;
};

TEST_F(PushPin, IsTheOneOutputOfAFilterOfItsOwnClass)
{
    EXPECT_EQ(created, S_OK);
    ASSERT_EQ(source->GetPinCount(), 1);
    EXPECT_EQ(source->GetPin(0)->Name(), u"Out");
    CLSID clsid{};
    ASSERT_EQ(source->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_PushSource);
    EXPECT_EQ(pin()->Notify(nullptr, Quality{}), E_FAIL);
}

TEST_F(PushPin, OffersTopDownBitmapsOfTheFirstUsableFile)
{
    WriteNumbered(3, editortest::FlatPicture(33, 7, 0x336699));
    WriteNumbered(4, editortest::FlatPicture(8, 8, 0x336699), true);
    ASSERT_EQ(pin()->SetSource(&frames, Pattern().c_str(), 3.0f, 1, 9, 5), 3);

    CMediaType type;
    ASSERT_EQ(pin()->GetMediaType(0, &type), S_OK);
    EXPECT_EQ(type.majortype, MEDIATYPE_Video);
    EXPECT_EQ(type.subtype, MEDIASUBTYPE_RGB24);
    EXPECT_EQ(type.formattype, FORMAT_VideoInfo);
    ASSERT_EQ(type.FormatLength(), 88u);
    const VIDEOINFOHEADER info = Info(type);
    EXPECT_EQ(info.AvgTimePerFrame, 3333333);  // truncated
    EXPECT_EQ(info.bmiHeader.biWidth, 33);
    EXPECT_EQ(info.bmiHeader.biHeight, -7);
    EXPECT_EQ(info.bmiHeader.biBitCount, 24);
    EXPECT_EQ(info.bmiHeader.biSizeImage, 100u * 7);  // rows padded to 4 bytes
    EXPECT_EQ(type.GetSampleSize(), 700u);
    EXPECT_EQ(pin()->GetMediaType(1, &type), VFW_S_NO_MORE_ITEMS);

    // The same run from the grey bitmap on: one channel gives an 8-bit type.
    pin()->SetSource(&frames, Pattern().c_str(), 0.0f, 4, 9, 1);
    ASSERT_EQ(pin()->GetMediaType(0, &type), S_OK);
    EXPECT_EQ(type.subtype, MEDIASUBTYPE_RGB8);
    EXPECT_EQ(Info(type).bmiHeader.biBitCount, 8);
    EXPECT_EQ(Info(type).AvgTimePerFrame, 4294967296LL);  // no usable rate
}

TEST_F(PushPin, AnEmptyRangeHasNoFramesAndNoType)
{
    WriteNumbered(5, editortest::FlatPicture(8, 8, 0x102030));
    EXPECT_EQ(pin()->SetSource(&frames, Pattern().c_str(), 2.0f, 6, 5, 10), -1);
    EXPECT_FALSE(pin()->HasFrames());
    CMediaType type;
    EXPECT_EQ(pin()->GetMediaType(0, &type), E_FAIL);
}

TEST_F(PushPin, StepBridgesGapsAndTheRunEndsAsAStream)
{
    for (int n : {1, 2, 4})
        WriteNumbered(n, editortest::FlatPicture(8, 8, 0x102030 * n));
    HRESULT end = E_FAIL;
    pin()->SetSource(&frames, Pattern().c_str(), 2.0f, 1, 4, 1);
    EXPECT_EQ(FillAll(&end).size(), 2u);
    // The end of the run is the end of the stream, not an error.
    EXPECT_EQ(end, S_FALSE);

    pin()->SetSource(&frames, Pattern().c_str(), 2.0f, 1, 4, 2);
    const auto times = FillAll(&end);
    ASSERT_EQ(times.size(), 3u);
    EXPECT_EQ(pin()->GetFrameNumber(), 3);
    for (std::size_t k = 0; k < times.size(); ++k) {
        EXPECT_EQ(times[k].first, 5000000LL * static_cast<REFERENCE_TIME>(k));
        EXPECT_EQ(times[k].second, 5000000LL * static_cast<REFERENCE_TIME>(k + 1));
    }

    // A new source starts the count and the times at 0 again.
    pin()->SetSource(&frames, Pattern().c_str(), 2.0f, 2, 4, 2);
    EXPECT_EQ(pin()->GetFrameNumber(), 0);
    const auto again = FillAll(&end);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[0].first, 0);
}

TEST_F(PushPin, LastNumberAndFrameLimitEndTheRun)
{
    for (int n = 1; n <= 7; ++n)
        WriteNumbered(n, editortest::FlatPicture(8, 8, 0x010101 * n));
    HRESULT end = E_FAIL;
    pin()->SetSource(&frames, Pattern().c_str(), 2.0f, 1, 5, 1);
    EXPECT_EQ(FillAll(&end).size(), 5u);

    pin()->SetSource(&frames, Pattern().c_str(), 2.0f, 1, 7, 1);
    pin()->SetFrameLimit(3);
    EXPECT_EQ(FillAll(&end).size(), 3u);
    EXPECT_EQ(end, S_FALSE);
}

TEST_F(PushPin, SkipsFilesThatAreNoPictures)
{
    WriteNumbered(1, editortest::FlatPicture(8, 8, 0x102030));
    testmedia::WriteTextFile(folder.path("frame00002.bmp"), "not a bitmap");
    WriteNumbered(3, editortest::FlatPicture(8, 8, 0x302010));
    HRESULT end = E_FAIL;
    pin()->SetSource(&frames, Pattern().c_str(), 2.0f, 1, 3, 2);
    EXPECT_EQ(FillAll(&end).size(), 2u);
}

TEST_F(PushPin, AFolderOrAFifoOfABitmapsNameIsNoUsableBitmap)
{
    WriteNumbered(1, editortest::FlatPicture(8, 8, 0x102030));
    std::filesystem::create_directory(folder.path("frame00002.bmp"));
    const std::string fifo = folder.path("frame00003.bmp");
    ASSERT_TRUE(testmedia::MakeFifo(fifo));
    WriteNumbered(4, editortest::FlatPicture(8, 8, 0x302010));
    EXPECT_TRUE(testmedia::FinishesWithoutWaitingOn(fifo, [&] {
        // Each alone: no frames.
        EXPECT_EQ(pin()->SetSource(&frames, Pattern().c_str(), 2.0f, 3, 4, 1), -1);
        EXPECT_FALSE(pin()->HasFrames());
        // Within a run: bridged by the step like a missing number.
        HRESULT end = E_FAIL;
        pin()->SetSource(&frames, Pattern().c_str(), 2.0f, 1, 4, 3);
        EXPECT_EQ(FillAll(&end).size(), 2u);
    }));
}

TEST_F(PushPin, ALaterBitmapOfAnotherSizeIsScaledToTheStream)
{
    WriteNumbered(1, editortest::FlatPicture(8, 6, 0x204060));
    WriteNumbered(2, editortest::FlatPicture(20, 3, 0x604020), true);
    pin()->SetSource(&frames, Pattern().c_str(), 2.0f, 1, 2, 1);
    CMediaType type;
    ASSERT_EQ(pin()->GetMediaType(0, &type), S_OK);
    EXPECT_EQ(pin()->SetMediaType(&type), S_OK);

    const std::size_t frameBytes = 24 * 6;  // 8 pixels of 3 bytes, 6 rows
    std::vector<BYTE> buffer(frameBytes + 64, 0xEE);
    auto* sample = new CMediaSample(buffer.data(), static_cast<long>(buffer.size()));
    sample->NonDelegatingAddRef();
    ASSERT_EQ(pin()->FillBuffer(sample), S_OK);
    ASSERT_EQ(pin()->FillBuffer(sample), S_OK);
    EXPECT_EQ(sample->GetActualDataLength(), static_cast<long>(frameBytes));
    sample->NonDelegatingRelease();
    // The grey picture, stretched to 8 x 6 and given three channels: one level all over.
    const BYTE level = buffer[0];
    for (std::size_t i = 0; i < frameBytes; ++i)
        ASSERT_EQ(buffer[i], level) << i;
    EXPECT_EQ(buffer[frameBytes], 0xEE);
}

}  // namespace
