#include "FuzzTargets.h"

#include "creator/engine/AviAudioDelay.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr std::string_view kTarget = "avi_audio_start";
constexpr std::size_t kStartOffset = 36;  // of dwStart in a stream header

// Whether the 4 bytes at `at` can be the start field of an audio or MIDI stream header.
bool IsStartField(std::span<const std::uint8_t> file, std::size_t at)
{
    if (at < kStartOffset || at + 4 > file.size())
        return false;
    const std::uint8_t* header = file.data() + at - kStartOffset;
    return std::memcmp(header, "strh", 4) == 0 &&
           (std::memcmp(header + 8, "auds", 4) == 0 || std::memcmp(header + 8, "mids", 4) == 0);
}

}  // namespace

void FuzzAviAudioStart(std::span<const std::uint8_t> input)
{
    const std::string path = WriteScratchFile("input.avi", input);
    const int takesPatch = SetAviAudioDelay(path.c_str(), -1);
    std::vector<std::uint8_t> after = ReadFileBytes(path);
    Require(std::equal(after.begin(), after.end(), input.begin(), input.end()), kTarget,
            "asking whether a file takes the patch changes nothing");
    const int patched = SetAviAudioDelay(path.c_str(), 5000);
    Require(patched == takesPatch, kTarget, "a file is patched exactly when it can take the patch");
    after = ReadFileBytes(path);
    Require(after.size() == input.size(), kTarget, "the file keeps its size");
    const auto first = std::mismatch(after.begin(), after.end(), input.begin());
    if (first.first == after.end())
        return;
    Require(patched == 1, kTarget, "a refused file is left as it was");
    const auto changedFrom = static_cast<std::size_t>(first.first - after.begin());
    std::size_t changedTo = after.size();
    while (after[changedTo - 1] == input[changedTo - 1])
        --changedTo;
    bool inOneField = false;
    for (std::size_t at = changedFrom >= 3 ? changedFrom - 3 : 0; at <= changedFrom; ++at)
        inOneField = inOneField || (changedTo <= at + 4 && IsStartField(input, at));
    Require(inOneField, kTarget, "only the start field of one stream header changes");
}
