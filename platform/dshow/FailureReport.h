#pragma once

#include <string_view>

// Where the reasons of the graph's failures go. The graph's events carry a code only
// (EC_ERRORABORT and the like), so a filter that fails hands the precise reason it got
// (an FFmpeg message, a file the system refused) to this one helper, which writes it to
// the program's standard error as one line "<subsystem>: <reason>", for instance
// "avi mux: avi writer: cannot create "/v/x.avi": No such file or directory". An empty
// reason is reported as an unknown one. Any thread.
void ReportFailure(std::string_view subsystem, std::string_view reason);
