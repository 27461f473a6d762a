#pragma once

#include "platform/av/EncodedPacket.h"
#include "platform/av/StreamFormatPtr.h"
#include "platform/dshow/EncoderInputPin.h"
#include "platform/dshow/EncoderOutputPin.h"
#include "platform/dshow/FilterBase.h"

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// A compressor: uncompressed samples in, one compressed sample per codec packet out, on
// the upstream streaming thread. The codec is opened when the input connects and opened
// afresh for each run after the first, so every run starts a clean stream; end of stream
// drains it before passing the end on.
class CEncoderFilter : public CBaseFilter {
public:
    // subsystem names the filter's kind in its failure reports ("video encoder").
    CEncoderFilter(REFCLSID clsid, std::string friendlyName, std::string_view subsystem);
    ~CEncoderFilter() override;

    int GetPinCount() override;
    CBasePin* GetPin(int index) override;
    HRESULT Pause() override;

    const std::string& FriendlyName() const { return friendlyName_; }

protected:
    // The uncompressed input types the codec takes.
    virtual bool AcceptsInput(const CMediaType& type) const = 0;
    // Opens the codec for the input type; the compressed type the output then offers.
    virtual bool Open(const CMediaType& input, CMediaType* output, av::StreamFormatPtr* format,
                      std::string* error) = 0;
    virtual void Close() = 0;
    // Streaming thread: one sample's data (never null) and start time.
    virtual bool Encode(const BYTE* data, long length, REFERENCE_TIME start,
                        std::vector<av::EncodedPacket>& out, std::string* error) = 0;
    virtual bool Flush(std::vector<av::EncodedPacket>& out, std::string* error) = 0;

private:
    friend class CEncoderInputPin;
    friend class CEncoderOutputPin;
    HRESULT OpenFor(const CMediaType& input);
    void CloseCodec();
    HRESULT Receive(IMediaSample* sample);
    HRESULT EndOfStream();
    HRESULT DeliverPackets(const std::vector<av::EncodedPacket>& packets);
    // Under codecMutex_. Reports why and ends the stream with EC_ERRORABORT.
    HRESULT StreamError(std::string_view reason);

    std::string friendlyName_;
    std::string_view subsystem_;
    CEncoderInputPin input_;
    CEncoderOutputPin output_;

    // Guards the codec and what it made: opened on the application's thread, used on the
    // streaming thread.
    std::mutex codecMutex_;
    CMediaType outputType_;
    av::StreamFormatPtr format_;
    bool used_ = false;    // samples went through since the codec was opened
    bool failed_ = false;  // the stream ended with an error; samples are refused
};
