#include "tests/platform/dshow/OutputGraph.h"

#include "platform/com/Com.h"
#include "platform/com/Variant.h"
#include "platform/dshow/FileSink.h"
#include "platform/dshow/Uuids.h"
#include "platform/win/Sync.h"

Ref<IGraphBuilder> NewGraph()
{
    Ref<IGraphBuilder> graph;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                     graph.outVoid());
    return graph;
}

Ref<IEnumMoniker> Compressors(REFCLSID category)
{
    Ref<ICreateDevEnum> devices;
    Ref<IEnumMoniker> monikers;
    if (CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum,
                         devices.outVoid()) == S_OK) {
        devices->CreateClassEnumerator(category, monikers.out(), 0);
    }
    return monikers;
}

std::string FriendlyName(IMoniker* moniker)
{
    Ref<IPropertyBag> bag;
    if (moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.outVoid()) != S_OK)
        return {};
    VARIANT value;
    VariantInit(&value);
    std::string name;
    if (bag->Read(u"FriendlyName", &value, nullptr) == S_OK && value.vt == VT_BSTR) {
        name = WideToUtf8(value.bstrVal);
    }
    VariantClear(&value);
    return name;
}

Ref<IBaseFilter> CompressorByName(REFCLSID category, const std::string& name)
{
    Ref<IBaseFilter> filter;
    Ref<IEnumMoniker> monikers = Compressors(category);
    if (!monikers)
        return filter;
    Ref<IMoniker> moniker;
    while (monikers->Next(1, moniker.out(), nullptr) == S_OK) {
        if (lstrcmpiA(FriendlyName(moniker.get()).c_str(), name.c_str()) == 0 &&
            moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.outVoid()) == S_OK) {
            break;
        }
    }
    return filter;
}

Ref<IPin> PinOf(IBaseFilter* filter, PIN_DIRECTION direction, int n)
{
    Ref<IPin> found;
    Ref<IEnumPins> pins;
    if (!filter || FAILED(filter->EnumPins(pins.out())))
        return found;
    Ref<IPin> pin;
    while (pins->Next(1, pin.out(), nullptr) == S_OK) {
        PIN_DIRECTION d;
        if (pin->QueryDirection(&d) == S_OK && d == direction && n-- == 0)
            return pin;
    }
    return found;
}

Ref<IBaseFilter> SinkOf(IFilterGraph* graph, const GUID& majorType)
{
    Ref<IEnumFilters> filters;
    Ref<IBaseFilter> filter;
    if (FAILED(graph->EnumFilters(filters.out())))
        return filter;
    while (filters->Next(1, filter.out(), nullptr) == S_OK) {
        Ref<IPin> input = PinOf(filter.get(), PINDIR_INPUT, 0);
        if (!input || PinOf(filter.get(), PINDIR_OUTPUT, 0))
            continue;
        AM_MEDIA_TYPE type{};
        if (input->ConnectionMediaType(&type) == S_OK) {
            const bool match = type.majortype == majorType;
            FreeMediaType(type);
            if (match)
                return filter;
        }
    }
    return Ref<IBaseFilter>();
}

namespace {

HRESULT Reroute(IGraphBuilder* graph, IBaseFilter* sink, IBaseFilter* encoder, IPin* muxInput)
{
    Ref<IPin> sinkInput = PinOf(sink, PINDIR_INPUT, 0);
    Ref<IPin> upstream;
    if (!sinkInput || FAILED(sinkInput->ConnectedTo(upstream.out())))
        return E_FAIL;
    graph->Disconnect(upstream.get());
    graph->Disconnect(sinkInput.get());
    graph->RemoveFilter(sink);
    if (!encoder)
        return graph->Connect(upstream.get(), muxInput);
    graph->Connect(upstream.get(), PinOf(encoder, PINDIR_INPUT, 0).get());
    return graph->Connect(PinOf(encoder, PINDIR_OUTPUT, 0).get(), muxInput);
}

Ref<IBaseFilter> Create(REFCLSID clsid)
{
    Ref<IBaseFilter> filter;
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.outVoid());
    return filter;
}

}  // namespace

HRESULT BuildOutput(IGraphBuilder* graph, const std::string& path, const std::string& audio,
                    const std::string& video)
{
    Ref<IBaseFilter> videoSink = SinkOf(graph, MEDIATYPE_Video);
    Ref<IBaseFilter> audioSink = SinkOf(graph, MEDIATYPE_Audio);
    const bool midi = !audioSink;
    if (midi)
        audioSink = SinkOf(graph, MEDIATYPE_Midi);
    Ref<IBaseFilter> audioEncoder;
    if (audioSink && !midi)
        audioEncoder = CompressorByName(CLSID_AudioCompressorCategory, audio);
    Ref<IBaseFilter> videoEncoder = CompressorByName(CLSID_VideoCompressorCategory, video);
    Ref<IBaseFilter> mux = Create(CLSID_AviDest);
    Ref<IBaseFilter> writer = Create(CLSID_FileWriter);
    Ref<IFileSinkFilter2> file;
    if (!mux || !writer || writer->QueryInterface(IID_IFileSinkFilter2, file.outVoid()) != S_OK) {
        return E_FAIL;
    }
    file->SetFileName(Utf8ToWide(path).c_str(), nullptr);
    graph->AddFilter(mux.get(), u"AVI MUX");
    graph->AddFilter(writer.get(), u"File Writer");
    if (audioEncoder)
        graph->AddFilter(audioEncoder.get(), u"Audio Encoder");
    if (videoEncoder)
        graph->AddFilter(videoEncoder.get(), u"Video Encoder");
    graph->Connect(PinOf(mux.get(), PINDIR_OUTPUT, 0).get(),
                   PinOf(writer.get(), PINDIR_INPUT, 0).get());
    HRESULT result = S_OK;
    int next = 0;
    if (videoSink) {
        result = Reroute(graph, videoSink.get(), videoEncoder.get(),
                         PinOf(mux.get(), PINDIR_INPUT, next++).get());
    }
    if (audioSink) {
        const HRESULT hr = Reroute(graph, audioSink.get(), audioEncoder.get(),
                                   PinOf(mux.get(), PINDIR_INPUT, next).get());
        if (!videoSink)
            result = hr;
    }
    return result;
}

bool RunToCompletion(IGraphBuilder* graph)
{
    Ref<IMediaFilter> filter;
    Ref<IMediaControl> control;
    Ref<IMediaEvent> events;
    if (graph->QueryInterface(IID_IMediaFilter, filter.outVoid()) != S_OK ||
        graph->QueryInterface(IID_IMediaControl, control.outVoid()) != S_OK ||
        graph->QueryInterface(IID_IMediaEvent, events.outVoid()) != S_OK) {
        return false;
    }
    filter->SetSyncSource(nullptr);
    if (FAILED(control->Run()))
        return false;
    bool complete = false;
    long code = 0;
    LONG_PTR first = 0;
    LONG_PTR second = 0;
    while (events->GetEvent(&code, &first, &second, 60'000) == S_OK) {
        events->FreeEventParams(code, first, second);
        if (code == EC_COMPLETE)
            complete = true;
        if (code == EC_COMPLETE || code == EC_ERRORABORT)
            break;
    }
    control->Stop();
    return complete;
}
