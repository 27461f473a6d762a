#include "media/image/Image.h"

#include <gtest/gtest.h>

TEST(ImageLayout, RowsArePaddedToFourBytes)
{
    auto image = Image::Create(5, 2, 3);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->step(), 16);
    EXPECT_EQ(image->imageSize(), 32u);
    EXPECT_EQ(Image::StepFor(4, 3), 12);
    EXPECT_EQ(Image::StepFor(3, 1), 4);
}

TEST(ImageLayout, UnusableLayoutsGiveNull)
{
    EXPECT_FALSE(Image::Create(0, 4, 3));
    EXPECT_FALSE(Image::Create(4, 4, 4));
    EXPECT_FALSE(Image::CreateHeader(4, -1, 1));
}

TEST(ImageHeader, AttachesToAForeignBufferWithoutCopying)
{
    auto header = Image::CreateHeader(3, 2, 3, ImageOrigin::BottomLeft);
    ASSERT_TRUE(header);
    EXPECT_FALSE(header->hasData());
    std::uint8_t buffer[24] = {};
    buffer[12] = 7;  // first byte of stored row 1
    ASSERT_TRUE(header->Attach(buffer));
    EXPECT_EQ(header->pixel(0, 1)[0], 7);
    header->mat().at<cv::Vec3b>(0, 0)[2] = 9;
    EXPECT_EQ(buffer[2], 9);
    EXPECT_EQ(header->origin(), ImageOrigin::BottomLeft);
}

TEST(ImageHeader, AnOwningImageRefusesAForeignBuffer)
{
    auto image = Image::Create(2, 2, 1);
    std::uint8_t buffer[8] = {};
    EXPECT_FALSE(image->Attach(buffer));
}

TEST(ImageRoi, NarrowsTheViewAndClipsToThePicture)
{
    auto image = Image::Create(10, 8, 1);
    image->setRoi(cv::Rect(8, 6, 5, 5));
    EXPECT_EQ(image->roi(), cv::Rect(8, 6, 2, 2));
    image->mat().setTo(5);
    EXPECT_EQ(image->pixel(9, 7)[0], 5);
    EXPECT_EQ(image->pixel(7, 7)[0], 0);
    image->setRoi(cv::Rect(20, 20, 3, 3));
    EXPECT_FALSE(image->hasRoi());
    EXPECT_EQ(image->mat().size(), cv::Size(10, 8));
}

TEST(ImageClone, CopiesPixelsOriginAndRoi)
{
    auto image = Image::Create(3, 3, 3, ImageOrigin::BottomLeft);
    image->pixel(2, 2)[1] = 200;
    image->setRoi(cv::Rect(1, 1, 2, 2));
    auto copy = image->Clone();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->pixel(2, 2)[1], 200);
    EXPECT_EQ(copy->origin(), ImageOrigin::BottomLeft);
    EXPECT_EQ(copy->roi(), cv::Rect(1, 1, 2, 2));
    EXPECT_NE(copy->data(), image->data());
}
