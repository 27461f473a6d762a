#include "creator/app/OptionsDlg.h"

#include "creator/app/OptionsDlgResource.h"
#include "creator/app/OutputField.h"
#include "creator/app/PlumetaDlgResource.h"
#include "creator/engine/AviAudioDelay.h"
#include "media/PathUtils.h"
#include "media/ui/CompressorCombo.h"
#include "media/ui/PathField.h"
#include "platform/dshow/Uuids.h"
#include "platform/text/Utf8Copy.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// Compressors that are no choice for a personalised video, removed from the lists after
// filling: every entry that begins with one of these, without regard to case.
constexpr const char* kExcludedAudio[] = {
    "ACELP.net",           "CCITT A-Law",  "CCITT u-Law",
    "Microsoft G.723.1",   "MPEG Layer-3", "Windows Media Audio V1",
    "WMAudio Encoder DMO",
};
constexpr const char* kExcludedVideo[] = {
    "Microsoft H.261 Video Codec",
    "Microsoft H.263 Video Codec",
    "MSScreen encoder DMO",
    "MSScreen 9 encoder DMO",
    "WMVideo Encoder DMO",
    "WMVideo9 Encoder DMO",
    "Intel 4:2:0",
    "Intel IYUV",
    "Microsoft RLE",
};

// The preselection: the first text that begins an entry wins; "(No Compression)" is
// always there.
constexpr const char* kPreferredAudio[] = {"GSM", "PCM", "DSP", "Windows Media Audio",
                                           kNoCompression};
constexpr const char* kPreferredVideo[] = {
    "Microsoft MPEG-4 Video Codec",
    "Intel Indeo",
    "Cinepak Codec by Radius",
    "Microsoft Video",
    "MJPEG Compressor",
    kNoCompression,
};

constexpr int kDefaultFaceSize = 120;
constexpr int kDefaultAudioDelay = 5000;
// Trackbar positions are tenths of a second.
constexpr int kMillisecondsPerStep = 100;
constexpr WORD kLongestDelaySteps = 1000;
constexpr int kStepsPerPage = 100;

}  // namespace

BEGIN_MESSAGE_MAP(COptionsDlg, CDialog)
ON_BN_CLICKED(kCloseOptions, &COptionsDlg::OnClose)
ON_BN_CLICKED(kApplyDelay, &COptionsDlg::OnApply)
ON_WM_HSCROLL()
END_MESSAGE_MAP()

COptionsDlg::COptionsDlg(CWnd* parent) : CDialog(kOptionsDialogId, parent) {}

BOOL COptionsDlg::CreateAndInit()
{
    if (!Create(kOptionsDialogId, m_pParentWnd))
        return FALSE;
    FillCompressorCombo(CLSID_AudioCompressorCategory, kAudioCompressorList);
    FillCompressorCombo(CLSID_VideoCompressorCategory, kVideoCompressorList);
    for (const char* name : kExcludedAudio)
        RemoveEntries(kAudioCompressorList, name);
    for (const char* name : kExcludedVideo)
        RemoveEntries(kVideoCompressorList, name);
    Preselect(kAudioCompressorList, kPreferredAudio);
    Preselect(kVideoCompressorList, kPreferredVideo);
    SetFaceSize(kDefaultFaceSize);
    SendDlgItemMessage(kDelayTrackbar, TBM_SETRANGE, TRUE, MAKELONG(0, kLongestDelaySteps));
    SendDlgItemMessage(kDelayTrackbar, TBM_SETPAGESIZE, 0, kStepsPerPage);
    SendDlgItemMessage(kDelayTrackbar, TBM_SETTICFREQ, kStepsPerPage, 0);
    SetAudioDelay(kDefaultAudioDelay);
    return TRUE;
}

void COptionsDlg::FillCompressorCombo(const CLSID& category, int listId)
{
    ::FillCompressorCombo(::GetDlgItem(m_hWnd, listId), category);
}

void COptionsDlg::RemoveEntries(int listId, const char* name)
{
    RemoveCompressorsBeginningWith(::GetDlgItem(m_hWnd, listId), name);
}

void COptionsDlg::Preselect(int listId, std::span<const char* const> texts)
{
    for (const char* text : texts) {
        if (SetCompressor(listId, text))
            return;
    }
}

int COptionsDlg::GetCompressor(int listId, char* name, int size)
{
    if (!name || size < 1)
        return 1;
    name[0] = '\0';
    const LRESULT selected = SendDlgItemMessage(listId, CB_GETCURSEL);
    if (selected == CB_ERR)
        return 1;
    // The list's own copy is bounded by its item size, not by the caller's buffer.
    char item[kComboItemTextMax + 1] = {};
    if (SendDlgItemMessage(listId, CB_GETLBTEXT, static_cast<WPARAM>(selected),
                           reinterpret_cast<LPARAM>(item)) != CB_ERR)
        CopyTextCut(name, static_cast<std::size_t>(size), item);
    return 1;
}

int COptionsDlg::SetCompressor(int listId, const char* text)
{
    return SendDlgItemMessage(listId, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(text)) != CB_ERR
               ? 1
               : 0;
}

int COptionsDlg::GetAudioCompressor(char* name, int size)
{
    return GetCompressor(kAudioCompressorList, name, size);
}

int COptionsDlg::GetVideoCompressor(char* name, int size)
{
    return GetCompressor(kVideoCompressorList, name, size);
}

int COptionsDlg::SetAudioCompressor(const char* text)
{
    return SetCompressor(kAudioCompressorList, text);
}

int COptionsDlg::SetVideoCompressor(const char* text)
{
    return SetCompressor(kVideoCompressorList, text);
}

int COptionsDlg::GetFaceSize()
{
    char item[kComboItemTextMax + 1] = {};
    GetDlgItemText(kFaceSizeList, item, sizeof item);
    const long percent = std::strtol(item, nullptr, 10);
    return percent > 0 && percent <= std::numeric_limits<int>::max() ? static_cast<int>(percent)
                                                                     : kDefaultFaceSize;
}

int COptionsDlg::SetFaceSize(int percent)
{
    if (percent < 1)
        return 0;
    char text[16];
    std::snprintf(text, sizeof text, "%d%%", percent);
    SendDlgItemMessage(kFaceSizeList, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(text));
    return 1;
}

int COptionsDlg::GetAudioDelay()
{
    return static_cast<int>(SendDlgItemMessage(kDelayTrackbar, TBM_GETPOS)) * kMillisecondsPerStep;
}

int COptionsDlg::SetAudioDelay(int milliseconds)
{
    if (milliseconds < 0)
        return 0;
    SendDlgItemMessage(kDelayTrackbar, TBM_SETPOS, TRUE, milliseconds / kMillisecondsPerStep);
    UpdateDelayLabel();
    return 1;
}

void COptionsDlg::UpdateApplyButton()
{
    HWND main = ::GetParent(m_hWnd);
    char output[kPathBufferSize];
    ReadResolvedPathField(main, kOutputPath, output);
    // The audio start is rewritten in place: an input's is no output's to change.
    const bool outputTakesIt = SetAviAudioDelay(output, -1) != 0 && !OutputFieldNamesAnInput(main);
    ::EnableWindow(::GetDlgItem(m_hWnd, kApplyDelay), outputTakesIt);
}

void COptionsDlg::UpdateDelayLabel()
{
    const int steps = static_cast<int>(SendDlgItemMessage(kDelayTrackbar, TBM_GETPOS));
    char label[64];
    std::snprintf(label, sizeof label, "Audio &Delay\r\n%d.%d sec", steps / 10, steps % 10);
    SetDlgItemText(kDelayLabel, label);
}

void COptionsDlg::OnClose()
{
    ShowWindow(SW_HIDE);
}

void COptionsDlg::OnApply()
{
    ::PostMessageA(::GetParent(m_hWnd), WM_APPLY_AUDIO_DELAY, 0, 0);
}

void COptionsDlg::OnHScroll(UINT, UINT, CWnd*)
{
    UpdateDelayLabel();
}
