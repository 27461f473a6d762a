#include "media/ui/PictureWindow.h"

void cvShowImage(const char* name, const Image* image)
{
    if (!image || !image->hasData())
        return;
    ShowPicture(name, PictureView{image->width(), image->height(), image->channels(), image->step(),
                                  image->data(), image->origin() == ImageOrigin::BottomLeft});
}
