// The main dialog's creation of an output video: the two states of its controls, the
// "Create Video" and "Stop Video Creation" buttons, and the messages the creator's and
// the template reader's graphs post.
//
// Until the creation commands are built, the buttons and messages are answered without
// effect: no template frame reaches the template source, so "Create Video" stays
// disabled and no graph runs.

#include "creator/app/PlumetaDlg.h"
#include "creator/app/PlumetaDlgResource.h"
#include "media/FileUtils.h"

namespace {

// The controls that follow the state, in the order they are set; the options page comes
// last.
constexpr int kStateControls[] = {
    kEditBackground, kSelectBackground, kEditFaceImage,  kSelectFaceImage, kTemplatePreview,
    kPlayTemplate,   kEditTemplate,     kSelectTemplate, kPlayAudio,       kSelectAudio,
    kCreateVideo,    kStopVideo,        kPlayVideo,      kSelectVideo,     kBackgroundPath,
    kFaceImagePath,  kTemplatePath,     kAudioPath,      kOutputPath};

}  // namespace

void CPlumetaDlg::EnableControls(BOOL idle)
{
    for (const int id : kStateControls) {
        BOOL enable = idle;
        if (id == kCreateVideo)
            enable = idle && CanCreateVideo();
        else if (id == kStopVideo)
            enable = !idle;
        ::EnableWindow(::GetDlgItem(m_hWnd, id), enable);
    }
    options_.EnableWindow(idle);
}

BOOL CPlumetaDlg::CanCreateVideo()
{
    char output[kPathBufferSize];
    GetDlgItemText(kOutputPath, output, sizeof output);
    return templateSource_.GetData(nullptr, nullptr) && !creator_.isRunning() &&
           IsWritableFilePath(output);
}

void CPlumetaDlg::OnCreateVideo() {}

void CPlumetaDlg::OnStopVideo() {}

LRESULT CPlumetaDlg::OnGraphNotify(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CPlumetaDlg::OnFrameDone(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CPlumetaDlg::OnTemplateCounted(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CPlumetaDlg::OnCreationDone(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CPlumetaDlg::OnFixOutputAudio(WPARAM, LPARAM)
{
    return 0;
}
