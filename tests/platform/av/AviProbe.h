#pragma once

#include <string>
#include <vector>

// What libavformat reads back from a written file, independently of the writer.
struct ProbedStream {
    std::string type;   // "video", "audio", "data" or "unknown"
    std::string codec;  // libavcodec's short name, "none" when there is none
    int sampleRate = 0;
    int channels = 0;
    int width = 0;
    int height = 0;
    long long packets = 0;       // packets read through the file
    double durationSeconds = 0;  // from the last packet's end
};

// False, with FFmpeg's reason, when the file does not open as a media file.
bool ProbeFile(const std::string& path, std::vector<ProbedStream>& streams, std::string* error);

// A fresh, empty folder for one test's files.
std::string TestFolder(const std::string& name);
