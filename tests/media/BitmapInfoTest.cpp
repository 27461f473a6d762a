#include "media/BitmapInfo.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(InitBitmapInfoHeader, FillsSizePlanesAndDepthAndClearsEverythingElse)
{
    BITMAPINFO info;
    std::memset(&info, 0xAB, sizeof info);
    InitBitmapInfoHeader(&info, 320, -240, 24);
    EXPECT_EQ(info.bmiHeader.biSize, 40u);
    EXPECT_EQ(info.bmiHeader.biWidth, 320);
    EXPECT_EQ(info.bmiHeader.biHeight, -240);
    EXPECT_EQ(info.bmiHeader.biPlanes, 1);
    EXPECT_EQ(info.bmiHeader.biBitCount, 24);
    BITMAPINFO expected{};
    expected.bmiHeader = info.bmiHeader;
    expected.bmiHeader.biCompression = BI_RGB;
    EXPECT_EQ(std::memcmp(&info, &expected, sizeof info), 0);
    EXPECT_EQ(info.bmiHeader.biSizeImage, 0u);
    EXPECT_EQ(info.bmiHeader.biClrUsed, 0u);
    EXPECT_EQ(info.bmiColors[0].rgbRed, 0);
}
