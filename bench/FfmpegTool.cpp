#include "bench/FfmpegTool.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

bool RunCommand(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

bool MakeTestPattern(const std::string& path, int frames, const std::string& codecArguments)
{
    return RunCommand("ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
                      "testsrc=size=640x480:rate=25 -frames:v " +
                      std::to_string(frames) + " " + codecArguments + " '" + path + "'");
}

double FfmpegSeconds(const std::string& arguments)
{
    const std::string command = "ffmpeg -nostdin -hide_banner -benchmark -y " + arguments + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> output(popen(command.c_str(), "r"), pclose);
    if (!output)
        return -1;
    double seconds = -1;
    char line[512];
    while (std::fgets(line, sizeof line, output.get())) {
        if (const char* at = std::strstr(line, "rtime="))
            seconds = std::atof(at + 6);
    }
    return seconds;
}
