#pragma once

#include <string>

// The ffmpeg command-line tool, as the benchmarks run it beside our own code: to make
// their inputs and to time the same work done by the tool.

// Runs a command line through the shell; true when it exits with 0.
bool RunCommand(const std::string& command);

// Writes `frames` frames of the moving test pattern at 640 x 480 and 25 frames a second
// to path, encoded with codecArguments ("-c:v rawvideo -pix_fmt bgr24", say); true when
// the tool succeeded.
bool MakeTestPattern(const std::string& path, int frames, const std::string& codecArguments);

// Runs the tool with -benchmark on arguments (inputs, outputs and their options) and
// gives the time it reports for its own work ("rtime", without the process start), or -1.
double FfmpegSeconds(const std::string& arguments);
