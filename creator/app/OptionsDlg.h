#pragma once

#include "platform/com/Guid.h"
#include "platform/mfc/Framework.h"

#include <span>

// Posted (wParam 0, lParam 0) by "&Apply" to the page's owner, the main dialog, which
// then rewrites the audio start of the current output file with the page's delay.
inline constexpr UINT WM_APPLY_AUDIO_DELAY = WM_APP + 1001;

// The modeless "Options" page of the main dialog (resource 101): the audio and video
// compressors by friendly name, the face size in percent and the audio delay. The page
// keeps no values of its own: each setting lives in its control, read and set through
// the calls below. "&Close", Escape, Enter and the close box only hide the page; its
// window goes with the main dialog's shutdown, or with the object.
//
// Units: the trackbar's position p (0 to 1000) is the delay in tenths of a second, so
// the delay in milliseconds is p x 100, shown as "Audio &Delay\r\n<p / 10>.<p % 10> sec".
//
// User-interface thread.
class COptionsDlg : public CDialog {
public:
    explicit COptionsDlg(CWnd* parent = nullptr);

    // Makes the hidden window (owned by the application's main window) and presets every
    // control: both compressor lists from the installed compressors without the excluded
    // ones and with the preferred one selected, 120%, and a delay of 5000 ms. FALSE when
    // the window cannot be made.
    BOOL CreateAndInit();

    // The selected compressor's name into name (size bytes, cut to fit and always ended by
    // a terminator; nothing is written when size is below 1), empty when none is
    // selected. 1.
    int GetAudioCompressor(char* name, int size);
    int GetVideoCompressor(char* name, int size);
    // Selects the first entry that begins with text, without regard to case; 1 when one
    // does, else 0 with the selection unchanged (also for an empty text).
    int SetAudioCompressor(const char* text);
    int SetVideoCompressor(const char* text);

    // The leading number of the selected entry; 120 when none is selected or the number
    // is not positive.
    int GetFaceSize();
    // Selects the entry that begins with "<percent>%"; the selection stays when none does.
    // 0 for a percent below 1 (nothing changes), else 1.
    int SetFaceSize(int percent);

    int GetAudioDelay();
    // Moves the trackbar to milliseconds / 100 (held to its range) and rewrites the label.
    // 0 for a negative delay (nothing changes), else 1.
    int SetAudioDelay(int milliseconds);

    // Enables "&Apply" exactly when the output file named in the owner's field 1104 is an
    // AVI file whose audio start can be patched.
    void UpdateApplyButton();
    // Rewrites the delay label from the trackbar's position.
    void UpdateDelayLabel();

    // Fills the list with "(No Compression)" and the category's compressors
    // (media/ui/CompressorCombo.h).
    void FillCompressorCombo(const CLSID& category, int listId);

protected:
    void OnClose();
    void OnApply();
    void OnHScroll(UINT code, UINT position, CWnd* bar);

    DECLARE_MESSAGE_MAP()

private:
    // Deletes every entry that begins with name, without regard to case.
    void RemoveEntries(int listId, const char* name);
    // Selects the first entry that the first matching text begins.
    void Preselect(int listId, std::span<const char* const> texts);
    int GetCompressor(int listId, char* name, int size);
    int SetCompressor(int listId, const char* text);
};
