#include "tools/gallery/TavrinoDialogs.h"

#include "creator/app/OptionsDlgResource.h"
#include "creator/app/PlumetaDlgResource.h"
#include "creator/app/TavrinoResources.h"
#include "media/ui/CompressorCombo.h"
#include "platform/dshow/Uuids.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/WindowServices.h"
#include "tools/SamplePictures.h"

#include <opencv2/imgproc.hpp>

namespace {

constexpr int kPreviewButtons[] = {kViewBackground, kViewFaceImage, kTemplatePreview};

// The picture squeezed into the button's preview, as the main dialog paints it.
void ShowPreview(HWND dialog, int buttonId, const cv::Mat& picture)
{
    HWND button = GetDlgItem(dialog, buttonId);
    RECT client{};
    GetClientRect(button, &client);
    const int width = client.right - client.left + 1;
    const int height = client.bottom - client.top + 1;
    cv::Mat scaled;
    cv::resize(picture, scaled, cv::Size(width, height), 0, 0, cv::INTER_AREA);
    // Bitmap rows are padded to 4 bytes.
    cv::Mat rows(height, (width * 3 + 3) / 4 * 4, CV_8UC1, cv::Scalar(0));
    for (int y = 0; y < height; ++y)
        scaled.row(y).reshape(1, 1).copyTo(rows.row(y).colRange(0, width * 3));
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{40, width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    HDC context = GetDC(button);
    HBITMAP bitmap = CreateCompatibleBitmap(context, width, height);
    SetDIBits(context, bitmap, 0, static_cast<UINT>(height), rows.data, &info, DIB_RGB_COLORS);
    ReleaseDC(button, context);
    SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

cv::Mat TemplatePicture()
{
    const ImagePtr frame = TemplateFrame(0);
    cv::Mat upright;
    cv::flip(cv::Mat(frame->height(), frame->width(), CV_8UC3, frame->data(),
                     static_cast<std::size_t>(frame->step())),
             upright, 0);
    return upright;
}

}  // namespace

void FillTavrinoMainDialog(HWND dialog)
{
    PutButtonIcons(dialog, &kTavrinoModule);
    ShowPreview(dialog, kViewBackground, BackgroundPicture());
    ShowPreview(dialog, kViewFaceImage, FacePicture());
    ShowPreview(dialog, kTemplatePreview, TemplatePicture());
    SetDlgItemTextA(dialog, kBackgroundPath, "/home/user/Tavrino/Background/Garden.jpg");
    SetDlgItemTextA(dialog, kFaceImagePath, "/home/user/Tavrino/FaceImage/Face.bmp");
    SetDlgItemTextA(dialog, kTemplatePath, "/home/user/Tavrino/VideoTemplate/Dancer.avi");
    SetDlgItemTextA(dialog, kAudioPath, "/home/user/Tavrino/Audio/Melody.wav");
    SetDlgItemTextA(dialog, kOutputPath, "/home/user/Tavrino/Video/Sample.avi");
    SetDlgItemTextA(dialog, kFocusPathLine, "/home/user/Tavrino/Video/Sample.avi");
    SetDlgItemTextA(dialog, kStatusLine, "48 frames");
    EnableWindow(GetDlgItem(dialog, kStopVideo), FALSE);
}

void EmptyTavrinoMainDialog(HWND dialog)
{
    for (const int button : kPreviewButtons)
        DeleteObject(reinterpret_cast<HBITMAP>(
            SendDlgItemMessageA(dialog, button, BM_SETIMAGE, IMAGE_BITMAP, 0)));
}

void FillTavrinoOptions(HWND dialog)
{
    FillCompressorCombo(GetDlgItem(dialog, kAudioCompressorList), CLSID_AudioCompressorCategory);
    FillCompressorCombo(GetDlgItem(dialog, kVideoCompressorList), CLSID_VideoCompressorCategory);
    SendDlgItemMessageA(dialog, kAudioCompressorList, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>("GSM"));
    SendDlgItemMessageA(dialog, kVideoCompressorList, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>("Microsoft MPEG-4 Video Codec"));
    SendDlgItemMessageA(dialog, kFaceSizeList, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>("120%"));
    SendDlgItemMessageA(dialog, kDelayTrackbar, TBM_SETRANGE, TRUE, MAKELONG(0, 1000));
    SendDlgItemMessageA(dialog, kDelayTrackbar, TBM_SETPOS, TRUE, 50);
    SetDlgItemTextA(dialog, kDelayLabel, "Audio &Delay\r\n5.0 sec");
}
