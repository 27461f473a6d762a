#pragma once

#include "support/TestMedia.h"

#include <clocale>
#include <cstdlib>
#include <string>

namespace testmedia {

// Numbers are written as a German user's programs write them (a decimal comma) while the
// object lives. The locale comes from the system, or else is compiled from the installed
// definitions into a folder of the test's own.
class DecimalCommaLocale {
public:
    DecimalCommaLocale()
    {
        if (std::setlocale(LC_NUMERIC, kName))
            return;
        const std::string command =
            "localedef -i de_DE -f UTF-8 " + folder_.path(kName) + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            return;
        setenv("LOCPATH", folder_.root().c_str(), 1);
        std::setlocale(LC_NUMERIC, kName);
    }
    ~DecimalCommaLocale()
    {
        std::setlocale(LC_NUMERIC, "C");
        unsetenv("LOCPATH");
    }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    bool active() const { return std::localeconv()->decimal_point[0] == ','; }

private:
    static constexpr const char* kName = "de_DE.UTF-8";
    TempFolder folder_;
};

}  // namespace testmedia
