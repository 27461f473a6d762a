#include "platform/win/ProfileText.h"

#include "platform/text/NoCase.h"

#include <algorithm>
#include <unordered_set>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Names given by callers are trimmed like the stored ones, so " Tab" finds [Tab].
bool SameName(std::string_view stored, std::string_view wanted)
{
    return EqualNoCase(stored, Trim(wanted));
}

std::optional<std::string_view> HeaderName(std::string_view body)
{
    body = Trim(body);
    if (body.empty() || body.front() != '[') {
        return std::nullopt;
    }
    const auto close = body.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(body.substr(1, close - 1));
}

struct KeyLine {
    std::string_view name;
    std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view body)
{
    const auto trimmed = Trim(body);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') {
        return std::nullopt;
    }
    const auto equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const auto name = Trim(trimmed.substr(0, equals));
    if (name.empty()) {
        return std::nullopt;
    }
    return KeyLine{name, Trim(trimmed.substr(equals + 1))};
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Reading trims a value and takes one pair of enclosing quotes off it; such a value is
// written in quotes, which reading then takes off instead.
bool ReadingWouldChange(std::string_view value)
{
    return !value.empty() &&
           (IsBlank(value.front()) || IsBlank(value.back()) ||
            (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
             value.back() == value.front()));
}

bool HasZero(std::string_view name)
{
    return name.find('\0') != std::string_view::npos;
}

// Keeps the first spelling of each name, in order; `seen` holds the folded names so far,
// so that a list of n names takes time in proportion to n. A name holding a zero byte is
// left out: lists end each name with a zero, and no caller can ask for it by name.
void AddOnce(std::vector<std::string>& names, std::unordered_set<std::string>& seen,
             std::string_view name)
{
    if (!HasZero(name) && seen.insert(FoldNoCase(name)).second) {
        names.emplace_back(name);
    }
}

}  // namespace

ProfileText::ProfileText(std::string_view text)
{
    if (text.starts_with(kByteOrderMark)) {
        byteOrderMark_ = kByteOrderMark;
        text.remove_prefix(kByteOrderMark.size());
    }
    while (!text.empty()) {
        const auto newline = text.find('\n');
        Line line;
        if (newline == std::string_view::npos) {
            line.body = text;
            text = {};
        } else {
            const bool crlf = newline > 0 && text[newline - 1] == '\r';
            const auto bodySize = crlf ? newline - 1 : newline;
            line.body = text.substr(0, bodySize);
            line.end = text.substr(bodySize, newline + 1 - bodySize);
            text.remove_prefix(newline + 1);
        }
        if (lineEnd_.empty()) {
            lineEnd_ = line.end;
        }
        lines_.push_back(std::move(line));
    }
    // New files get the platform's own line end.
    if (lineEnd_.empty()) {
        lineEnd_ = "\r\n";
    }
}

std::string ProfileText::text() const
{
    std::string text = byteOrderMark_;
    for (const auto& line : lines_) {
        text += line.body;
        text += line.end;
    }
    return text;
}

std::optional<std::string> ProfileText::value(std::string_view section, std::string_view key) const
{
    const auto range = findSection(section);
    if (!range) {
        return std::nullopt;
    }
    const auto index = findKey(*range, key);
    if (!index) {
        return std::nullopt;
    }
    return std::string(Unquote(ParseKeyLine(lines_[*index].body)->value));
}

std::vector<std::string> ProfileText::sectionNames() const
{
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const auto& line : lines_) {
        if (const auto name = HeaderName(line.body)) {
            AddOnce(names, seen, *name);
        }
    }
    return names;
}

std::vector<std::string> ProfileText::keyNames(std::string_view section) const
{
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    if (const auto range = findSection(section)) {
        for (auto i = range->header + 1; i < range->end; ++i) {
            if (const auto key = ParseKeyLine(lines_[i].body)) {
                AddOnce(names, seen, key->name);
            }
        }
    }
    return names;
}

bool ProfileText::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    const auto trimmedKey = Trim(key);
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) || HasZero(section) ||
        HasZero(key) || section.find(']') != std::string_view::npos || trimmedKey.empty() ||
        trimmedKey.find('=') != std::string_view::npos || trimmedKey.front() == ';' ||
        trimmedKey.front() == '[') {
        return false;
    }
    std::string body(key);
    body += '=';
    if (ReadingWouldChange(value)) {
        body += '"';
        body += value;
        body += '"';
    } else {
        body += value;
    }

    const auto range = findSection(section);
    if (!range) {
        insertLine(lines_.size(), "[" + std::string(section) + "]");
        insertLine(lines_.size(), std::move(body));
        return true;
    }
    if (const auto index = findKey(*range, key)) {
        lines_[*index].body = std::move(body);
        return true;
    }
    auto position = range->end;
    while (position > range->header + 1 && Trim(lines_[position - 1].body).empty()) {
        --position;
    }
    insertLine(position, std::move(body));
    return true;
}

void ProfileText::removeKey(std::string_view section, std::string_view key)
{
    const auto range = findSection(section);
    if (!range) {
        return;
    }
    const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(range->header + 1);
    const auto last = lines_.begin() + static_cast<std::ptrdiff_t>(range->end);
    const auto kept = std::remove_if(first, last, [&](const Line& line) {
        const auto parsed = ParseKeyLine(line.body);
        return parsed && SameName(parsed->name, key);
    });
    lines_.erase(kept, last);
}

void ProfileText::removeSection(std::string_view section)
{
    while (const auto range = findSection(section)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
    }
}

std::optional<ProfileText::Range> ProfileText::findSection(std::string_view section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = HeaderName(lines_[i].body);
        if (name && SameName(*name, section)) {
            return sectionAt(i);
        }
    }
    return std::nullopt;
}

ProfileText::Range ProfileText::sectionAt(std::size_t header) const
{
    auto end = header + 1;
    while (end < lines_.size() && !HeaderName(lines_[end].body)) {
        ++end;
    }
    return Range{header, end};
}

std::optional<std::size_t> ProfileText::findKey(const Range& range, std::string_view key) const
{
    for (auto i = range.header + 1; i < range.end; ++i) {
        const auto parsed = ParseKeyLine(lines_[i].body);
        if (parsed && SameName(parsed->name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

// A line added after a last line that had no line end gives that line one first, so the
// new line does not run on from it. A carriage return that ended the file stays part of
// that line: a line feed alone after it would read back as one line end of both.
void ProfileText::insertLine(std::size_t position, std::string body)
{
    if (position > 0 && lines_[position - 1].end.empty()) {
        Line& last = lines_[position - 1];
        last.end = last.body.ends_with('\r') ? "\r\n" : lineEnd_;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position),
                  Line{std::move(body), lineEnd_});
}
