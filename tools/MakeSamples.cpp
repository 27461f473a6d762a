// Writes the sample inputs for trying the creator by hand into the folders it looks in
// beside itself:
//   VideoTemplate/Dancer.avi  48 uncompressed frames, 320 x 240, 5 a second: a dancer
//                             whose dark head (the face spot, with eyes and mouth) moves
//                             and turns by 22.5 degrees every second frame
//   FaceImage/Face.bmp        a face on a flat backdrop
//   Background/Garden.jpg     a 400 x 300 scene
//   Audio/Melody.wav          a 6-second tune, 22050 Hz mono 16-bit
//   Audio/Melody.mid          the same tune as a two-track Standard MIDI File
// The output depends only on this program, so the build can regenerate it at will.
//
// Usage: MakeSamples <folder>

#include "tools/SampleSet.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeSamples <folder>\n");
        return 2;
    }
    std::string error;
    if (!WriteSampleSet(argv[1], &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
