#pragma once

#include "platform/av/AviWriter.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/InterleaveGate.h"

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// What the multiplexer's output carries: an AVI file.
inline constexpr GUID MEDIATYPE_Stream{
    0xE436EB83, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr GUID MEDIASUBTYPE_Avi{
    0xE436EB88, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

class CAviMux;

// One stream of the file. Takes the compressed stream of one of our encoder filters,
// RGB24 video (bottom-up, or top-down, which it stores bottom-up as players expect of
// uncompressed AVI video), 16-bit PCM audio or MIDI messages.
class CAviMuxInputPin : public CBaseInputPin {
public:
    CAviMuxInputPin(CAviMux* mux, int index, HRESULT* result);

    HRESULT CheckConnect(IPin* pin) override;
    HRESULT CheckMediaType(const CMediaType* type) override;
    // Grows the multiplexer's next free input.
    HRESULT CompleteConnect(IPin* receivePin) override;
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;

    // How the stream is stored; null when it cannot be described. While connected: on
    // the application's thread while stopped, or on a streaming thread.
    av::StreamFormatPtr StreamFormat();
    // Streaming thread: the sample's bytes as the file stores them. The rows of a
    // top-down frame come back bottom-up in a buffer of this pin's, valid until the next
    // call; null when the sample holds less than one frame.
    const BYTE* StoredData(const BYTE* data, long length);

private:
    CAviMux* mux_;
    int index_;
    bool fromEncoder_ = false;    // set while connecting, read while streaming
    std::vector<BYTE> bottomUp_;  // streaming thread only
};

class CAviMuxOutputPin : public CBaseOutputPin {
public:
    CAviMuxOutputPin(CAviMux* mux, HRESULT* result);
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
};

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
