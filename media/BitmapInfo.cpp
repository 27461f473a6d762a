#include "media/BitmapInfo.h"

void InitBitmapInfoHeader(BITMAPINFO* info, int width, int height, int bitsPerPixel)
{
    if (!info)
        return;
    *info = BITMAPINFO{};
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = static_cast<std::uint16_t>(bitsPerPixel);
    info->bmiHeader.biCompression = BI_RGB;
}
