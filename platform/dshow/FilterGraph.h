#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/Unknown.h"
#include "platform/dshow/Graph.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// The filter graph manager. It owns its filters (one reference each), changes their state
// downstream first, counts the renderers' end-of-stream notices into one EC_COMPLETE and
// queues events for the application.
class CFilterGraph : public CUnknown,
                     public IGraphBuilder,
                     public IMediaControl,
                     public IMediaEventEx,
                     public IMediaEventSink,
                     public IMediaFilter,
                     public IMediaSeeking,
                     public IMediaPosition,
                     public IBasicVideo,
                     public IVideoWindow {
public:
    CFilterGraph();
    ~CFilterGraph() override;
    DECLARE_IUNKNOWN

    HRESULT AddFilter(IBaseFilter* filter, LPCWSTR name) override;
    HRESULT RemoveFilter(IBaseFilter* filter) override;
    HRESULT EnumFilters(IEnumFilters** filters) override;
    HRESULT FindFilterByName(LPCWSTR name, IBaseFilter** filter) override;
    HRESULT ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) override;
    HRESULT Disconnect(IPin* pin) override;
    HRESULT Connect(IPin* output, IPin* input) override;
    HRESULT Render(IPin* output) override;
    HRESULT RenderFile(LPCWSTR file, LPCWSTR playList) override;

    HRESULT Run() override;
    HRESULT Pause() override;
    HRESULT Stop() override;
    HRESULT GetState(LONG timeoutMs, OAFilterState* state) override;

    HRESULT GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2, long timeoutMs) override;
    HRESULT FreeEventParams(long code, LONG_PTR param1, LONG_PTR param2) override;
    HRESULT SetNotifyWindow(OAHWND window, long message, LONG_PTR instance) override;
    HRESULT Notify(long code, LONG_PTR param1, LONG_PTR param2) override;

    HRESULT GetClassID(CLSID* clsid) override;
    HRESULT Run(REFERENCE_TIME start) override;
    HRESULT GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    HRESULT SetSyncSource(IReferenceClock* clock) override;
    HRESULT GetSyncSource(IReferenceClock** clock) override;

    HRESULT SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                         DWORD stopFlags) override;
    HRESULT GetDuration(LONGLONG* duration) override;
    HRESULT GetCurrentPosition(LONGLONG* position) override;
    HRESULT get_Duration(REFTIME* length) override;
    HRESULT put_CurrentPosition(REFTIME time) override;
    HRESULT get_CurrentPosition(REFTIME* time) override;

    HRESULT GetVideoSize(long* width, long* height) override;

    HRESULT put_Owner(OAHWND owner) override;
    HRESULT put_WindowStyle(long style) override;
    HRESULT SetWindowPosition(long left, long top, long width, long height) override;
    HRESULT put_Visible(long visible) override;

protected:
    void* GetInterface(REFIID iid) override;

private:
    struct Member {
        ComPtr<IBaseFilter> filter;
        std::u16string name;
    };
    struct Event {
        long code;
        LONG_PTR param1;
        LONG_PTR param2;
    };

    std::u16string UniqueName(LPCWSTR name) const;
    // Connects the pins through a new colour space converter; VFW_E_CANNOT_CONNECT, with
    // the converter gone again, when that does not work either.
    HRESULT ConnectThroughConverter(IPin* output, IPin* input);
    std::vector<IBaseFilter*> DownstreamFirst() const;
    // Stops every filter, downstream first; also after a failed start.
    void StopFilters();
    // Ends every stream of a running or paused graph where it is and waits for the ends
    // to pass (IStreamEnd).
    void EndStreams();
    HRESULT StartFilters(FILTER_STATE target);
    int CountRenderers() const;
    ComPtr<IVideoWindow> FindVideoWindow() const;  // empty when no filter has a window
    void QueueEvent(const Event& event);
    // Sum of the filters' answers, for the seeking interface.
    HRESULT SourcePosition(bool duration, LONGLONG* value);

    // Application's thread: the filters, newest first, the state and the clock.
    std::recursive_mutex graphMutex_;
    std::vector<Member> members_;
    FILTER_STATE state_ = State_Stopped;
    ComPtr<IReferenceClock> clock_;  // empty: no clock
    REFERENCE_TIME start_ = 0;
    REFERENCE_TIME pausedStreamTime_ = 0;

    // Any thread: the event queue, the completion count and the notification target.
    std::mutex eventMutex_;
    std::condition_variable eventQueued_;
    std::deque<Event> events_;
    int renderers_ = 0;
    int completed_ = 0;
    bool completeQueued_ = false;
    bool ending_ = false;  // EndStreams runs: the renderers' ends are no completion
    OAHWND notifyWindow_ = 0;
    long notifyMessage_ = 0;
    LONG_PTR notifyInstance_ = 0;
};
