#pragma once

#include "platform/com/ComPtr.h"
#include "platform/dshow/DeviceEnum.h"
#include "platform/dshow/Graph.h"

#include <string>

// Graph plumbing shared by the output chain's tests.

ComPtr<IGraphBuilder> NewGraph();
// The category's enumerator; empty when it has no devices.
ComPtr<IEnumMoniker> Compressors(REFCLSID category);
std::string FriendlyName(IMoniker* moniker);
// The first compressor of the category whose name equals name by lstrcmpiA.
ComPtr<IBaseFilter> CompressorByName(REFCLSID category, const std::string& name);
// The n-th pin of a direction, referenced; empty when there are not that many.
ComPtr<IPin> PinOf(IBaseFilter* filter, PIN_DIRECTION direction, int n);
// The filter that ends a stream of that major type: a connected first input, no output.
ComPtr<IBaseFilter> SinkOf(IFilterGraph* graph, const GUID& majorType);

// Replaces the graph's video and audio (or MIDI) renderers by the named compressors, the
// AVI multiplexer and a file writer on path, the way the graph wrapper does; a name that
// is no compressor sends its stream into the multiplexer unchanged. The result of the
// video's last connection (S_OK when there is no video but audio connected).
HRESULT BuildOutput(IGraphBuilder* graph, const std::string& path, const std::string& audio,
                    const std::string& video);

// Runs without a clock until EC_COMPLETE (true) or an error event or a minute without
// completion (false), then stops.
bool RunToCompletion(IGraphBuilder* graph);
