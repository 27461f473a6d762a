#include "platform/av/AviWriter.h"

#include "platform/av/AviHeaderPatch.h"
#include "platform/av/FfmpegError.h"
#include "platform/av/FfmpegHandles.h"
#include "platform/av/StreamFormat.h"
#include "platform/av/StreamTime.h"
#include "platform/win/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

namespace av {

namespace {

constexpr int kIoBufferSize = 64 * 1024;
// The muxer refuses to fill a gap of more than 60000 ticks with empty chunks at once
// (ten minutes of a MIDI stream's silence); longer gaps are bridged in steps of this.
constexpr std::int64_t kLongestGapTicks = 50000;
// The stream headers lie in the first kilobytes; this bounds what the MIDI patch reads.
constexpr std::size_t kHeaderSearchBytes = 1 << 20;

// The file the muxer writes through its custom I/O context; kept open after the trailer
// so that the MIDI stream headers can be corrected in the same file.
class OutputFile {
public:
    ~OutputFile() { Close(); }

    bool Open(const std::string& path, std::string* error)
    {
        fd_ = ::open(ToNativePath(path.c_str()).c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC,
                     0666);
        if (fd_ < 0)
            return Fail(error,
                        "avi writer: cannot create \"" + path + "\": " + std::strerror(errno));
        return true;
    }

    void Close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    int fd() const { return fd_; }

    static int Write(void* opaque, std::uint8_t* data, int size)
    {
        const int fd = static_cast<OutputFile*>(opaque)->fd_;
        for (int done = 0; done < size;) {
            const ssize_t n = ::write(fd, data + done, size - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return AVERROR(n < 0 ? errno : EIO);
            done += static_cast<int>(n);
        }
        return size;
    }

    static std::int64_t Seek(void* opaque, std::int64_t offset, int whence)
    {
        const int fd = static_cast<OutputFile*>(opaque)->fd_;
        if (whence & AVSEEK_SIZE) {
            struct stat info {};
            return ::fstat(fd, &info) == 0 ? info.st_size : AVERROR(errno);
        }
        const off_t at = ::lseek(fd, offset, whence & ~AVSEEK_FORCE);
        return at < 0 ? AVERROR(errno) : at;
    }

private:
    int fd_ = -1;
};

// A MIDI packet held back so that later messages of the same tick join it: a stream's
// packets must have rising time stamps.
struct PendingMidi {
    bool held = false;
    std::int64_t tick = 0;
    std::vector<std::uint8_t> data;
};

class FfmpegAviWriter final : public AviWriter {
public:
    ~FfmpegAviWriter() override { Finish(nullptr); }

    bool Create(const std::string& path, std::string* error);

    int AddStream(StreamFormatPtr format, std::string* error) override;
    bool Write(int stream, const std::uint8_t* data, std::size_t size, MediaTime startTime,
               MediaTime endTime, bool keyFrame, std::string* error) override;
    bool Finish(std::string* error) override;

private:
    bool WriteHeader(std::string* error);
    bool WriteTicks(int stream, const std::uint8_t* data, std::size_t size, std::int64_t tick,
                    std::int64_t duration, bool keyFrame, std::string* error);
    bool WriteTrailer(std::string* error);
    bool MarkMidiStreams(std::string* error);

    OutputFile file_;
    IoContextPtr io_;
    OutputFormatContextPtr muxer_;
    std::string path_;

    // Guarded by mutex_: everything below, and the muxer above once created.
    std::mutex mutex_;
    std::vector<StreamFormatPtr> formats_;
    std::vector<std::int64_t> lastTick_;  // per stream, in the muxer's stream time base
    std::vector<PendingMidi> pendingMidi_;
    bool headerWritten_ = false;
    bool finished_ = false;
    bool failed_ = false;  // a write failed: the file is finished as far as it can be
};

bool FfmpegAviWriter::Create(const std::string& path, std::string* error)
{
    path_ = path;
    if (!file_.Open(path, error))
        return false;
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kIoBufferSize));
    if (!buffer)
        return Fail(error, "avi writer: out of memory");
    io_.reset(avio_alloc_context(buffer, kIoBufferSize, 1, &file_, nullptr, &OutputFile::Write,
                                 &OutputFile::Seek));
    if (!io_) {
        av_free(buffer);
        return Fail(error, "avi writer: out of memory");
    }
    AVFormatContext* muxer = nullptr;
    if (int code = avformat_alloc_output_context2(&muxer, nullptr, "avi", nullptr); code < 0)
        return FfmpegFailure(error, "avi writer: no avi muxer", code);
    muxer_.reset(muxer);
    muxer_->pb = io_.get();
    muxer_->flags |= AVFMT_FLAG_CUSTOM_IO;
    return true;
}

int FfmpegAviWriter::AddStream(StreamFormatPtr format, std::string* error)
{
    std::lock_guard lock(mutex_);
    if (!format)
        return Fail(error, "avi writer: no stream format"), -1;
    if (headerWritten_ || finished_)
        return Fail(error, "avi writer: streams must be added before the first packet"), -1;
    AVStream* stream = avformat_new_stream(muxer_.get(), nullptr);
    if (!stream)
        return Fail(error, "avi writer: out of memory"), -1;
    if (int code = avcodec_parameters_copy(stream->codecpar, &format->parameters()); code < 0)
        return FfmpegFailure(error, "avi writer: copying the stream format failed", code), -1;
    stream->time_base = format->timeBase();
    formats_.push_back(std::move(format));
    lastTick_.push_back(AV_NOPTS_VALUE);
    pendingMidi_.emplace_back();
    return stream->index;
}

bool FfmpegAviWriter::WriteHeader(std::string* error)
{
    if (headerWritten_)
        return true;
    if (formats_.empty())
        return Fail(error, "avi writer: the file has no stream");
    AVDictionary* options = nullptr;
    // Our bitmaps are bottom-up: store them as they come, with a positive height.
    av_dict_set(&options, "flipped_raw_rgb", "1", 0);
    const int code = avformat_write_header(muxer_.get(), &options);
    av_dict_free(&options);
    if (code < 0)
        return FfmpegFailure(error, "avi writer: writing the headers failed", code);
    headerWritten_ = true;
    return true;
}

bool FfmpegAviWriter::Write(int stream, const std::uint8_t* data, std::size_t size,
                            MediaTime startTime, MediaTime endTime, bool keyFrame,
                            std::string* error)
{
    std::lock_guard lock(mutex_);
    if (finished_)
        return Fail(error, "avi writer: the file is already finished");
    if (failed_)
        return Fail(error, "avi writer: an earlier packet could not be written");
    if (stream < 0 || stream >= static_cast<int>(formats_.size()))
        return Fail(error, "avi writer: no stream " + std::to_string(stream));
    if (!data && size)
        return Fail(error, "avi writer: no packet data");
    if (size > static_cast<std::size_t>(INT32_MAX / 2))
        return Fail(error, "avi writer: packet too large");
    if (!WriteHeader(error))
        return false;
    // An empty audio packet stands for no sound at all: nothing to store.
    if (size == 0 && formats_[stream]->kind() == StreamFormat::Kind::Audio)
        return true;
    // The muxer may have changed the time base while writing the headers.
    const AVRational base = muxer_->streams[stream]->time_base;
    const std::int64_t tick = ToStreamTicks(startTime, base);
    const std::int64_t duration = std::max<std::int64_t>(ToStreamTicks(endTime, base) - tick, 0);
    if (formats_[stream]->kind() != StreamFormat::Kind::Midi)
        return WriteTicks(stream, data, size, tick, duration, keyFrame, error);
    PendingMidi& pending = pendingMidi_[stream];
    if (pending.held && tick <= pending.tick) {
        pending.data.insert(pending.data.end(), data, data + size);
        return true;
    }
    if (pending.held &&
        !WriteTicks(stream, pending.data.data(), pending.data.size(), pending.tick, 0, true, error))
        return false;
    pending.held = true;
    pending.tick = tick;
    pending.data.assign(data, data + size);
    return true;
}

// tick and duration are in the muxer's time base of the stream.
bool FfmpegAviWriter::WriteTicks(int stream, const std::uint8_t* data, std::size_t size,
                                 std::int64_t tick, std::int64_t duration, bool keyFrame,
                                 std::string* error)
{
    const bool audio = formats_[stream]->kind() == StreamFormat::Kind::Audio;
    std::int64_t& last = lastTick_[stream];
    // The muxer stores a non-audio stream as one chunk per tick and fills later gaps with
    // empty chunks, but not one before the first: a stream that starts late gets its
    // lead-in here, or a reader would play it early.
    if (!audio && last == AV_NOPTS_VALUE && tick > 0) {
        last = -1;
        if (!WriteTicks(stream, nullptr, 0, 0, 0, true, error))
            return false;
    }
    while (!audio && last != AV_NOPTS_VALUE && tick - last > kLongestGapTicks)
        if (!WriteTicks(stream, nullptr, 0, last + kLongestGapTicks, 0, true, error))
            return false;
    if (last != AV_NOPTS_VALUE && tick <= last)
        tick = last + 1;
    last = tick;
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return Fail(error, "avi writer: out of memory");
    if (size) {
        if (int code = av_new_packet(packet.get(), static_cast<int>(size)); code < 0)
            return FfmpegFailure(error, "avi writer: out of memory", code);
        std::memcpy(packet->data, data, size);
    }
    packet->stream_index = stream;
    packet->pts = packet->dts = tick;
    packet->duration = audio ? duration : std::max<std::int64_t>(duration, 1);
    if (keyFrame)
        packet->flags |= AV_PKT_FLAG_KEY;
    if (int code = av_interleaved_write_frame(muxer_.get(), packet.get()); code < 0) {
        failed_ = true;
        return FfmpegFailure(error, "avi writer: writing a packet failed", code);
    }
    return true;
}

bool FfmpegAviWriter::Finish(std::string* error)
{
    std::lock_guard lock(mutex_);
    if (finished_)
        return true;
    finished_ = true;
    if (!muxer_)
        return Fail(error, "avi writer: the file was never opened");
    bool ok = WriteHeader(error);
    for (std::size_t i = 0; ok && i < pendingMidi_.size(); ++i)
        if (pendingMidi_[i].held)
            ok = WriteTicks(static_cast<int>(i), pendingMidi_[i].data.data(),
                            pendingMidi_[i].data.size(), pendingMidi_[i].tick, 0, true, error);
    // The trailer goes out even after a failed packet, so that what was written plays.
    std::string trailerError;
    const bool trailer = headerWritten_ && WriteTrailer(ok ? error : &trailerError);
    ok = ok && trailer && MarkMidiStreams(error);
    file_.Close();
    return ok;
}

bool FfmpegAviWriter::WriteTrailer(std::string* error)
{
    if (int code = av_write_trailer(muxer_.get()); code < 0)
        return FfmpegFailure(error, "avi writer: writing the index failed", code);
    avio_flush(io_.get());
    if (io_->error < 0)
        return FfmpegFailure(error, "avi writer: writing the file failed", io_->error);
    return true;
}

// libavformat has no MIDI codec: the stream went out as data ("dats") and becomes "mids".
bool FfmpegAviWriter::MarkMidiStreams(std::string* error)
{
    std::vector<std::uint8_t> start(kHeaderSearchBytes);
    const ssize_t read = ::pread(file_.fd(), start.data(), start.size(), 0);
    if (read < 0)
        return Fail(error,
                    "avi writer: reading back \"" + path_ + "\" failed: " + std::strerror(errno));
    start.resize(static_cast<std::size_t>(read));
    for (std::size_t i = 0; i < formats_.size(); ++i) {
        if (formats_[i]->kind() != StreamFormat::Kind::Midi)
            continue;
        const std::optional<std::size_t> at = FindStreamTypeField(start, static_cast<int>(i));
        if (!at)
            return Fail(error, "avi writer: the MIDI stream header was not found");
        if (::pwrite(file_.fd(), "mids", 4, static_cast<off_t>(*at)) != 4)
            return Fail(error, "avi writer: marking the MIDI stream failed: " +
                                   std::string(std::strerror(errno)));
    }
    return true;
}

}  // namespace

std::unique_ptr<AviWriter> AviWriter::Create(const std::string& path, std::string* error)
{
    auto writer = std::make_unique<FfmpegAviWriter>();
    if (!writer->Create(path, error))
        return nullptr;
    return writer;
}

}  // namespace av
