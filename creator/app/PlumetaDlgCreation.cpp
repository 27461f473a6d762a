// The main dialog's creation of an output video: the two states of its controls, the
// "Create Video" and "Stop Video Creation" buttons, and the messages the creator's and
// the template reader's graphs post.
//
// A creation runs from a successful Run in OnCreateVideo to OnCreationDone (the graph's
// completion, the user's stop or the over-length stop). Messages posted before its end
// may arrive after it: they end nothing, and only progress shows, on the status line of
// a creation that finished its file.

#include "creator/app/CreationProgress.h"
#include "creator/app/OutputField.h"
#include "creator/app/PlumetaDlg.h"
#include "creator/app/PlumetaDlgResource.h"
#include "creator/engine/AviAudioDelay.h"
#include "media/FileUtils.h"
#include "media/FilterLookup.h"
#include "media/ui/PathField.h"
#include "platform/text/Utf8Copy.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace {

// The controls that follow the state, in the order they are set; the options page and
// "&Open Project" come last.
constexpr int kStateControls[] = {
    kEditBackground, kSelectBackground, kEditFaceImage,  kSelectFaceImage, kTemplatePreview,
    kPlayTemplate,   kEditTemplate,     kSelectTemplate, kPlayAudio,       kSelectAudio,
    kCreateVideo,    kStopVideo,        kPlayVideo,      kSelectVideo,     kBackgroundPath,
    kFaceImagePath,  kTemplatePath,     kAudioPath,      kOutputPath};

constexpr char kCreationFail[] = "Creation Fail";
constexpr char kOutputHeld[] = "Please close the output file first";
constexpr char kOutputIncomplete[] = "The video could not be written completely";

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
    // A project opened during a creation would change the fields the creation was
    // started from.
    EnableMenuItem(::GetMenu(m_hWnd), kOpenProjectCommand,
                   MF_BYCOMMAND | (idle ? MF_ENABLED : MF_GRAYED));
}

BOOL CPlumetaDlg::CanCreateVideo()
{
    char output[kPathBufferSize];
    ReadPathField(kOutputPath, output);
    return !templateReading_ && templateSource_.GetData(nullptr, nullptr) &&
           !creator_.isRunning() && IsWritableFilePath(output) && !OutputFieldNamesAnInput(m_hWnd);
}

void CPlumetaDlg::ReadPathField(int fieldId, char* path)
{
    ReadResolvedPathField(m_hWnd, fieldId, path);
}

void CPlumetaDlg::ShowFrameCount(int frames)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d frame%s", frames, frames > 1 ? "s" : "");
    SetDlgItemText(kStatusLine, text);
}

void CPlumetaDlg::OnCreateVideo()
{
    const int faceSize = options_.GetFaceSize();
    const int frames = templateReader_.GetFrameCount();
    char templatePath[kPathBufferSize];
    char audioPath[kPathBufferSize];
    char outputPath[kPathBufferSize];
    ReadPathField(kTemplatePath, templatePath);
    ReadPathField(kAudioPath, audioPath);
    ReadPathField(kOutputPath, outputPath);
    char audioCompressor[kFriendlyNameLength];
    char videoCompressor[kFriendlyNameLength];
    options_.GetAudioCompressor(audioCompressor, sizeof audioCompressor);
    options_.GetVideoCompressor(videoCompressor, sizeof videoCompressor);

    if (!CanCreateVideo()) {
        char text[128];
        std::snprintf(text, sizeof text, "%s\r\n\r\n%s", kCreationFail, kOutputHeld);
        MessageBox(text, kCreationFail, MB_OK);
        return;
    }
    endedCreationShown_ = false;
    SetDlgItemText(kStatusLine, "Start creating video ...");
    EnableControls(FALSE);

    const bool opened = creator_.Open(templatePath, audioPath, outputPath, audioCompressor,
                                      videoCompressor, frames - 1) != 0;
    if (opened && creator_.SetNotifyWindow(m_hWnd, WM_GRAPH_NOTIFY)) {
        creator_.SetFaceSizePercent(faceSize);
        // The frame that makes the creation over-long is the last the file gets, however
        // soon its progress message closes the creation.
        overLongCount_ =
            OverLongCount(templateReader_.GetFrameLimit(), templateReader_.GetLargestGap());
        creator_.SetFrameCap(overLongCount_);
        if (creator_.Run()) {
            CopyTextCut(createdVideo_, sizeof createdVideo_, outputPath);
            creating_ = true;
            return;
        }
    }
    // An opened creator holds the output file and keeps every later Open away.
    if (opened)
        creator_.Close();
    if (frames > 0)
        ShowFrameCount(frames);
    else
        SetDlgItemText(kStatusLine, "");
    EnableControls(TRUE);
}

void CPlumetaDlg::OnStopVideo()
{
    OnCreationDone(0, 0);
}

LRESULT CPlumetaDlg::OnGraphNotify(WPARAM, LPARAM lParam)
{
    if (lParam == reinterpret_cast<LPARAM>(static_cast<CVideoGraph*>(&creator_)))
        creator_.OnGraphEvent();
    else if (lParam == reinterpret_cast<LPARAM>(static_cast<CVideoGraph*>(&templateReader_)))
        templateReader_.OnGraphEvent();
    return 0;
}

LRESULT CPlumetaDlg::OnFrameDone(WPARAM frameIndex, LPARAM)
{
    if (!creating_ && !endedCreationShown_)
        return 0;
    const std::int64_t composed =
        static_cast<std::int64_t>(std::min<WPARAM>(frameIndex, std::numeric_limits<int>::max())) +
        1;
    SetDlgItemText(kStatusLine, ProgressText(composed, templateReader_.GetFrameCount()).c_str());
    if (creating_ && composed >= overLongCount_)
        OnCreationDone(0, 0);
    return 0;
}

LRESULT CPlumetaDlg::OnTemplateCounted(WPARAM, LPARAM)
{
    // The reader repeats its message until it is stopped: only the first of the read
    // counts, so that a repeat arriving later leaves a creation alone. A message of a read
    // that a newer template replaced says nothing of the new one.
    if (!templateReading_ || !templateReader_.HasCounted())
        return 0;
    templateReading_ = false;
    const int frames = templateReader_.GetFrameCount();
    templateReader_.Stop();
    templateReader_.Close();
    ShowPreview(&templateSource_, TRUE, previews_[kTemplateBitmap], kTemplatePreview);
    EnableControls(TRUE);
    ShowFrameCount(frames);
    return 0;
}

LRESULT CPlumetaDlg::OnCreationDone(WPARAM, LPARAM)
{
    if (!creating_)
        return 0;
    if (!FinishCreation()) {
        ShowFrameCount(templateReader_.GetFrameCount());
        EnableControls(TRUE);
        char text[128];
        std::snprintf(text, sizeof text, "%s\r\n\r\n%s", kCreationFail, kOutputIncomplete);
        MessageBox(text, kCreationFail, MB_OK);
    } else {
        EnableControls(TRUE);
        endedCreationShown_ = true;
    }
    return 0;
}

bool CPlumetaDlg::FinishCreation()
{
    creating_ = false;
    // A stream that broke off while the graph ran or stopped has left its event in the
    // queue, which the close would drop.
    creator_.Stop();
    creator_.OnGraphEvent();
    const bool finished = !creator_.Failed();
    creator_.Close();
    // A file that a stream broke off is no finished video: it keeps its header as the
    // writer left it.
    if (finished && SetAudioStart(createdVideo_))
        options_.UpdateApplyButton();
    createdVideo_[0] = '\0';
    return finished;
}

LRESULT CPlumetaDlg::OnFixOutputAudio(WPARAM, LPARAM)
{
    // The file a creation is writing gets its audio start when the creation ends.
    if (creating_)
        return 0;
    // The output's audio start is rewritten in place: in an input it is no output's.
    if (OutputFieldNamesAnInput(m_hWnd))
        return 0;
    char output[kPathBufferSize];
    ReadPathField(kOutputPath, output);
    return SetAudioStart(output);
}

int CPlumetaDlg::SetAudioStart(const char* video)
{
    return SetAviAudioDelay(video, options_.GetAudioDelay()) ? 1 : 0;
}
