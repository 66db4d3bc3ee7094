#include "ProfileText.h"

#include <vector>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Line {
    std::string content;  // without its line ending
    std::string ending;   // "\r\n", "\n", "\r", or empty for a last line without one
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string_view SkipByteOrderMark(std::string_view text)
{
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    return text;
}

std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    while (!text.empty()) {
        std::size_t end = text.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            lines.push_back({std::string(text), {}});
            break;
        }
        std::size_t endingLength = (text.substr(end, 2) == "\r\n") ? 2 : 1;
        lines.push_back({std::string(text.substr(0, end)), std::string(text.substr(end, endingLength))});
        text.remove_prefix(end + endingLength);
    }
    return lines;
}

// The name of the section a header line opens, or nothing for any other line.
std::optional<std::string_view> HeaderName(std::string_view line)
{
    line = Trim(line);
    if (!line.starts_with('['))
        return std::nullopt;
    std::size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return line.substr(1, close - 1);
}

bool IsComment(std::string_view line)
{
    return Trim(line).starts_with(';');
}

// Whether the line is a key=value line for `key`.
bool IsKeyLine(std::string_view line, std::string_view key)
{
    if (IsComment(line))
        return false;
    std::size_t equals = line.find('=');
    return equals != std::string_view::npos && SameName(line.substr(0, equals), key);
}

std::string_view RemoveQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Lines [begin, end) of the first section named `section`: its header at
// `begin`, the lines up to the next header after it.
struct SectionBlock {
    std::size_t begin;
    std::size_t end;
};

std::optional<SectionBlock> FindSection(const std::vector<Line>& lines, std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = HeaderName(lines[i].content);
        if (!name || !SameName(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !HeaderName(lines[end].content))
            ++end;
        return SectionBlock{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, SectionBlock block,
                                   std::string_view key)
{
    for (std::size_t i = block.begin + 1; i < block.end; ++i) {
        if (IsKeyLine(lines[i].content, key))
            return i;
    }
    return std::nullopt;
}

// The ending a new line gets: the file's own (its first), or "\n" when it has none.
std::string_view LineEndingOf(const std::vector<Line>& lines)
{
    for (const Line& line : lines) {
        if (!line.ending.empty())
            return line.ending;
    }
    return "\n";
}

// Where a new key of `block` goes: after its last non-blank line, so that
// blank lines separating it from the next section stay where they are.
std::size_t InsertionPoint(const std::vector<Line>& lines, SectionBlock block)
{
    std::size_t point = block.end;
    while (point > block.begin + 1 && Trim(lines[point - 1].content).empty())
        --point;
    return point;
}

std::string HeaderLine(std::string_view section)
{
    std::string line = "[";
    line += Trim(section);
    line += ']';
    return line;
}

std::string KeyLine(std::string_view key, std::string_view value)
{
    std::string line(Trim(key));
    line += '=';
    line += value;
    return line;
}

std::string Join(std::string_view prefix, const std::vector<Line>& lines)
{
    std::string text(prefix);
    for (const Line& line : lines) {
        text += line.content;
        text += line.ending;
    }
    return text;
}

} // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key)
{
    std::vector<Line> lines = SplitLines(SkipByteOrderMark(text));
    auto block = FindSection(lines, section);
    if (!block)
        return std::nullopt;
    auto keyLine = FindKey(lines, *block, key);
    if (!keyLine)
        return std::nullopt;
    std::string_view line = lines[*keyLine].content;
    return std::string(RemoveQuotes(Trim(line.substr(line.find('=') + 1))));
}

bool CanStoreInProfile(std::string_view section, std::string_view key, std::string_view value)
{
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value))
        return false;
    std::string_view trimmedKey = Trim(key);
    return section.find(']') == std::string_view::npos && key.find('=') == std::string_view::npos &&
           !trimmedKey.starts_with(';') && !trimmedKey.starts_with('[');
}

std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value)
{
    std::string_view body = SkipByteOrderMark(text);
    std::string_view byteOrderMark = text.substr(0, text.size() - body.size());
    std::vector<Line> lines = SplitLines(body);
    std::string fileEnding(LineEndingOf(lines));

    // A new line ends like the line before it, so that in a file of mixed
    // endings a lone CR can never meet a following LF and swallow a line.
    auto insert = [&](std::size_t at, std::string content) {
        std::string ending = fileEnding;
        if (at > 0) {
            // A last line without an ending needs one before anything can follow it.
            if (lines[at - 1].ending.empty())
                lines[at - 1].ending = fileEnding;
            ending = lines[at - 1].ending;
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(content), ending});
    };

    auto block = FindSection(lines, section);
    if (!block) {
        insert(lines.size(), HeaderLine(section));
        insert(lines.size(), KeyLine(key, value));
    } else if (auto keyLine = FindKey(lines, *block, key)) {
        std::string& content = lines[*keyLine].content;
        content.resize(content.find('=') + 1);
        content += value;
    } else {
        insert(InsertionPoint(lines, *block), KeyLine(key, value));
    }
    return Join(byteOrderMark, lines);
}
