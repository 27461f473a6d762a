#include "platform/text/NoCase.h"

#include <algorithm>

namespace {

template <class Unit>
Unit FoldAscii(Unit c)
{
    return c >= Unit('A') && c <= Unit('Z') ? static_cast<Unit>(c - Unit('A') + Unit('a')) : c;
}

template <class Unit>
bool SameFolded(Unit a, Unit b)
{
    return FoldAscii(a) == FoldAscii(b);
}

}  // namespace

int CompareNoCase(std::string_view first, std::string_view second)
{
    const std::size_t common = std::min(first.size(), second.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(FoldAscii(first[i]));
        const auto y = static_cast<unsigned char>(FoldAscii(second[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (first.size() == second.size())
        return 0;
    return first.size() < second.size() ? -1 : 1;
}

bool EqualNoCase(std::string_view first, std::string_view second)
{
    return first.size() == second.size() &&
           std::equal(first.begin(), first.end(), second.begin(), SameFolded<char>);
}

bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix)
{
    return suffix.size() <= text.size() &&
           std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(),
                      SameFolded<char16_t>);
}

std::string FoldNoCase(std::string_view text)
{
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldAscii<char>);
    return folded;
}
