#include "media/BufferFrame.h"

#include "media/PathUtils.h"
#include "media/image/PictureFile.h"
#include "platform/text/HeapText.h"
#include "platform/win/Files.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

// Whether a copy of only the first byteCount bytes takes the source's origin along:
// storing a frame does, reading one leaves the caller's origin as it was.
enum class ByteCopyOrigin { Take, Keep };

// The copy rule: the image that ends up as the target, T itself or a new clone, with T
// released when it is not kept. Copies between matching images reuse T's pixels.
Image* CopyByRule(const Image* source, Image* target, DWORD byteCount, ByteCopyOrigin origin)
{
    if (!source) {
        delete target;
        return nullptr;
    }
    if (!target)
        return source->Clone().release();
    if (!ImagesMatch(*source, *target)) {
        delete target;
        return source->Clone().release();
    }
    if (source == target)
        return target;
    // Matching images share their row padding, so the pixel data is one block of
    // imageSize() bytes in both; a producer's count never reaches past either.
    const std::size_t whole = std::min(source->imageSize(), target->imageSize());
    const std::size_t count = byteCount != 0 ? std::min<std::size_t>(byteCount, whole) : whole;
    if (source->hasData() && target->hasData())
        std::memcpy(target->data(), source->data(), count);
    if (byteCount == 0 || origin == ByteCopyOrigin::Take)
        target->setOrigin(source->origin());
    return target;
}

// Fits the source's pixels into the target's size and channel count, linearly resized.
void FitInto(const Image& source, Image& target)
{
    if (!source.hasData() || !target.hasData())
        return;
    cv::Mat from = source.fullMat();
    cv::Mat to = target.fullMat();
    cv::Mat converted;
    if (source.channels() != target.channels()) {
        cv::cvtColor(from, converted,
                     target.channels() == 1 ? cv::COLOR_BGR2GRAY : cv::COLOR_GRAY2BGR);
        from = converted;
    }
    if (from.size() == to.size())
        from.copyTo(to);
    else
        cv::resize(from, to, to.size(), 0, 0, cv::INTER_LINEAR);
}

// The name's extension with its full stop (".bmp"), which picks the image format; empty
// when the name has none.
std::string ExtensionOf(const char* name)
{
    const char* separator = FindLastPathSeparator(name);
    const char* dot = std::strrchr(separator ? separator : name, '.');
    return dot ? dot : "";
}

// The image library's own file writer does not report a write that fails, so a full disk
// would leave a picture cut short that is taken for a written one: every write and the
// close are checked here instead.
bool WriteWholeFile(const char* path, const std::vector<uchar>& bytes)
{
    UniqueFile file(OpenFile(path, "wb"));
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    if (std::fclose(file.release()) == 0 && written)
        return true;
    std::remove(ToNativePath(path).c_str());
    return false;
}

}  // namespace

CBufferFrame::~CBufferFrame()
{
    if (FrameRecord* held = HeldRecord())
        delete held->image;
    ReplaceHeapText(fileName_, nullptr);
}

FrameRecord* CBufferFrame::HeldRecord()
{
    if (!data_ || dataSize_ != sizeof(FrameRecord))
        return nullptr;
    return reinterpret_cast<FrameRecord*>(data_);
}

bool CBufferFrame::GetData(void** data, DWORD* size)
{
    CriticalSectionLock hold(lock_);
    const FrameRecord* held = HeldRecord();
    if (!held || !held->image)
        return false;
    if (data)
        *data = held->image;
    if (size)
        *size = sizeof(Image);
    return true;
}

bool CBufferFrame::SetData(const void* bytes, DWORD length)
{
    CriticalSectionLock hold(lock_);
    if (FrameRecord* held = HeldRecord()) {
        delete held->image;
        held->image = nullptr;
    }
    return CBuffer::SetData(bytes, length);
}

bool CBufferFrame::SetImage(Image* image)
{
    CriticalSectionLock hold(lock_);
    FrameRecord* held = HeldRecord();
    if (!held) {
        FreeData();
        data_ = new (std::nothrow) BYTE[sizeof(FrameRecord)];
        if (!data_)
            return false;
        held = new (data_) FrameRecord{};
        dataSize_ = sizeof(FrameRecord);
    }
    if (held->image != image)
        delete held->image;
    held->image = image;
    SignalAll();
    return true;
}

bool CBufferFrame::SetFrame(const FrameRecord* frame)
{
    CriticalSectionLock hold(lock_);
    if (!frame)
        return false;
    const FrameRecord* before = HeldRecord();
    Image* previous = before ? before->image : nullptr;
    // A record block is reused at its size, so this cannot fail while previous is held.
    if (!CBuffer::SetData(frame, sizeof(FrameRecord)))
        return false;
    FrameRecord* held = HeldRecord();
    held->image = CopyByRule(frame->image, previous, frame->byteCount, ByteCopyOrigin::Take);
    return true;
}

bool CBufferFrame::GetFrame(FrameRecord* frame)
{
    CriticalSectionLock hold(lock_);
    const FrameRecord* held = HeldRecord();
    if (!frame || !held)
        return false;
    frame->image = CopyByRule(held->image, frame->image, held->byteCount, ByteCopyOrigin::Keep);
    frame->reserved = held->reserved;
    frame->byteCount = held->byteCount;
    frame->timeStamp = held->timeStamp;
    return true;
}

bool CBufferFrame::GetFrameScaled(FrameRecord* frame)
{
    CriticalSectionLock hold(lock_);
    const FrameRecord* held = HeldRecord();
    if (!frame || !held || !held->image)
        return false;
    const Image& source = *held->image;
    if (!frame->image) {
        frame->image = source.Clone().release();
    } else if (frame->image != &source) {
        FitInto(source, *frame->image);
        frame->image->setOrigin(source.origin());
    }
    frame->reserved = held->reserved;
    frame->byteCount = 0;
    frame->timeStamp = held->timeStamp;
    return true;
}

bool CBufferFrame::SetFileName(const char* fileName)
{
    CriticalSectionLock hold(lock_);
    ReplaceHeapText(fileName_, fileName);
    return true;
}

bool CBufferFrame::GetFileName(char* buffer, DWORD length)
{
    CriticalSectionLock hold(lock_);
    return CopyText(fileName_, buffer, length);
}

bool CBufferFrame::LoadFile()
{
    CriticalSectionLock hold(lock_);
    if (!fileName_ || !*fileName_)
        return false;
    ImagePtr picture = LoadPicture(fileName_);
    if (!SetImage(picture.get()))
        return false;
    picture.release();
    return true;
}

bool CBufferFrame::Close()
{
    CriticalSectionLock hold(lock_);
    SetData(nullptr, 0);
    return CBuffer::Close();
}

bool CBufferFrame::SaveImage()
{
    CriticalSectionLock hold(lock_);
    const FrameRecord* held = HeldRecord();
    if (!fileName_ || !*fileName_ || !held || !held->image || !held->image->hasData())
        return false;
    // The held pixels stay as they are: a bottom-up frame is flipped into a copy.
    const cv::Mat stored = held->image->fullMat();
    cv::Mat upright;
    if (held->image->origin() == ImageOrigin::BottomLeft)
        cv::flip(stored, upright, 0);
    else
        upright = stored;
    std::vector<uchar> encoded;
    try {
        if (!cv::imencode(ExtensionOf(fileName_), upright, encoded))
            return false;
    } catch (const cv::Exception&) {
        return false;
    }
    return WriteWholeFile(fileName_, encoded);
}
