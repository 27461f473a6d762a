#include "platform/dshow/FailureReport.h"

#include <cstdio>
#include <string>

void ReportFailure(std::string_view subsystem, std::string_view reason)
{
    std::string line(subsystem);
    line += ": ";
    line += reason.empty() ? std::string_view("failed for an unknown reason") : reason;
    line += '\n';
    // One write, so that lines of several streaming threads never interleave.
    std::fwrite(line.data(), 1, line.size(), stderr);
}
