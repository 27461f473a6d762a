#include "platform/ui/Gdi.h"

#include "platform/ui/Resources.h"
#include "platform/ui/qt/GdiObjects.h"

#include <QPainter>

#include <cstring>
#include <map>
#include <memory>
#include <set>

namespace {

// Deleting a bitmap a control still shows must not leave the control a dangling
// pointer, so every live bitmap is known here.
std::set<BitmapObject*>& LiveBitmaps()
{
    static std::set<BitmapObject*> bitmaps;
    return bitmaps;
}

// Shared icons, by module and id and size: they live as long as the program.
std::map<std::tuple<HINSTANCE, int, int, int>, std::unique_ptr<IconObject>>& SharedIcons()
{
    static std::map<std::tuple<HINSTANCE, int, int, int>, std::unique_ptr<IconObject>> icons;
    return icons;
}

DeviceContext* ScreenContext()
{
    static int screen = 0;
    return reinterpret_cast<DeviceContext*>(&screen);
}

constexpr int kDefaultIconSize = 32;

}  // namespace

const QImage* LiveBitmap(HBITMAP bitmap)
{
    return LiveBitmaps().count(bitmap) ? &bitmap->image : nullptr;
}

HDC GetDC(HWND)
{
    return ScreenContext();
}

int ReleaseDC(HWND, HDC context)
{
    return context == ScreenContext() ? 1 : 0;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height)
{
    if (width < 1 || height < 1)
        return nullptr;
    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull())
        return nullptr;
    image.fill(Qt::black);
    auto* bitmap = new BitmapObject{std::move(image)};
    LiveBitmaps().insert(bitmap);
    return bitmap;
}

int SetDIBits(HDC, HBITMAP bitmap, UINT startScan, UINT lines, const void* bits,
              const BITMAPINFO* info, UINT)
{
    if (!LiveBitmap(bitmap) || !bits || !info)
        return 0;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biBitCount != 24 || header.biCompression != BI_RGB || header.biWidth < 1 ||
        header.biHeight == 0)
        return 0;
    const bool bottomUp = header.biHeight > 0;
    const long long sourceRows =
        bottomUp ? header.biHeight : -static_cast<long long>(header.biHeight);
    const long long stride = (static_cast<long long>(header.biWidth) * 3 + 3) / 4 * 4;
    QImage& image = bitmap->image;
    const int width = std::min<long long>(header.biWidth, image.width());
    const auto* source = static_cast<const unsigned char*>(bits);
    int copied = 0;
    for (long long scan = 0; scan < lines && startScan + scan < sourceRows; ++scan) {
        const long long sourceRow = startScan + scan;
        // The picture row this stored row shows, counted from the source's top.
        const long long pictureRow = bottomUp ? sourceRows - 1 - sourceRow : sourceRow;
        // A bottom-up source is aligned to the bitmap's bottom, a top-down one to its top.
        const long long target = bottomUp ? image.height() - sourceRows + pictureRow : pictureRow;
        if (target >= 0 && target < image.height()) {
            const unsigned char* from = source + scan * stride;
            unsigned char* to = image.scanLine(static_cast<int>(target));
            for (int x = 0; x < width; ++x) {
                to[3 * x] = from[3 * x + 2];
                to[3 * x + 1] = from[3 * x + 1];
                to[3 * x + 2] = from[3 * x];
            }
        }
        ++copied;
    }
    return copied;
}

BOOL DeleteObject(HGDIOBJ object)
{
    auto* bitmap = static_cast<BitmapObject*>(object);
    if (!LiveBitmaps().erase(bitmap))
        return FALSE;
    delete bitmap;
    return TRUE;
}

bool GetBitmapSize(HBITMAP bitmap, int* width, int* height)
{
    const QImage* image = LiveBitmap(bitmap);
    if (!image)
        return false;
    *width = image->width();
    *height = image->height();
    return true;
}

HGDIOBJ LoadImageA(HINSTANCE module, LPCSTR name, UINT type, int width, int height, UINT flags)
{
    if (!name || !IS_INTRESOURCE(name))
        return nullptr;
    const int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
    const ImageKind kind = type == IMAGE_ICON ? ImageKind::Icon : ImageKind::Bitmap;
    const ImageResource* resource = FindImageResource(module, id, kind);
    if (!resource)
        return nullptr;
    if (kind == ImageKind::Bitmap) {
        QImage image(QString::fromUtf8(resource->path));
        if (image.isNull())
            return nullptr;
        auto* bitmap = new BitmapObject{image.convertToFormat(QImage::Format_RGB888)};
        LiveBitmaps().insert(bitmap);
        return bitmap;
    }
    if ((flags & LR_DEFAULTSIZE) || width < 1)
        width = kDefaultIconSize;
    if ((flags & LR_DEFAULTSIZE) || height < 1)
        height = kDefaultIconSize;
    const QString path = QString::fromUtf8(resource->path);
    if (QImage(path).isNull())
        return nullptr;
    auto& slot = SharedIcons()[{module ? module : GetResourceModule(), id, width, height}];
    if (!slot)
        slot.reset(new IconObject{QIcon(path), QSize(width, height)});
    return slot.get();
}
