#include "platform/dshow/FilterGraph.h"

#include "platform/com/Com.h"
#include "platform/dshow/Enumerators.h"
#include "platform/dshow/SystemClock.h"
#include "platform/dshow/Uuids.h"
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

char16_t Lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

bool EndsWithNoCase(const std::u16string& text, const char16_t* suffix)
{
    const std::u16string tail(suffix);
    if (tail.size() > text.size())
        return false;
    return std::equal(tail.begin(), tail.end(), text.end() - tail.size(),
                      [](char16_t a, char16_t b) { return Lower(a) == Lower(b); });
}

const CLSID& SourceClassFor(const std::u16string& file)
{
    for (const SourceForExtension& entry : kSourcesByExtension) {
        if (EndsWithNoCase(file, entry.extension))
            return *entry.clsid;
    }
    return CLSID_MediaFileSource;
}

// The pins of a filter, referenced; the caller releases each.
std::vector<IPin*> PinsOf(IBaseFilter* filter)
{
    std::vector<IPin*> pins;
    IEnumPins* enumerator = nullptr;
    if (FAILED(filter->EnumPins(&enumerator)))
        return pins;
    IPin* pin = nullptr;
    while (enumerator->Next(1, &pin, nullptr) == S_OK)
        pins.push_back(pin);
    enumerator->Release();
    return pins;
}

void ReleaseAll(std::vector<IPin*>& pins)
{
    for (IPin* pin : pins)
        pin->Release();
    pins.clear();
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
    if (FAILED(pin->QueryPinInfo(&info)) || !info.pFilter)
        return nullptr;
    info.pFilter->Release();
    return info.pFilter;
}

void DisconnectBothEnds(IPin* pin)
{
    IPin* peer = nullptr;
    if (SUCCEEDED(pin->ConnectedTo(&peer)) && peer) {
        peer->Disconnect();
        peer->Release();
    }
    pin->Disconnect();
}

}  // namespace

CFilterGraph::CFilterGraph()
{
    auto* clock = new (std::nothrow) CSystemClock();
    if (clock) {
        clock->NonDelegatingAddRef();
        clock_ = clock;
    }
}

CFilterGraph::~CFilterGraph()
{
    StopFilters();
    for (Member& member : members_) {
        std::vector<IPin*> pins = PinsOf(member.filter);
        for (IPin* pin : pins)
            DisconnectBothEnds(pin);
        ReleaseAll(pins);
    }
    for (Member& member : members_) {
        member.filter->JoinFilterGraph(nullptr, nullptr);
        member.filter->Release();
    }
    SafeRelease(clock_);
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
        if (member.filter == filter)
            return E_INVALIDARG;
    }
    const std::u16string unique = UniqueName(name);
    const HRESULT hr = filter->JoinFilterGraph(this, unique.c_str());
    if (FAILED(hr))
        return hr;
    filter->AddRef();
    // Newest first, so a sink found by enumeration is the one added last.
    members_.insert(members_.begin(), Member{filter, unique});
    filter->SetSyncSource(clock_);
    const bool renamed = name && *name && unique != name;
    return renamed ? VFW_S_DUPLICATE_NAME : S_OK;
}

HRESULT CFilterGraph::RemoveFilter(IBaseFilter* filter)
{
    if (!filter)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    auto found = std::find_if(members_.begin(), members_.end(),
                              [&](const Member& m) { return m.filter == filter; });
    if (found == members_.end())
        return VFW_E_NOT_FOUND;
    if (state_ != State_Stopped)
        return VFW_E_NOT_STOPPED;
    std::vector<IPin*> pins = PinsOf(filter);
    for (IPin* pin : pins)
        DisconnectBothEnds(pin);
    ReleaseAll(pins);
    members_.erase(found);
    filter->JoinFilterGraph(nullptr, nullptr);
    filter->Release();
    return S_OK;
}

HRESULT CFilterGraph::EnumFilters(IEnumFilters** filters)
{
    if (!filters)
        return E_POINTER;
    *filters = nullptr;
    auto* enumerator = new (std::nothrow) CEnumFilters(static_cast<IGraphBuilder*>(this), [this] {
        std::lock_guard<std::recursive_mutex> lock(graphMutex_);
        std::vector<IBaseFilter*> list;
        for (const Member& member : members_)
            list.push_back(member.filter);
        return list;
    });
    if (!enumerator)
        return E_OUTOFMEMORY;
    return enumerator->NonDelegatingQueryInterface(IID_IEnumFilters,
                                                   reinterpret_cast<void**>(filters));
}

HRESULT CFilterGraph::FindFilterByName(LPCWSTR name, IBaseFilter** filter)
{
    if (!name || !filter)
        return E_POINTER;
    *filter = nullptr;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    for (const Member& member : members_) {
        if (member.name == name) {
            *filter = member.filter;
            member.filter->AddRef();
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
    IBaseFilter* converter = nullptr;
    if (FAILED(CoCreateInstance(CLSID_Colour, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(&converter)))) {
        return VFW_E_CANNOT_CONNECT;
    }
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    HRESULT hr = AddFilter(converter, u"Colour Space Converter");
    if (SUCCEEDED(hr)) {
        std::vector<IPin*> pins = PinsOf(converter);
        hr = E_FAIL;
        if (pins.size() == 2 && SUCCEEDED(ConnectDirect(output, pins[0], nullptr)))
            hr = ConnectDirect(pins[1], input, nullptr);
        ReleaseAll(pins);
        // Removing the filter also breaks a connection made to its input.
        if (FAILED(hr))
            RemoveFilter(converter);
    }
    converter->Release();
    return SUCCEEDED(hr) ? S_OK : VFW_E_CANNOT_CONNECT;
}

HRESULT CFilterGraph::Render(IPin* output)
{
    if (!output)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    if (DirectionOf(output) != PINDIR_OUTPUT)
        return VFW_E_INVALID_DIRECTION;
    IPin* peer = nullptr;
    if (SUCCEEDED(output->ConnectedTo(&peer))) {
        peer->Release();
        return VFW_E_ALREADY_CONNECTED;
    }
    std::vector<GUID> majorTypes;
    IEnumMediaTypes* types = nullptr;
    if (SUCCEEDED(output->EnumMediaTypes(&types))) {
        AM_MEDIA_TYPE* type = nullptr;
        while (types->Next(1, &type, nullptr) == S_OK) {
            if (std::find(majorTypes.begin(), majorTypes.end(), type->majortype) ==
                majorTypes.end()) {
                majorTypes.push_back(type->majortype);
            }
            DeleteMediaType(type);
        }
        types->Release();
    }
    for (const GUID& major : majorTypes) {
        for (const RendererForType& entry : kRenderersByType) {
            if (*entry.majorType != major)
                continue;
            IBaseFilter* renderer = nullptr;
            if (FAILED(CoCreateInstance(*entry.clsid, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IBaseFilter, reinterpret_cast<void**>(&renderer)))) {
                continue;
            }
            HRESULT hr = AddFilter(renderer, entry.name);
            if (SUCCEEDED(hr)) {
                std::vector<IPin*> pins = PinsOf(renderer);
                hr = VFW_E_CANNOT_CONNECT;
                for (IPin* pin : pins) {
                    if (DirectionOf(pin) == PINDIR_INPUT) {
                        hr = Connect(output, pin);
                        break;
                    }
                }
                ReleaseAll(pins);
                if (FAILED(hr))
                    RemoveFilter(renderer);
            }
            renderer->Release();
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
    IBaseFilter* source = nullptr;
    HRESULT hr = CoCreateInstance(SourceClassFor(path), nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IBaseFilter, reinterpret_cast<void**>(&source));
    if (FAILED(hr))
        return VFW_E_UNKNOWN_FILE_TYPE;
    IFileSourceFilter* loader = nullptr;
    hr = source->QueryInterface(IID_IFileSourceFilter, reinterpret_cast<void**>(&loader));
    if (SUCCEEDED(hr)) {
        hr = loader->Load(file, nullptr);
        loader->Release();
    }
    if (SUCCEEDED(hr))
        hr = AddFilter(source, file);
    if (FAILED(hr)) {
        source->Release();
        return hr;
    }
    int outputs = 0;
    int rendered = 0;
    std::vector<IPin*> pins = PinsOf(source);
    for (IPin* pin : pins) {
        if (DirectionOf(pin) != PINDIR_OUTPUT)
            continue;
        ++outputs;
        if (SUCCEEDED(Render(pin)))
            ++rendered;
    }
    ReleaseAll(pins);
    if (rendered == 0) {
        RemoveFilter(source);
        source->Release();
        return VFW_E_CANNOT_RENDER;
    }
    source->Release();
    return rendered == outputs ? S_OK : VFW_S_PARTIAL_RENDER;
}

// State.

std::vector<IBaseFilter*> CFilterGraph::DownstreamFirst() const
{
    // A filter comes after every filter its outputs feed.
    std::vector<IBaseFilter*> pending;
    for (const Member& member : members_)
        pending.push_back(member.filter);
    std::vector<std::pair<IBaseFilter*, std::vector<IBaseFilter*>>> feeds;
    for (IBaseFilter* filter : pending) {
        std::vector<IBaseFilter*> downstream;
        std::vector<IPin*> pins = PinsOf(filter);
        for (IPin* pin : pins) {
            IPin* peer = nullptr;
            if (DirectionOf(pin) == PINDIR_OUTPUT && SUCCEEDED(pin->ConnectedTo(&peer))) {
                if (IBaseFilter* next = FilterOf(peer))
                    downstream.push_back(next);
                peer->Release();
            }
        }
        ReleaseAll(pins);
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
        std::vector<IPin*> pins = PinsOf(member.filter);
        for (IPin* pin : pins) {
            if (DirectionOf(pin) == PINDIR_OUTPUT) {
                hasOutput = true;
            } else {
                IPin* peer = nullptr;
                if (SUCCEEDED(pin->ConnectedTo(&peer))) {
                    connectedInput = true;
                    peer->Release();
                }
            }
        }
        ReleaseAll(pins);
        if (connectedInput && !hasOutput)
            ++count;
    }
    return count;
}

void CFilterGraph::StopFilters()
{
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
        {
            std::lock_guard<std::mutex> lock(eventMutex_);
            renderers_ = CountRenderers();
            completed_ = 0;
            completeQueued_ = false;
        }
        for (IBaseFilter* filter : order)
            filter->SetSyncSource(clock_);
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
    if (clock)
        clock->AddRef();
    SafeRelease(clock_);
    clock_ = clock;
    for (const Member& member : members_)
        member.filter->SetSyncSource(clock_);
    return S_OK;
}

HRESULT CFilterGraph::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    *clock = clock_;
    if (clock_)
        clock_->AddRef();
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
        IMediaSeeking* seeking = nullptr;
        if (FAILED(member.filter->QueryInterface(IID_IMediaSeeking,
                                                 reinterpret_cast<void**>(&seeking)))) {
            continue;
        }
        LONGLONG answer = 0;
        const HRESULT hr =
            duration ? seeking->GetDuration(&answer) : seeking->GetCurrentPosition(&answer);
        seeking->Release();
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
        std::vector<IPin*> pins = PinsOf(member.filter);
        bool found = false;
        for (IPin* pin : pins) {
            if (found || DirectionOf(pin) != PINDIR_INPUT)
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
        ReleaseAll(pins);
        if (found)
            return S_OK;
    }
    return E_NOINTERFACE;
}

IVideoWindow* CFilterGraph::FindVideoWindow() const
{
    for (const Member& member : members_) {
        IVideoWindow* window = nullptr;
        if (SUCCEEDED(member.filter->QueryInterface(IID_IVideoWindow,
                                                    reinterpret_cast<void**>(&window)))) {
            return window;
        }
    }
    return nullptr;
}

HRESULT CFilterGraph::put_Owner(OAHWND owner)
{
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    IVideoWindow* window = FindVideoWindow();
    if (!window)
        return E_NOINTERFACE;
    const HRESULT hr = window->put_Owner(owner);
    window->Release();
    return hr;
}

HRESULT CFilterGraph::put_WindowStyle(long style)
{
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    IVideoWindow* window = FindVideoWindow();
    if (!window)
        return E_NOINTERFACE;
    const HRESULT hr = window->put_WindowStyle(style);
    window->Release();
    return hr;
}

HRESULT CFilterGraph::SetWindowPosition(long left, long top, long width, long height)
{
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    IVideoWindow* window = FindVideoWindow();
    if (!window)
        return E_NOINTERFACE;
    const HRESULT hr = window->SetWindowPosition(left, top, width, height);
    window->Release();
    return hr;
}

HRESULT CFilterGraph::put_Visible(long visible)
{
    std::lock_guard<std::recursive_mutex> lock(graphMutex_);
    IVideoWindow* window = FindVideoWindow();
    if (!window)
        return E_NOINTERFACE;
    const HRESULT hr = window->put_Visible(visible);
    window->Release();
    return hr;
}
