#pragma once

#include "media/image/Image.h"

#include <string>
#include <vector>

// The frames on which the fast composition steps are compared with the reference ones
// (tests/creator/engine/reference): 3 channels, bottom-up, as the composition gets them.
struct NamedFrame {
    std::string name;
    ImagePtr frame;
};

// Frames of the sample template at several sizes (stretched without blending, so that flat
// areas stay flat, and softened, so that edges carry mixed colours), the tests' synthetic
// template frame, a gradient, tiny pictures whose windows are all partial, and noise
// frames whose colours fill the cluster table.
std::vector<NamedFrame> EquivalenceFrames();

// Every byte drawn at random from a fixed seed: thousands of colours far apart. With runs,
// half the pixels repeat the colour of the pixel before them.
ImagePtr NoiseFrame(int width, int height, unsigned seed, bool runs = false);

// The same width, height, channels and bytes in every row (padding aside).
bool SameBytes(const Image& a, const Image& b);
