#pragma once

#include "media/Buffer.h"
#include "media/FrameRecord.h"
#include "media/image/Image.h"
#include "platform/win/Types.h"

// An image source: a CBuffer whose block holds one FrameRecord, the latest frame handed
// over between a producer (a graph's streaming thread, file loading) and its readers
// (previews, the composition), plus the file the image can be loaded from.
//
// The block counts as a frame record exactly when its size is that of a FrameRecord; the
// image that record points to belongs to the source. Frames are copied in and out under
// the buffer's lock, so a reader always gets a record and an image that belong together.
// While the frame size stays the same, storing and reading reuse the block and both
// images and copy pixels only.
//
// Copy rule between a source image S and a target image T (the held image and the
// caller's, one way or the other): no S releases T and gives no image; no T gives a clone
// of S; S and T matching (ImagesMatch) copies S's pixels into T and keeps T; otherwise T
// is released and replaced by a clone of S.
//
// Threads: any thread; Close before destroying (the destructor also frees what is left).
class CBufferFrame : public CBuffer {
public:
    CBufferFrame() = default;
    ~CBufferFrame() override;

    // Hands out the held image (still owned by the source) and sizeof(Image); false, with
    // the outs untouched, when there is no held image.
    bool GetData(void** data, DWORD* size) override;
    // CBuffer::SetData, releasing the held image first; null and 0 empty the source.
    bool SetData(const void* bytes, DWORD length);

    // Takes ownership of image (null allowed) as the held frame image, keeping the rest
    // of the record, or making a zero-filled record when the block is not one. Signals
    // the consumers without counting a change. False, without taking the image, when
    // the record cannot be allocated.
    bool SetImage(Image* image);
    // Stores a copy of the caller's record and of its image by the copy rule (the caller's
    // image is S). Counts one change and signals. The caller keeps its record and image.
    // A non-zero byteCount copies at most the pixel data both images have.
    bool SetFrame(const FrameRecord* frame);
    // Copies the held record and, by the copy rule (the held image is S), its image into
    // the caller's record; the caller's image may be released or replaced, the caller owns
    // what ends up there. False when there is no record or no held frame.
    bool GetFrame(FrameRecord* frame);
    // As GetFrame, but fits the held image to the size of the caller's image (linear
    // resizing, converting between 1 and 3 channels when they differ); the caller's
    // byteCount becomes 0. A caller without image gets a clone. False, with the caller's
    // record untouched, when there is no held image.
    bool GetFrameScaled(FrameRecord* frame);

    // Stores a copy of the file name; null clears it. True.
    bool SetFileName(const char* fileName);
    // As CBuffer::GetName, for the file name.
    bool GetFileName(char* buffer, DWORD length);
    // Loads the image file as the held image (LoadPicture: a BMP, JPEG or PNG picture of
    // at most 100 megapixels, 8-bit, 1 or 3 channels as stored, top-left origin). False
    // when there is no file name; a file that cannot be read, or is no such picture, still
    // gives true and leaves a record without image.
    bool LoadFile();

    // Writes the held image to the file named by the file name, in the format its
    // extension names (BMP for ".bmp"), upright whatever the image's origin. True when
    // the whole file was written and closed; false when there is no file name, no held
    // image, the file cannot be opened, or a write or the close fails (a full disk): a
    // file cut short is then removed, since it holds no picture.
    bool SaveImage();

    // Empties the source, then CBuffer::Close. True.
    bool Close();

private:
    // The block as a frame record, or null when the block is not one.
    FrameRecord* HeldRecord();

    // Guarded by lock_:
    char* fileName_ = nullptr;
};
