#pragma once

#include "creator/app/OptionsDlg.h"
#include "creator/engine/VideoCreator.h"
#include "creator/engine/VideoFrame.h"
#include "media/BufferFrame.h"
#include "media/PathUtils.h"
#include "media/ui/EditFile.h"
#include "platform/mfc/Framework.h"

#include <cstdint>

// Posted by the main dialog's own pre-translation (wParam the message's window, lParam 0)
// after a key or mouse-button press, so that the focus-path line follows the focus once
// the press has moved it.
inline constexpr UINT WM_FOCUS_PATH = WM_APP + 1003;
// Posted by the template reader once it has counted the template's frames.
inline constexpr UINT WM_TEMPLATE_COUNTED = 0xBEE7;

// Tavrino's main dialog (resource 102), run modally for the whole life of the program.
// It owns the engine objects, the four image sources and the options page, forms the
// paths of its six folders beside the program, loads the recent (else the default)
// project at start and saves the recent one on its way out. Every way out (Exit, Escape,
// the close box, "&Exit Tavrino", a posted WM_CLOSE) passes through OnCancel; Enter does
// nothing, the dialog having no default button.
//
// The handlers live in one file per concern: the life cycle and the dialog's own
// commands (PlumetaDlg.cpp), project files (PlumetaDlgProject.cpp), creation and its
// progress (PlumetaDlgCreation.cpp), the pickers, previews and tools of each input
// group (PlumetaDlgInputs.cpp).
//
// User-interface thread; the graphs' streaming threads reach it only by posted messages.
class CPlumetaDlg : public CDialog {
public:
    // The folders beside the program, in the order of their buffers.
    enum Folder {
        kProjectFolder,
        kBackgroundFolder,
        kFaceImageFolder,
        kTemplateFolder,
        kAudioFolder,
        kVideoFolder,
        kFolderCount
    };

    explicit CPlumetaDlg(CWnd* parent = nullptr);
    ~CPlumetaDlg() override;

    // A folder's path: formed at start, empty when it cannot be (no program path, or one
    // so deep that the folder's path does not fit a path buffer).
    const char* FolderPath(Folder folder) const { return folders_[folder]; }
    // The current project file: empty until a project is opened or saved under a name.
    const char* ProjectPath() const { return projectPath_; }
    COptionsDlg& OptionsPage() { return options_; }

    // Loads the project file into the five path fields and the options; a missing file
    // gives every key's default. Answers the options page's answer to the face size (0
    // when the stored one was no usable number).
    int LoadProject(const char* path);
    // Writes the nine keys of section "VideoProject", keeping every other line of the
    // file; the answer of the last write.
    int SaveProject(const char* path);

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL PreTranslateMessage(MSG* message) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    // IDOK does nothing: only OnCancel may end the dialog.
    void OnOK() override;
    // Tool tips: every control's tip is its own text.
    virtual BOOL OnToolTipText(UINT id, NMHDR* header, LRESULT* result);

    // Pictures (PlumetaDlgInputs.cpp).
    void OnViewBackground();
    void OnViewFaceImage();
    // Tools.
    void OnEditBackground();
    void OnEditFaceImage();
    void OnPlayTemplate();
    void OnEditTemplate();
    void OnPlayAudio();
    void OnPlayVideo();
    // File pickers.
    void OnSelectBackground();
    void OnSelectFaceImage();
    void OnSelectTemplate();
    void OnSelectAudio();
    void OnSelectVideo();
    // Folders.
    void OnOpenBackgroundFolder();
    void OnOpenFaceImageFolder();
    void OnOpenTemplateFolder();
    void OnOpenAudioFolder();
    void OnOpenVideoFolder();
    // Creation (PlumetaDlgCreation.cpp).
    void OnCreateVideo();
    void OnStopVideo();
    // The dialog's own commands (PlumetaDlg.cpp).
    void OnOptions();
    void OnVisitWebSite();
    void OnAppAbout();
    void OnAppExit();
    // Projects (PlumetaDlgProject.cpp).
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    // Path fields (PlumetaDlgInputs.cpp).
    void OnChangeBackground();
    void OnChangeFaceImage();
    void OnChangeVideoTemplate();
    void OnChangeAudio();
    void OnChangeOutputVideo();
    // Messages.
    LRESULT OnFixOutputAudio(WPARAM wParam, LPARAM lParam);
    LRESULT OnFocusPath(WPARAM wParam, LPARAM lParam);
    LRESULT OnGraphNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnFrameDone(WPARAM frameIndex, LPARAM lParam);
    LRESULT OnTemplateCounted(WPARAM wParam, LPARAM lParam);
    LRESULT OnCreationDone(WPARAM wParam, LPARAM lParam);

    // Copies the control's text (at most 519 characters) into the focus-path line.
    void ShowPath(int controlId);
    // The idle (TRUE) or creating (FALSE) state of the controls, "&Open Project" among
    // them.
    void EnableControls(BOOL idle);
    // The template has been read and its frame is held, no creation runs, and the output
    // path is writable and names none of the inputs.
    BOOL CanCreateVideo();

    // Hands the path field's file to the user's tool (a program beside this one, started
    // with the file as its command line) or to the shell's verb, else "open"; a message
    // box when neither takes it. Nothing for an empty field without a tool. The shell's
    // answer, or the box's.
    INT_PTR LaunchTool(const char* verb, const char* toolProgram, const char* toolDescription,
                       int fieldId);
    // Opens the folder (a path buffer) in the shell; when it cannot be opened, asks for
    // one with the folder browser, keeps the choice in the buffer and tries again, until
    // the user cancels.
    void OpenFolder(char* folder);
    // The file picker, starting in startFolder with an empty name, into a path field.
    void BrowseFile(const char* filter, const char* startFolder, int fieldId);
    // The source's picture in a window of its own (titled with the source's name) at the
    // picture's size: made when createWindow is set, else only an open one follows; the
    // window closes when the source holds no picture.
    void ShowFullSize(CBufferFrame* source, BOOL createWindow);
    // The source's picture (none: no picture) squeezed into the preview bitmap and shown
    // on the button; rows bottom-up or top-down as stored. The answer of BM_SETIMAGE.
    LRESULT ShowPreview(CBufferFrame* source, BOOL bottomUp, HBITMAP bitmap, int buttonId);

    DECLARE_MESSAGE_MAP()

private:
    // The six folder paths beside the program, from its full path.
    void FormFolderPaths();
    // "<projects folder><separator><name>" into path (520 bytes); empty when the projects
    // folder is unusable or the path would not fit.
    void FormProjectPath(char* path, const char* name) const;
    // The path field's text made absolute against the program's folder into path (520
    // bytes); empty when the result would not fit.
    void ReadPathField(int fieldId, char* path);
    // "<N> frame" or "<N> frames" in the status line.
    void ShowFrameCount(int frames);
    // A path field's change, but the template's: the focus-path line shows the field,
    // and "&Apply" and the idle state of the controls follow the paths.
    void FollowPathChange(int fieldId);
    // A picture field's change (FollowPathChange): the source loads the file it names, an
    // open picture window and the preview follow.
    void OnChangePicture(int fieldId, CBufferFrame& source, int bitmap, int buttonId);
    // Writes the options page's audio delay into the AVI file; 1 when it was patched.
    int SetAudioStart(const char* video);
    // Ends the running creation, whatever ends it: its graph stops and closes, which
    // finishes the file, and a file that every stream completed gets the audio start
    // ("&Apply" refreshed when it did). False when a stream broke off, so that the file
    // is no finished video. Nothing that the graph posted before may end it again.
    bool FinishCreation();

    // The preview bitmaps, in the order of their buttons.
    enum PreviewBitmap { kBackgroundBitmap, kFaceBitmap, kTemplateBitmap, kPreviewCount };

    CEditFile backgroundPath_;
    CEditFile faceImagePath_;
    CEditFile templatePath_;
    CEditFile audioPath_;
    CEditFile outputPath_;
    char projectPath_[kPathBufferSize];
    char folders_[kFolderCount][kPathBufferSize];
    char toolTip_[kPathBufferSize];
    // Background (button 1000), face (1010), template (1020); null until OnInitDialog.
    HBITMAP previews_[kPreviewCount];
    HICON icon_;
    COptionsDlg options_;
    CBufferFrame backgroundSource_;
    CBufferFrame faceSource_;
    CBufferFrame templateSource_;
    CBufferFrame videoSource_;
    CVideoCreator creator_;
    CVideoFrame templateReader_;
    // From a successful start of a template read to the first message it posts.
    bool templateReading_ = false;
    // From a successful start of a creation to its end: the file it writes (resolved),
    // the one whose audio start is set when it ends.
    bool creating_ = false;
    char createdVideo_[kPathBufferSize] = {};
    // The running creation's composed frames that make it over-long (its creator's cap).
    std::int64_t overLongCount_ = 0;
    // From the end of a creation that finished its file to the next creation or template:
    // the status line tells how far that creation got, and the progress messages it posted
    // before its end, which arrive after it, bring it up to the frames the file holds.
    bool endedCreationShown_ = false;
};
