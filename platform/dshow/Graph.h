#pragma once

#include "platform/dshow/Filter.h"

// The filter graph manager (CLSID_FilterGraph) and the controls the application queries
// from it. Every call here belongs to the application's thread unless it says otherwise.

inline constexpr IID IID_IGraphBuilder{
    0x56A868A9, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaControl{
    0x56A868B1, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaPosition{
    0x56A868B2, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IVideoWindow{
    0x56A868B4, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IBasicVideo{
    0x56A868B5, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaEvent{
    0x56A868B6, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaEventEx{
    0x56A868C0, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaSeeking{
    0x36B73880, 0xC2C8, 0x11CF, {0x8B, 0x46, 0x00, 0x80, 0x5F, 0x6C, 0xEF, 0x60}};

// A window handle as the automation interfaces carry it.
using OAHWND = LONG_PTR;
using OAFilterState = long;
inline constexpr long INFINITE_TIMEOUT = -1;

struct IFilterGraph : IUnknown {
    // The graph takes a reference; a name already in use gets a number appended and the
    // result is VFW_S_DUPLICATE_NAME. Filters are enumerated newest first.
    virtual HRESULT AddFilter(IBaseFilter* filter, LPCWSTR name) = 0;
    // Only while stopped: disconnects both ends of each of the filter's pins and drops the
    // graph's reference. VFW_E_NOT_FOUND for a filter not in the graph.
    virtual HRESULT RemoveFilter(IBaseFilter* filter) = 0;
    virtual HRESULT EnumFilters(IEnumFilters** filters) = 0;
    virtual HRESULT FindFilterByName(LPCWSTR name, IBaseFilter** filter) = 0;
    // Connects output to input with exactly the given type (null: any type).
    virtual HRESULT ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) = 0;
    // Disconnects this end of the connection only.
    virtual HRESULT Disconnect(IPin* pin) = 0;
};

struct IGraphBuilder : IFilterGraph {
    // Connects output to input on a type both accept; when they share none, through a
    // colour space converter (CLSID_Colour) that turns 8- or 32-bit video into RGB24. The
    // file source's video pins deliver RGB24 already; bitmap sources may not.
    virtual HRESULT Connect(IPin* output, IPin* input) = 0;
    // Adds the default renderer for the pin's stream and connects it: VFW_E_CANNOT_RENDER
    // when no renderer takes the stream.
    virtual HRESULT Render(IPin* output) = 0;
    // Adds the file's source filter and renders each of its streams: S_OK when all were
    // rendered, VFW_S_PARTIAL_RENDER when some were, a failure when the file cannot be
    // read or none was (the source is then removed again). playList must be null.
    virtual HRESULT RenderFile(LPCWSTR file, LPCWSTR playList) = 0;
};

struct IMediaControl : IUnknown {
    virtual HRESULT Run() = 0;
    virtual HRESULT Pause() = 0;
    // Ends every stream where it is, as at the end of its media, without an EC_COMPLETE,
    // then stops every filter; returns when every streaming thread has ended. Never waits
    // for a sample's time.
    virtual HRESULT Stop() = 0;
    // State changes complete before they return, so this never waits.
    virtual HRESULT GetState(LONG timeoutMs, OAFilterState* state) = 0;
};

struct IMediaEvent : IUnknown {
    // Takes the oldest queued event, waiting up to timeoutMs (INFINITE_TIMEOUT: no limit);
    // E_ABORT when none came.
    virtual HRESULT GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2, long timeoutMs) = 0;
    virtual HRESULT FreeEventParams(long code, LONG_PTR param1, LONG_PTR param2) = 0;
};

struct IMediaEventEx : IMediaEvent {
    // After this, every event queued (on any thread) posts message to window with wParam 0
    // and lParam instance. A null window switches it off.
    virtual HRESULT SetNotifyWindow(OAHWND window, long message, LONG_PTR instance) = 0;
};

inline constexpr DWORD AM_SEEKING_NoPositioning = 0;
inline constexpr DWORD AM_SEEKING_AbsolutePositioning = 1;
inline constexpr DWORD AM_SEEKING_RelativePositioning = 2;
inline constexpr DWORD AM_SEEKING_IncrementalPositioning = 3;
inline constexpr DWORD AM_SEEKING_PositioningBitsMask = 3;

// Positions in REFERENCE_TIME units from the start of the media.
struct IMediaSeeking : IUnknown {
    // Every run starts at the beginning of the media, so the only position that can be set
    // is 0 (absolute); the stop position cannot be set (E_NOTIMPL).
    virtual HRESULT SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                 DWORD stopFlags) = 0;
    // The longest stream; E_NOTIMPL when no filter knows.
    virtual HRESULT GetDuration(LONGLONG* duration) = 0;
    // The time of the latest sample a source delivered.
    virtual HRESULT GetCurrentPosition(LONGLONG* position) = 0;
};

// IMediaSeeking in seconds.
struct IMediaPosition : IUnknown {
    virtual HRESULT get_Duration(REFTIME* length) = 0;
    virtual HRESULT put_CurrentPosition(REFTIME time) = 0;
    virtual HRESULT get_CurrentPosition(REFTIME* time) = 0;
};

struct IBasicVideo : IUnknown {
    // The size of the graph's video stream; E_NOINTERFACE when the graph has none.
    virtual HRESULT GetVideoSize(long* width, long* height) = 0;
};

// Forwarded to the graph's video renderer; E_NOINTERFACE when it has no window.
struct IVideoWindow : IUnknown {
    virtual HRESULT put_Owner(OAHWND owner) = 0;
    virtual HRESULT put_WindowStyle(long style) = 0;
    virtual HRESULT SetWindowPosition(long left, long top, long width, long height) = 0;
    virtual HRESULT put_Visible(long visible) = 0;
};
