#include "tests/platform/dshow/OutputGraph.h"

#include "platform/com/Com.h"
#include "platform/com/Variant.h"
#include "platform/dshow/FileSink.h"
#include "platform/dshow/Uuids.h"
#include "platform/text/Utf16.h"
#include "platform/win/Sync.h"

ComPtr<IGraphBuilder> NewGraph()
{
    ComPtr<IGraphBuilder> graph;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                     graph.OutVoid());
    return graph;
}

ComPtr<IEnumMoniker> Compressors(REFCLSID category)
{
    ComPtr<ICreateDevEnum> devices;
    ComPtr<IEnumMoniker> monikers;
    if (CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum,
                         devices.OutVoid()) == S_OK) {
        devices->CreateClassEnumerator(category, monikers.Out(), 0);
    }
    return monikers;
}

std::string FriendlyName(IMoniker* moniker)
{
    ComPtr<IPropertyBag> bag;
    if (moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.OutVoid()) != S_OK)
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

ComPtr<IBaseFilter> CompressorByName(REFCLSID category, const std::string& name)
{
    ComPtr<IBaseFilter> filter;
    ComPtr<IEnumMoniker> monikers = Compressors(category);
    if (!monikers)
        return filter;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.Out(), nullptr) == S_OK) {
        if (lstrcmpiA(FriendlyName(moniker.get()).c_str(), name.c_str()) == 0 &&
            moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.OutVoid()) == S_OK) {
            break;
        }
    }
    return filter;
}

ComPtr<IPin> PinOf(IBaseFilter* filter, PIN_DIRECTION direction, int n)
{
    ComPtr<IPin> found;
    ComPtr<IEnumPins> pins;
    if (!filter || FAILED(filter->EnumPins(pins.Out())))
        return found;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Out(), nullptr) == S_OK) {
        PIN_DIRECTION d;
        if (pin->QueryDirection(&d) == S_OK && d == direction && n-- == 0)
            return pin;
    }
    return found;
}

ComPtr<IBaseFilter> SinkOf(IFilterGraph* graph, const GUID& majorType)
{
    ComPtr<IEnumFilters> filters;
    ComPtr<IBaseFilter> filter;
    if (FAILED(graph->EnumFilters(filters.Out())))
        return filter;
    while (filters->Next(1, filter.Out(), nullptr) == S_OK) {
        ComPtr<IPin> input = PinOf(filter.get(), PINDIR_INPUT, 0);
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
    return ComPtr<IBaseFilter>();
}

namespace {

HRESULT Reroute(IGraphBuilder* graph, IBaseFilter* sink, IBaseFilter* encoder, IPin* muxInput)
{
    ComPtr<IPin> sinkInput = PinOf(sink, PINDIR_INPUT, 0);
    ComPtr<IPin> upstream;
    if (!sinkInput || FAILED(sinkInput->ConnectedTo(upstream.Out())))
        return E_FAIL;
    graph->Disconnect(upstream.get());
    graph->Disconnect(sinkInput.get());
    graph->RemoveFilter(sink);
    if (!encoder)
        return graph->Connect(upstream.get(), muxInput);
    graph->Connect(upstream.get(), PinOf(encoder, PINDIR_INPUT, 0).get());
    return graph->Connect(PinOf(encoder, PINDIR_OUTPUT, 0).get(), muxInput);
}

ComPtr<IBaseFilter> Create(REFCLSID clsid)
{
    ComPtr<IBaseFilter> filter;
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.OutVoid());
    return filter;
}

}  // namespace

HRESULT BuildOutput(IGraphBuilder* graph, const std::string& path, const std::string& audio,
                    const std::string& video)
{
    ComPtr<IBaseFilter> videoSink = SinkOf(graph, MEDIATYPE_Video);
    ComPtr<IBaseFilter> audioSink = SinkOf(graph, MEDIATYPE_Audio);
    const bool midi = !audioSink;
    if (midi)
        audioSink = SinkOf(graph, MEDIATYPE_Midi);
    ComPtr<IBaseFilter> audioEncoder;
    if (audioSink && !midi)
        audioEncoder = CompressorByName(CLSID_AudioCompressorCategory, audio);
    ComPtr<IBaseFilter> videoEncoder = CompressorByName(CLSID_VideoCompressorCategory, video);
    ComPtr<IBaseFilter> mux = Create(CLSID_AviDest);
    ComPtr<IBaseFilter> writer = Create(CLSID_FileWriter);
    ComPtr<IFileSinkFilter2> file;
    if (!mux || !writer || writer->QueryInterface(IID_IFileSinkFilter2, file.OutVoid()) != S_OK) {
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
    ComPtr<IMediaFilter> filter;
    ComPtr<IMediaControl> control;
    ComPtr<IMediaEvent> events;
    if (graph->QueryInterface(IID_IMediaFilter, filter.OutVoid()) != S_OK ||
        graph->QueryInterface(IID_IMediaControl, control.OutVoid()) != S_OK ||
        graph->QueryInterface(IID_IMediaEvent, events.OutVoid()) != S_OK) {
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
