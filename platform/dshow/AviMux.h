#pragma once

#include "platform/av/AviWriter.h"
#include "platform/dshow/AviMuxInputPin.h"
#include "platform/dshow/AviMuxOutputPin.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/InterleaveGate.h"

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// The AVI multiplexer (CLSID_AviDest): an input per stream, in the order the streams'
// headers take in the file, and one output to the file writer, whose file it writes
// through av::AviWriter. The file is made afresh on leaving the stopped state and
// finished (index, final headers) once every connected input has ended, or when the
// graph stops, so a stopped run also leaves a playable file; after finishing, end of
// stream goes on to the writer. Inputs are kept within about a second of each other
// (CInterleaveGate). Samples arrive on the inputs' streaming threads.
class CAviMux : public CBaseFilter {
public:
    CAviMux();
    ~CAviMux() override;

    int GetPinCount() override;
    CBasePin* GetPin(int index) override;

    HRESULT Pause() override;
    HRESULT Stop() override;

private:
    friend class CAviMuxInputPin;
    void AddFreeInput();
    // Streaming threads.
    HRESULT Receive(int input, IMediaSample* sample);
    HRESULT EndOfStream(int input);
    // Under writeMutex_.
    bool AddStreams(std::string* error);
    bool FinishFile(std::string* error);
    // Reports why and ends the run with EC_ERRORABORT.
    HRESULT StreamError(std::string_view reason);
    // The file the writer at the output was given; empty when there is none.
    std::string TargetPath();

    // Under m_StateLock; pins are only ever added.
    std::vector<std::unique_ptr<CAviMuxInputPin>> inputs_;
    CAviMuxOutputPin output_;
    CInterleaveGate gate_;

    // Guards the file and the stream bookkeeping of one run.
    std::mutex writeMutex_;
    std::unique_ptr<av::AviWriter> writer_;
    bool streamsAdded_ = false;
    bool finished_ = true;
    std::vector<bool> connected_;  // per input: connected when the run started
    std::vector<bool> feeding_;    // per input: connected and not yet ended
    std::vector<int> streamOf_;    // per input: the file's stream, or -1
};
