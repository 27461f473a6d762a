#pragma once

#include "creator/engine/CompositionTimes.h"
#include "creator/engine/RotatedImageSet.h"
#include "creator/engine/StepClock.h"
#include "media/BufferFrame.h"
#include "media/image/Image.h"
#include "media/image/RowWorkers.h"

#include <opencv2/core.hpp>

#include <memory>
#include <string>

struct RegionSearchScratch;

// The per-creation picture work of the video creator: the pictures prepared once when a
// creation opens (background, work images, the 16 turned faces) and the composition of
// every template frame into the output picture.
//
// Row order: every picture here is bottom-up (the first stored row is the bottom line of
// the picture as shown), as video frames are; Prepare turns the loaded background and
// face pictures over once so that they share that order, and all text is drawn so that
// it reads upright in it.
//
// Ownership: the sources are the caller's and must outlive the composition; every work
// image belongs to the composition.
// Threads: SetSources, Prepare, Start, Release and SetFaceSizePercent run on the thread
// that builds the graph, never while a frame is being composed (the graph is stopped
// first). Compose runs on the streaming thread, one frame at a time; it holds the video
// source's lock from entry to exit except for a short hand-over on composed frames. The
// picture work of a frame is shared with a few worker threads that the composition keeps;
// Compose returns only once they are done with the frame.
class CFrameComposition {
public:
    // What a frame shows.
    enum class Mode { Intro, Composed, Ending };

    CFrameComposition();
    ~CFrameComposition();
    CFrameComposition(const CFrameComposition&) = delete;
    CFrameComposition& operator=(const CFrameComposition&) = delete;

    // The image sources of the main dialog: the background picture, the face picture, the
    // template preview frame (its size is the size of every work image) and the output
    // preview, into whose held image every frame is composed. Any may be null.
    void SetSources(CBufferFrame* background, CBufferFrame* face, CBufferFrame* templ,
                    CBufferFrame* video);

    // Frame counters for a new creation: frames done 0, total and end frame = total (the
    // template's frame count minus one).
    void Start(int total);

    // Makes what the composition of one creation needs, from the sources as they are now:
    // the output picture and the work images of the template frame's size, the background
    // stretched to that size, and the turned faces cut out of the face picture's flat
    // backdrop. Whatever cannot be made only narrows the work (no work images: every frame
    // passes unchanged; no background: the template's own one is used; no face: none is
    // placed). Pictures of an earlier creation are released first; the counters stay.
    void Prepare();

    // Frees every work image and the turned faces and zeroes the counters; the sources and
    // the face size percent stay.
    void Release();

    // Composes one frame in place. frame: the sample's picture, 8 bits, its pixels in the
    // sample buffer (bottom-up); sampleSize: the sample buffer's byte count; time: the
    // sample's start in seconds. When the frame matches the output picture (width, height,
    // channels and byte count) and the work images exist, the frame and the output picture
    // both end up holding the intro card, the composed picture or the ending card, and the
    // frame's index is returned (frames done grows by one). Otherwise the frame is left
    // unchanged and -1 is returned.
    int Compose(Image& frame, long sampleSize, double time);

    // Between 100 and 200 from the options; 120 unless set.
    void SetFaceSizePercent(int percent) { faceSizePercent_ = percent; }
    int faceSizePercent() const { return faceSizePercent_; }

    int framesDone() const { return framesDone_; }
    int total() const { return total_; }
    int endFrame() const { return endFrame_; }
    const CRotatedImageSet& faces() const { return faces_; }
    // The time spent per step by the last Prepare and the frames composed since Start.
    const CompositionTimes& times() const { return times_; }
    // The threads that work on a frame, the streaming thread included.
    int threadCount() const { return workers_.threadCount(); }

    // Which mode frame n at time t gets.
    static Mode ChooseMode(int n, double t, int endFrame);
    // The end frame after composing frame n: lowered to total - n once, the first time a
    // composed frame after the intro comes before half the total.
    static int LowerEndFrame(int n, int total, int endFrame);
    // The seconds the intro card announces at time t: what is left to 5 seconds, rounded
    // half up.
    static int IntroSeconds(double t);
    // The seconds the ending card announces: the time at which the total would be reached
    // at the pace so far, minus now, rounded half up; 0 before the first frame and once the
    // total is passed.
    static int EndingSeconds(double t, int total, int n);
    // Index 0 to 15 of the turned face that answers a face direction in degrees.
    static int FaceDirectionIndex(float angle);
    // The face region scaled by percent about its centre (integer arithmetic).
    static cv::Rect ScaledFaceRect(const cv::Rect& region, int percent);

private:
    void ReleasePictures();
    void PrepareWorkImages();
    void PrepareBackground();
    void PrepareFaces();

    // The output picture and the work images all match the frame.
    bool CanCompose(const Image& frame, long sampleSize, const Image* output) const;
    void ComposeFrame(Image& frame, Image& output, int n, double t, StepClock& clock);

    // Draws the face of the given direction, scaled, into region of the output picture.
    void PlaceFace(const Image& face, const Image& mask, const cv::Rect& region, Image& output);
    // The card with the given first line, stretched over the output picture. The card
    // changes only with its first line, so the stretched picture of the last one is kept.
    void DrawCard(Image& output, const char* firstLine);

    // Set up before a creation, read by Compose:
    CBufferFrame* backgroundSource_ = nullptr;
    CBufferFrame* faceSource_ = nullptr;
    CBufferFrame* templateSource_ = nullptr;
    CBufferFrame* videoSource_ = nullptr;
    int faceSizePercent_ = 120;
    ImagePtr background_;  // the background at frame size, bottom-up; may be absent
    CRotatedImageSet faces_;

    // Owned by the streaming thread while the graph runs:
    ImagePtr subjectMask_;  // frame size, 1 channel
    ImagePtr faceMask_;     // frame size, 1 channel
    ImagePtr frameCopy_;    // the raw frame while its buffer holds the analysed one
    ImagePtr scratchA_;     // fill masks, (width + 2) x (height + 2)
    ImagePtr scratchB_;
    ImagePtr card_;           // 320 x 240, the frame's channels
    ImagePtr stretchedCard_;  // the last card over the output picture
    std::string stretchedCardLine_;
    std::unique_ptr<RegionSearchScratch> searchScratch_;  // the face-spot search's masks
    int framesDone_ = 0;
    int total_ = 0;
    int endFrame_ = 0;

    // Used by Prepare (turning the faces) and by Compose, never at once:
    RowWorkers workers_;
    CompositionTimes times_;
};

// Draws one line of text on a bottom-up picture so that it reads upright, its baseline on
// stored row height - y (y - 1 lines below the top as shown), starting at column x; the
// plain Hershey font at scale 1, 1 pixel thick. Gives false, drawing nothing, when the
// picture, its pixels or the text are missing.
bool DrawCaption(Image* image, const char* text, int x, int y, const cv::Scalar& colour);
