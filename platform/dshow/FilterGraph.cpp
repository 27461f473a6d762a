#include "platform/dshow/FilterGraph.h"

#include "platform/com/Com.h"
#include "platform/com/ComPtr.h"
#include "platform/dshow/InterfaceEnumerator.h"
#include "platform/dshow/StreamEnd.h"
#include "platform/dshow/SystemClock.h"
#include "platform/dshow/Uuids.h"
#include "platform/text/NoCase.h"
#include "platform/text/Utf16.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <set>

namespace {

// Source filters by file extension; every other file goes to the media file source.
struct SourceForExtension {
    const char16_t* extension;
    const CLSID* clsid;
};
constexpr SourceForExtension kSourcesByExtension[] = {
    {u".mid", &CLSID_MidiFileSource},
    {u".midi", &CLSID_MidiFileSource},
};

// The renderer Render adds for a stream of each major type.
struct RendererForType {
    const GUID* majorType;
    const CLSID* clsid;
    const char16_t* name;
};
constexpr RendererForType kRenderersByType[] = {
    {&MEDIATYPE_Video, &CLSID_VideoRenderer, u"Video Renderer"},
    {&MEDIATYPE_Audio, &CLSID_DSoundRender, u"Audio Renderer"},
    {&MEDIATYPE_Midi, &CLSID_AVIMIDIRender, u"MIDI Renderer"},
};

const CLSID& SourceClassFor(const std::u16string& file)
{
    for (const SourceForExtension& entry : kSourcesByExtension) {
        if (EndsWithNoCase(file, entry.extension))
            return *entry.clsid;
    }
    return CLSID_MediaFileSource;
}

std::vector<ComPtr<IPin>> PinsOf(IBaseFilter* filter)
{
    std::vector<ComPtr<IPin>> pins;
    ComPtr<IEnumPins> enumerator;
    if (FAILED(filter->EnumPins(enumerator.Out())))
        return pins;
    IPin* pin = nullptr;
    while (enumerator->Next(1, &pin, nullptr) == S_OK)
        pins.emplace_back(pin);
    return pins;
}

PIN_DIRECTION DirectionOf(IPin* pin)
{
    PIN_DIRECTION direction = PINDIR_INPUT;
    pin->QueryDirection(&direction);
    return direction;
}

// The filter a pin belongs to, without a reference (the graph holds one).
IBaseFilter* FilterOf(IPin* pin)
{
    PIN_INFO info{};
    if (FAILED(pin->QueryPinInfo(&info)))
        return nullptr;
    return ComPtr<IBaseFilter>(info.pFilter).get();
}

void DisconnectBothEnds(IPin* pin)
{
    ComPtr<IPin> peer;
    if (SUCCEEDED(pin->ConnectedTo(peer.Out())) && peer)
        peer->Disconnect();
    pin->Disconnect();
}

}  // namespace

CFilterGraph::CFilterGraph()
    : clock_(ComPtr<IReferenceClock>::Share(new (std::nothrow) CSystemClock()))
{}

CFilterGraph::~CFilterGraph()
{
    StopFilters();
    for (Member& member : members_) {
        for (const ComPtr<IPin>& pin : PinsOf(member.filter.get()))
            DisconnectBothEnds(pin.get());
    }
    for (Member& member : members_) {
        member.filter->JoinFilterGraph(nullptr, nullptr);
        member.filter.Reset();
    }
}

void* CFilterGraph::GetInterface(REFIID iid)
{
    if (iid == IID_IUnknown || iid == IID_IGraphBuilder || iid == IID_IFilterGraph) {
        return static_cast<IGraphBuilder*>(this);
    }
    if (iid == IID_IMediaControl)
        return static_cast<IMediaControl*>(this);
    if (iid == IID_IMediaEventEx || iid == IID_IMediaEvent)
        return static_cast<IMediaEventEx*>(this);
    if (iid == IID_IMediaEventSink)
        return static_cast<IMediaEventSink*>(this);
    if (iid == IID_IMediaFilter || iid == IID_IPersist)
        return static_cast<IMediaFilter*>(this);
    if (iid == IID_IMediaSeeking)
        return static_cast<IMediaSeeking*>(this);
    if (iid == IID_IMediaPosition)
        return static_cast<IMediaPosition*>(this);
    if (iid == IID_IBasicVideo)
        return static_cast<IBasicVideo*>(this);
    if (iid == IID_IVideoWindow)
        return static_cast<IVideoWindow*>(this);
    return nullptr;
}

// Building.

std::u16string CFilterGraph::UniqueName(LPCWSTR name) const
{
    const std::u16string base = name && *name ? std::u16string(name) : std::u16string(u"Filter");
    auto taken = [&](const std::u16string& candidate) {
        return std::any_of(members_.begin(), members_.end(),
                           [&](const Member& m) { return m.name == candidate; });
    };
    if (!taken(base))
        return base;
    for (int number = 1;; ++number) {
        std::string digits = std::to_string(number);
        digits.insert(0, digits.size() < 4 ? 4 - digits.size() : 0, '0');
        const std::u16string candidate = base + u" " + Utf8ToWide(digits);
        if (!taken(candidate))
            return candidate;
    }
}

HRESULT CFilterGraph::AddFilter(IBaseFilter* filter, LPCWSTR name)
{
    if (!filter)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    for (const Member& member : members_) {
        if (member.filter.get() == filter)
            return E_INVALIDARG;
    }
    const std::u16string unique = UniqueName(name);
    const HRESULT hr = filter->JoinFilterGraph(this, unique.c_str());
    if (FAILED(hr))
        return hr;
    // Newest first, so a sink found by enumeration is the one added last.
    members_.insert(members_.begin(), Member{ComPtr<IBaseFilter>::Share(filter), unique});
    filter->SetSyncSource(clock_.get());
    const bool renamed = name && *name && unique != name;
    return renamed ? VFW_S_DUPLICATE_NAME : S_OK;
}

HRESULT CFilterGraph::RemoveFilter(IBaseFilter* filter)
{
    if (!filter)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    auto found = std::find_if(members_.begin(), members_.end(),
                              [&](const Member& m) { return m.filter.get() == filter; });
    if (found == members_.end())
        return VFW_E_NOT_FOUND;
    if (state_ != State_Stopped)
        return VFW_E_NOT_STOPPED;
    for (const ComPtr<IPin>& pin : PinsOf(filter))
        DisconnectBothEnds(pin.get());
    // The graph's reference goes only after the filter has left, as it may be the last.
    const ComPtr<IBaseFilter> leaving = std::move(found->filter);
    members_.erase(found);
    filter->JoinFilterGraph(nullptr, nullptr);
    return S_OK;
}

HRESULT CFilterGraph::EnumFilters(IEnumFilters** filters)
{
    if (!filters)
        return E_POINTER;
    return CreateComObject<CEnumFilters>(IID_IEnumFilters, reinterpret_cast<void**>(filters),
                                         static_cast<IGraphBuilder*>(this), [this] {
                                             std::lock_guard<std::recursive_mutex> lock(
                                                 graphMutex_);
                                             std::vector<IBaseFilter*> list;
                                             for (const Member& member : members_)
                                                 list.push_back(member.filter.get());
                                             return list;
                                         });
}

HRESULT CFilterGraph::FindFilterByName(LPCWSTR name, IBaseFilter** filter)
{
    if (!name || !filter)
        return E_POINTER;
    *filter = nullptr;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    for (const Member& member : members_) {
        if (member.name == name) {
            member.filter.CopyTo(filter);
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

HRESULT CFilterGraph::ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type)
{
    if (!output || !input)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    if (state_ != State_Stopped)
        return VFW_E_NOT_STOPPED;
    if (DirectionOf(output) != PINDIR_OUTPUT || DirectionOf(input) != PINDIR_INPUT) {
        return VFW_E_INVALID_DIRECTION;
    }
    return output->Connect(input, type);
}

HRESULT CFilterGraph::Disconnect(IPin* pin)
{
    if (!pin)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    return pin->Disconnect();
}

HRESULT CFilterGraph::Connect(IPin* output, IPin* input)
{
    const HRESULT hr = ConnectDirect(output, input, nullptr);
    if (hr != VFW_E_NO_ACCEPTABLE_TYPES && hr != VFW_E_TYPE_NOT_ACCEPTED)
        return hr;
    return ConnectThroughConverter(output, input);
}

HRESULT CFilterGraph::ConnectThroughConverter(IPin* output, IPin* input)
{
    ComPtr<IBaseFilter> converter;
    if (FAILED(CoCreateInstance(CLSID_Colour, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                converter.OutVoid()))) {
        return VFW_E_CANNOT_CONNECT;
    }
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    if (FAILED(AddFilter(converter.get(), u"Colour Space Converter")))
        return VFW_E_CANNOT_CONNECT;
    const std::vector<ComPtr<IPin>> pins = PinsOf(converter.get());
    if (pins.size() == 2 && SUCCEEDED(ConnectDirect(output, pins[0].get(), nullptr)) &&
        SUCCEEDED(ConnectDirect(pins[1].get(), input, nullptr))) {
        return S_OK;
    }
    // Removing the filter also breaks a connection made to its input.
    RemoveFilter(converter.get());
    return VFW_E_CANNOT_CONNECT;
}

HRESULT CFilterGraph::Render(IPin* output)
{
    if (!output)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    if (DirectionOf(output) != PINDIR_OUTPUT)
        return VFW_E_INVALID_DIRECTION;
    ComPtr<IPin> peer;
    if (SUCCEEDED(output->ConnectedTo(peer.Out())))
        return VFW_E_ALREADY_CONNECTED;
    std::vector<GUID> majorTypes;
    ComPtr<IEnumMediaTypes> types;
    if (SUCCEEDED(output->EnumMediaTypes(types.Out()))) {
        AM_MEDIA_TYPE* type = nullptr;
        while (types->Next(1, &type, nullptr) == S_OK) {
            if (std::find(majorTypes.begin(), majorTypes.end(), type->majortype) ==
                majorTypes.end()) {
                majorTypes.push_back(type->majortype);
            }
            DeleteMediaType(type);
        }
    }
    for (const GUID& major : majorTypes) {
        for (const RendererForType& entry : kRenderersByType) {
            if (*entry.majorType != major)
                continue;
            ComPtr<IBaseFilter> renderer;
            if (FAILED(CoCreateInstance(*entry.clsid, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IBaseFilter, renderer.OutVoid()))) {
                continue;
            }
            HRESULT hr = AddFilter(renderer.get(), entry.name);
            if (SUCCEEDED(hr)) {
                hr = VFW_E_CANNOT_CONNECT;
                for (const ComPtr<IPin>& pin : PinsOf(renderer.get())) {
                    if (DirectionOf(pin.get()) == PINDIR_INPUT) {
                        hr = Connect(output, pin.get());
                        break;
                    }
                }
                if (FAILED(hr))
                    RemoveFilter(renderer.get());
            }
            if (SUCCEEDED(hr))
                return S_OK;
        }
    }
    return VFW_E_CANNOT_RENDER;
}

HRESULT CFilterGraph::RenderFile(LPCWSTR file, LPCWSTR playList)
{
    if (!file)
        return E_POINTER;
    if (playList)
        return E_INVALIDARG;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    if (state_ != State_Stopped)
        return VFW_E_NOT_STOPPED;
    const std::u16string path(file);
    ComPtr<IBaseFilter> source;
    HRESULT hr = CoCreateInstance(SourceClassFor(path), nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IBaseFilter, source.OutVoid());
    if (FAILED(hr))
        return VFW_E_UNKNOWN_FILE_TYPE;
    ComPtr<IFileSourceFilter> loader;
    hr = source->QueryInterface(IID_IFileSourceFilter, loader.OutVoid());
    if (SUCCEEDED(hr))
        hr = loader->Load(file, nullptr);
    if (SUCCEEDED(hr))
        hr = AddFilter(source.get(), file);
    if (FAILED(hr))
        return hr;
    int outputs = 0;
    int rendered = 0;
    for (const ComPtr<IPin>& pin : PinsOf(source.get())) {
        if (DirectionOf(pin.get()) != PINDIR_OUTPUT)
            continue;
        ++outputs;
        if (SUCCEEDED(Render(pin.get())))
            ++rendered;
    }
    if (rendered == 0) {
        RemoveFilter(source.get());
        return VFW_E_CANNOT_RENDER;
    }
    return rendered == outputs ? S_OK : VFW_S_PARTIAL_RENDER;
}

// State.

std::vector<IBaseFilter*> CFilterGraph::DownstreamFirst() const
{
    // A filter comes after every filter its outputs feed.
    std::vector<IBaseFilter*> pending;
    for (const Member& member : members_)
        pending.push_back(member.filter.get());
    std::vector<std::pair<IBaseFilter*, std::vector<IBaseFilter*>>> feeds;
    for (IBaseFilter* filter : pending) {
        std::vector<IBaseFilter*> downstream;
        for (const ComPtr<IPin>& pin : PinsOf(filter)) {
            ComPtr<IPin> peer;
            if (DirectionOf(pin.get()) == PINDIR_OUTPUT &&
                SUCCEEDED(pin->ConnectedTo(peer.Out()))) {
                if (IBaseFilter* next = FilterOf(peer.get()))
                    downstream.push_back(next);
            }
        }
        feeds.emplace_back(filter, std::move(downstream));
    }
    std::vector<IBaseFilter*> order;
    std::set<IBaseFilter*> placed;
    while (order.size() < feeds.size()) {
        bool progress = false;
        for (auto& [filter, downstream] : feeds) {
            if (placed.count(filter))
                continue;
            const bool ready =
                std::all_of(downstream.begin(), downstream.end(), [&](IBaseFilter* f) {
                    return placed.count(f) || std::none_of(feeds.begin(), feeds.end(),
                                                           [&](auto& e) { return e.first == f; });
                });
            if (ready) {
                order.push_back(filter);
                placed.insert(filter);
                progress = true;
            }
        }
        if (!progress) {
            for (auto& entry : feeds) {
                if (!placed.count(entry.first)) {
                    order.push_back(entry.first);
                    placed.insert(entry.first);
                }
            }
        }
    }
    return order;
}

int CFilterGraph::CountRenderers() const
{
    // A renderer has a connected input and no output pin.
    int count = 0;
    for (const Member& member : members_) {
        bool hasOutput = false;
        bool connectedInput = false;
        for (const ComPtr<IPin>& pin : PinsOf(member.filter.get())) {
            if (DirectionOf(pin.get()) == PINDIR_OUTPUT) {
                hasOutput = true;
            } else {
                ComPtr<IPin> peer;
                if (SUCCEEDED(pin->ConnectedTo(peer.Out())))
                    connectedInput = true;
            }
        }
        if (connectedInput && !hasOutput)
            ++count;
    }
    return count;
}

void CFilterGraph::EndStreams()
{
    {
        std::lock_guard<std::mutex> lock(eventMutex_);
        ending_ = true;
    }
    std::vector<ComPtr<IStreamEnd>> ends;
    for (const Member& member : members_) {
        ComPtr<IStreamEnd> end;
        if (SUCCEEDED(member.filter->QueryInterface(IID_IStreamEnd, end.OutVoid())))
            ends.push_back(std::move(end));
    }
    // Every stream is asked before any is waited for: a multiplexer input that waits for
    // another to catch up goes on once that one has ended.
    for (const ComPtr<IStreamEnd>& end : ends)
        end->EndStreams();
    for (const ComPtr<IStreamEnd>& end : ends)
        end->WaitStreamsEnded();
    std::lock_guard<std::mutex> lock(eventMutex_);
    ending_ = false;
}

void CFilterGraph::StopFilters()
{
    // A running or paused graph ends its streams first, so that nothing that was made is
    // lost: an encoder gives out what it holds and the multiplexer completes its file.
    if (state_ != State_Stopped)
        EndStreams();
    // Downstream first: a stopped filter refuses samples at once, which frees every
    // streaming thread still delivering into it before its source joins that thread.
    for (IBaseFilter* filter : DownstreamFirst())
        filter->Stop();
    state_ = State_Stopped;
    std::lock_guard<std::mutex> lock(eventMutex_);
    completed_ = 0;
    completeQueued_ = false;
}

HRESULT CFilterGraph::StartFilters(FILTER_STATE target)
{
    const std::vector<IBaseFilter*> order = DownstreamFirst();
    if (state_ == State_Stopped) {
        // Counted before the event lock is taken: counting takes the filters' state locks,
        // and a streaming thread may hold a filter's lock of its own while it notifies.
        const int renderers = CountRenderers();
        {
            std::lock_guard<std::mutex> lock(eventMutex_);
            renderers_ = renderers;
            completed_ = 0;
            completeQueued_ = false;
        }
        for (IBaseFilter* filter : order)
            filter->SetSyncSource(clock_.get());
        for (IBaseFilter* filter : order) {
            const HRESULT hr = filter->Pause();
            if (FAILED(hr)) {
                StopFilters();
                return hr;
            }
        }
        pausedStreamTime_ = 0;
        state_ = State_Paused;
    }
    REFERENCE_TIME now = 0;
    if (clock_)
        clock_->GetTime(&now);
    if (target == State_Paused) {
        if (state_ == State_Running) {
            pausedStreamTime_ = clock_ ? now - start_ : 0;
            for (IBaseFilter* filter : order)
                filter->Pause();
        }
        state_ = State_Paused;
        return S_OK;
    }
    if (state_ != State_Running) {
        start_ = clock_ ? now - pausedStreamTime_ : 0;
        for (IBaseFilter* filter : order)
            filter->Run(start_);
        state_ = State_Running;
        std::unique_lock<std::mutex> lock(eventMutex_);
        if (renderers_ == 0 && !completeQueued_) {
            completeQueued_ = true;
            lock.unlock();
            QueueEvent(Event{EC_COMPLETE, S_OK, 0});
        }
    }
    return S_OK;
}

HRESULT CFilterGraph::Run()
{
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    return StartFilters(State_Running);
}

HRESULT CFilterGraph::Pause()
{
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    return StartFilters(State_Paused);
}

HRESULT CFilterGraph::Stop()
{
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    StopFilters();
    return S_OK;
}

HRESULT CFilterGraph::GetState(LONG, OAFilterState* state)
{
    if (!state)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    *state = state_;
    return S_OK;
}

HRESULT CFilterGraph::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = CLSID_FilterGraph;
    return S_OK;
}

HRESULT CFilterGraph::Run(REFERENCE_TIME)
{
    return Run();
}

HRESULT CFilterGraph::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    *state = state_;
    return S_OK;
}

HRESULT CFilterGraph::SetSyncSource(IReferenceClock* clock)
{
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    if (state_ != State_Stopped)
        return VFW_E_NOT_STOPPED;
    clock_ = ComPtr<IReferenceClock>::Share(clock);
    for (const Member& member : members_)
        member.filter->SetSyncSource(clock);
    return S_OK;
}

HRESULT CFilterGraph::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    clock_.CopyTo(clock);
    return S_OK;
}

// Events.

void CFilterGraph::QueueEvent(const Event& event)
{
    OAHWND window = 0;
    long message = 0;
    LONG_PTR instance = 0;
    {
        std::lock_guard<std::mutex> lock(eventMutex_);
        events_.push_back(event);
        window = notifyWindow_;
        message = notifyMessage_;
        instance = notifyInstance_;
    }
    eventQueued_.notify_all();
    if (window) {
        PostMessageA(reinterpret_cast<HWND>(window), static_cast<UINT>(message), 0, instance);
    }
}

HRESULT CFilterGraph::Notify(long code, LONG_PTR param1, LONG_PTR param2)
{
    if (code == EC_COMPLETE) {
        std::unique_lock<std::mutex> lock(eventMutex_);
        // Streams that end because the graph stops do not complete it.
        if (ending_)
            return S_OK;
        ++completed_;
        if (completed_ < renderers_ || completeQueued_)
            return S_OK;
        completeQueued_ = true;
        lock.unlock();
        QueueEvent(Event{EC_COMPLETE, S_OK, 0});
        return S_OK;
    }
    QueueEvent(Event{code, param1, param2});
    return S_OK;
}

HRESULT CFilterGraph::GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2, long timeoutMs)
{
    if (!code || !param1 || !param2)
        return E_POINTER;
    std::unique_lock<std::mutex> lock(eventMutex_);
    auto ready = [&] { return !events_.empty(); };
    if (timeoutMs < 0) {
        eventQueued_.wait(lock, ready);
    } else if (!eventQueued_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready)) {
        *code = 0;
        *param1 = *param2 = 0;
        return E_ABORT;
    }
    const Event event = events_.front();
    events_.pop_front();
    *code = event.code;
    *param1 = event.param1;
    *param2 = event.param2;
    return S_OK;
}

HRESULT CFilterGraph::FreeEventParams(long, LONG_PTR, LONG_PTR)
{
    return S_OK;
}

HRESULT CFilterGraph::SetNotifyWindow(OAHWND window, long message, LONG_PTR instance)
{
    std::lock_guard<std::mutex> lock(eventMutex_);
    notifyWindow_ = window;
    notifyMessage_ = window ? message : 0;
    notifyInstance_ = window ? instance : 0;
    return S_OK;
}

// Seeking.

HRESULT CFilterGraph::SourcePosition(bool duration, LONGLONG* value)
{
    if (!value)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    bool known = false;
    LONGLONG best = 0;
    for (const Member& member : members_) {
        ComPtr<IMediaSeeking> seeking;
        if (FAILED(member.filter->QueryInterface(IID_IMediaSeeking, seeking.OutVoid())))
            continue;
        LONGLONG answer = 0;
        const HRESULT hr =
            duration ? seeking->GetDuration(&answer) : seeking->GetCurrentPosition(&answer);
        if (SUCCEEDED(hr)) {
            best = known ? std::max(best, answer) : answer;
            known = true;
        }
    }
    *value = best;
    return known ? S_OK : E_NOTIMPL;
}

HRESULT CFilterGraph::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG*,
                                   DWORD stopFlags)
{
    if ((stopFlags & AM_SEEKING_PositioningBitsMask) != AM_SEEKING_NoPositioning)
        return E_NOTIMPL;
    switch (currentFlags & AM_SEEKING_PositioningBitsMask) {
    case AM_SEEKING_NoPositioning:
        return S_OK;
    case AM_SEEKING_AbsolutePositioning:
        if (!current)
            return E_POINTER;
        return *current == 0 ? S_OK : E_NOTIMPL;
    default:
        return E_NOTIMPL;
    }
}

HRESULT CFilterGraph::GetDuration(LONGLONG* duration)
{
    return SourcePosition(true, duration);
}

HRESULT CFilterGraph::GetCurrentPosition(LONGLONG* position)
{
    return SourcePosition(false, position);
}

HRESULT CFilterGraph::get_Duration(REFTIME* length)
{
    if (!length)
        return E_POINTER;
    LONGLONG units = 0;
    const HRESULT hr = GetDuration(&units);
    *length = static_cast<double>(units) / kUnitsPerSecond;
    return hr;
}

HRESULT CFilterGraph::put_CurrentPosition(REFTIME time)
{
    LONGLONG units = static_cast<LONGLONG>(time * kUnitsPerSecond);
    return SetPositions(&units, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
}

HRESULT CFilterGraph::get_CurrentPosition(REFTIME* time)
{
    if (!time)
        return E_POINTER;
    LONGLONG units = 0;
    const HRESULT hr = GetCurrentPosition(&units);
    *time = static_cast<double>(units) / kUnitsPerSecond;
    return hr;
}

// Video.

HRESULT CFilterGraph::GetVideoSize(long* width, long* height)
{
    if (!width || !height)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    for (const Member& member : members_) {
        bool found = false;
        for (const ComPtr<IPin>& pin : PinsOf(member.filter.get())) {
            if (found || DirectionOf(pin.get()) != PINDIR_INPUT)
                continue;
            AM_MEDIA_TYPE type{};
            if (FAILED(pin->ConnectionMediaType(&type)))
                continue;
            if (type.majortype == MEDIATYPE_Video && type.formattype == FORMAT_VideoInfo &&
                type.cbFormat >= sizeof(VIDEOINFOHEADER) && type.pbFormat) {
                const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
                *width = info->bmiHeader.biWidth;
                *height = std::labs(info->bmiHeader.biHeight);
                found = true;
            }
            FreeMediaType(type);
        }
        if (found)
            return S_OK;
    }
    return E_NOINTERFACE;
}

ComPtr<IVideoWindow> CFilterGraph::FindVideoWindow() const
{
    for (const Member& member : members_) {
        ComPtr<IVideoWindow> window;
        if (SUCCEEDED(member.filter->QueryInterface(IID_IVideoWindow, window.OutVoid())))
            return window;
    }
    return nullptr;
}

HRESULT CFilterGraph::put_Owner(OAHWND owner)
{
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    const ComPtr<IVideoWindow> window = FindVideoWindow();
    if (!window)
        return E_NOINTERFACE;
    return window->put_Owner(owner);
}

HRESULT CFilterGraph::put_WindowStyle(long style)
{
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    const ComPtr<IVideoWindow> window = FindVideoWindow();
    if (!window)
        return E_NOINTERFACE;
    return window->put_WindowStyle(style);
}

HRESULT CFilterGraph::SetWindowPosition(long left, long top, long width, long height)
{
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    const ComPtr<IVideoWindow> window = FindVideoWindow();
    if (!window)
        return E_NOINTERFACE;
    return window->SetWindowPosition(left, top, width, height);
}

HRESULT CFilterGraph::put_Visible(long visible)
{
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    const ComPtr<IVideoWindow> window = FindVideoWindow();
    if (!window)
        return E_NOINTERFACE;
    return window->put_Visible(visible);
}
