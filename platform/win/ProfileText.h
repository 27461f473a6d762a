#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of a private-profile (INI) file held as its lines, each with its own line end,
// so that an edit touches only the lines it is about and every other byte of the file
// comes back out as it went in.
//
// A line whose first non-blank character is '[' and that holds a ']' is a section header;
// the name is what lies between, trimmed. A line with an '=' and a non-blank name before
// it is a key line; the name is trimmed, and so is the value. Comments (';'), blank lines,
// lines before the first header and anything else are kept and otherwise ignored. Names
// are compared with ASCII case folding, so UTF-8 names match byte for byte apart from the
// case of A to Z. Where a name occurs more than once, the first occurrence counts.
//
// Not thread-safe; one object per reader or writer.
class ProfileText {
public:
    explicit ProfileText(std::string_view text);

    // The text as it would be stored: untouched lines byte for byte.
    std::string text() const;

    // The trimmed value of key in section, with one pair of enclosing double or single
    // quotes removed; nothing when the section or the key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Every section name, first spelling of each, in file order. Names holding a zero
    // byte are left out of both lists, since a list ends each name with one.
    std::vector<std::string> sectionNames() const;

    // Every key name of section, first spelling of each, in file order; empty when the
    // section is missing.
    std::vector<std::string> keyNames(std::string_view section) const;

    // Replaces the first key line of key in section by "key=value" where it stands, or
    // adds that line after the section's last non-blank line, or appends the section
    // ("[section]" and the key line) at the end of the text. Key and value are written as
    // given, backslashes and all, except that a value which reading would change (blanks
    // at either end, or a pair of enclosing quotes) is written in double quotes, which
    // reading takes off again. False, and the text unchanged, when the entry would not
    // read back as written: a line break in any part, a zero byte in a name (name lists
    // end each name with one), a ']' in the section name, or a key that is blank, holds
    // an '=' or begins with ';' or '['.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);

    // Removes every line of key in section.
    void removeKey(std::string_view section, std::string_view key);

    // Removes every section of that name, headers and all their lines.
    void removeSection(std::string_view section);

private:
    struct Line {
        std::string body;
        std::string end;  // "\r\n", "\n", or empty for a last line without a line end.
    };

    struct Range {
        std::size_t header;  // The section's header line.
        std::size_t end;     // One past its last line: the next header or the end.
    };

    std::optional<Range> findSection(std::string_view section) const;
    Range sectionAt(std::size_t header) const;
    std::optional<std::size_t> findKey(const Range& range, std::string_view key) const;
    void insertLine(std::size_t position, std::string body);

    std::string byteOrderMark_;
    std::vector<Line> lines_;
    std::string lineEnd_;  // The file's own line end, used for the lines we add.
};
