#pragma once

#include <array>

// Where the picture work of one creation spends its time, so that the benchmarks can show
// it beside the whole creation's figures. Summed per step over the frames (or the Open)
// since the last Reset; the few clock readings per frame cost nothing next to the work.
//
// Threads: written by the thread that does the work (Prepare on the user-interface
// thread, Compose on the streaming thread), read once the graph has stopped.
class CompositionTimes {
public:
    enum Step {
        // Open:
        WorkImages,   // output picture, work images and the background at frame size
        FaceCutOut,   // the face picture's copy, turned over, and its cut-out
        FaceScaling,  // a cut-out larger than the largest face drawn scaled down to it
        FaceTurning,  // the 16 turned faces
        // Every composed frame:
        Copies,        // the raw frame kept, the base of the output picture
        Smoothing,     // edge-keeping smoothing with the clustering's streaming pass
        Quantising,    // the clustering's second pass, in place
        MarkedRegion,  // the background search
        BestRegion,    // the face-spot search
        Blends,        // the face and the figure drawn over the base
        HandOver,      // the preview's turn: unlock, Sleep(1), lock
        Caption,
        // Intro and ending frames:
        Cards,
        // The whole callback, every mode (the lock included):
        Callback,
        kStepCount
    };

    void Reset() { *this = CompositionTimes(); }
    void Add(Step step, double seconds) { seconds_[step] += seconds; }
    double Seconds(Step step) const { return seconds_[step]; }
    static const char* Name(Step step);

    int composedFrames = 0;
    int cardFrames = 0;

private:
    std::array<double, kStepCount> seconds_{};
};
