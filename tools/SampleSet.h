#pragma once

#include <array>
#include <string>
#include <string_view>

// The sample inputs, by path under the folder the programs run from (the folders the
// creator looks in beside itself). tools/CMakeLists.txt lists the same paths as the
// build's outputs.
inline constexpr std::string_view kSampleTemplate = "VideoTemplate/Dancer.avi";
inline constexpr std::string_view kSampleFace = "FaceImage/Face.bmp";
inline constexpr std::string_view kSampleBackground = "Background/Garden.jpg";
inline constexpr std::string_view kSampleWave = "Audio/Melody.wav";
inline constexpr std::string_view kSampleMidi = "Audio/Melody.mid";
inline constexpr std::array<std::string_view, 5> kSampleFiles{
    kSampleTemplate, kSampleFace, kSampleBackground, kSampleWave, kSampleMidi};

// Writes every sample file under root, creating the folders as needed and replacing
// files of the same names. The output depends on nothing but this code: the same bytes
// on every run. False, with a message naming the file, when one cannot be written.
bool WriteSampleSet(const std::string& root, std::string* error);

// Writes the template video alone: uncompressed frames (TemplateFrame) in an AVI file.
bool WriteTemplateVideo(const std::string& path, std::string* error);
