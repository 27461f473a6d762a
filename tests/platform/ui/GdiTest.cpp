#include "platform/ui/Gdi.h"
#include "platform/ui/Resources.h"
#include "platform/ui/qt/GdiObjects.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Two rows of two pixels, each row padded to 8 bytes: the first stored row red, the
// second blue.
std::vector<unsigned char> TwoRows()
{
    return {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0};
}

BITMAPINFO Header(int height)
{
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{40, 2, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    return info;
}

}  // namespace

TEST(Bitmaps, RowsLandBottomUpOrTopDownByTheHeightsSign)
{
    HDC context = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(context, 2, 2);
    ASSERT_NE(bitmap, nullptr);
    const auto rows = TwoRows();
    BITMAPINFO bottomUp = Header(2);
    EXPECT_EQ(SetDIBits(context, bitmap, 0, 2, rows.data(), &bottomUp, DIB_RGB_COLORS), 2);
    // Bottom-up: the first stored row (red) is the picture's bottom line.
    EXPECT_EQ(LiveBitmap(bitmap)->pixelColor(0, 1), QColor(255, 0, 0));
    EXPECT_EQ(LiveBitmap(bitmap)->pixelColor(1, 0), QColor(0, 0, 255));
    BITMAPINFO topDown = Header(-2);
    EXPECT_EQ(SetDIBits(context, bitmap, 0, 2, rows.data(), &topDown, DIB_RGB_COLORS), 2);
    EXPECT_EQ(LiveBitmap(bitmap)->pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(LiveBitmap(bitmap)->pixelColor(1, 1), QColor(0, 0, 255));
    BITMAPINFO paletted = Header(2);
    paletted.bmiHeader.biBitCount = 8;
    EXPECT_EQ(SetDIBits(context, bitmap, 0, 2, rows.data(), &paletted, DIB_RGB_COLORS), 0);
    int width = 0;
    int height = 0;
    EXPECT_TRUE(GetBitmapSize(bitmap, &width, &height));
    EXPECT_EQ(width, 2);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_FALSE(GetBitmapSize(bitmap, &width, &height));
    EXPECT_EQ(SetDIBits(context, bitmap, 0, 2, rows.data(), &bottomUp, DIB_RGB_COLORS), 0);
    EXPECT_EQ(CreateCompatibleBitmap(context, 0, 5), nullptr);
    ReleaseDC(nullptr, context);
}

TEST(Bitmaps, ImagesTheModuleDoesNotHoldLoadAsNothing)
{
    static const ResourceModule empty{"Empty"};
    EXPECT_EQ(
        LoadImageA(&empty, MAKEINTRESOURCEA(141), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED),
        nullptr);
    EXPECT_EQ(LoadImageA(&empty, "141", IMAGE_ICON, 0, 0, LR_SHARED), nullptr);
}
