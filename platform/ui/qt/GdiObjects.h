#pragma once

#include "platform/ui/UiTypes.h"

#include <QIcon>
#include <QImage>

// What the picture handles stand for.
struct BitmapObject {
    QImage image;  // RGB888
};

struct IconObject {
    QIcon icon;
    QSize size;
};

// The picture of a bitmap that has not been deleted, else null. User-interface thread.
const QImage* LiveBitmap(HBITMAP bitmap);
