#include "ProfileText.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One line of profile text, seen in place: files can be huge, so lines are
// never copied out.
struct Line {
    std::size_t begin;         // offset of its first byte in the text
    std::string_view content;  // without its line ending
    std::string_view ending;   // "\r\n", "\n", "\r", or empty for a last line without one

    std::size_t contentEnd() const { return begin + content.size(); }
    std::size_t end() const { return contentEnd() + ending.size(); }
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

// Walks the lines of a text in order. Huge hand-edited files make this the
// hot loop, so line breaks are found with memchr, and the next CR and the
// next LF are each looked for again only once the walk has passed them.
class LineCursor {
public:
    LineCursor(std::string_view text, std::size_t from) : text_(text), at_(from) {}

    bool Done() const { return at_ >= text_.size(); }

    // The line at the cursor, which moves on to the next one; only while not Done().
    Line Next()
    {
        const std::size_t lf = NextOf('\n', nextLf_);
        const std::size_t cr = NextOf('\r', nextCr_);
        const std::size_t lineBreak = std::min(lf, cr);
        std::size_t endingLength = 0;
        if (lineBreak < text_.size())
            endingLength = (lineBreak == cr && lf == cr + 1 && lf < text_.size()) ? 2 : 1;
        const Line line{at_, text_.substr(at_, lineBreak - at_), text_.substr(lineBreak, endingLength)};
        at_ = line.end();
        return line;
    }

private:
    // The offset of the first `c` at or after the cursor, or the text's size.
    std::size_t NextOf(char c, std::size_t& found) const
    {
        if (found == kNotSearched || found < at_) {
            const void* hit = std::memchr(text_.data() + at_, c, text_.size() - at_);
            found = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data())
                        : text_.size();
        }
        return found;
    }

    static constexpr std::size_t kNotSearched = std::string_view::npos;

    std::string_view text_;
    std::size_t at_;
    std::size_t nextLf_ = kNotSearched;
    std::size_t nextCr_ = kNotSearched;
};

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

std::optional<Line> LastLine(std::string_view text)
{
    std::size_t contentEnd = text.size();
    if (text.ends_with("\r\n"))
        contentEnd -= 2;
    else if (text.ends_with('\n') || text.ends_with('\r'))
        contentEnd -= 1;
    else if (text.empty())
        return std::nullopt;
    const std::size_t lineBreak =
        contentEnd == 0 ? std::string_view::npos : text.find_last_of("\r\n", contentEnd - 1);
    return LineCursor(text, lineBreak == std::string_view::npos ? 0 : lineBreak + 1).Next();
}

// The start of the line holding `pos` when only blanks stand before `pos` on
// that line; otherwise nothing.
std::optional<std::size_t> LineStartBefore(std::string_view text, std::size_t pos)
{
    while (pos > 0 && IsBlank(text[pos - 1]))
        --pos;
    if (pos == 0 || text[pos - 1] == '\n' || text[pos - 1] == '\r')
        return pos;
    return std::nullopt;
}

// The header line of the first section named `section`. Only a line that
// starts with "[" can be a header, so the search jumps from one "[" to the
// next: in a huge file most lines are never looked at.
std::optional<Line> FindSection(std::string_view text, std::string_view section)
{
    for (std::size_t open = text.find('['); open != std::string_view::npos;
         open = text.find('[', open + 1)) {
        const auto lineStart = LineStartBefore(text, open);
        if (!lineStart)
            continue;
        const Line line = LineCursor(text, *lineStart).Next();
        auto name = HeaderName(line.content);
        if (name && SameName(*name, section))
            return line;
    }
    return std::nullopt;
}

// What a section holds for one key: the key's first line, if any, and the
// section's last line that is not blank (its header when there is none),
// after which a new key goes so that blank lines before the next section
// stay where they are.
struct KeyInSection {
    std::optional<Line> keyLine;
    Line lastFilled;
};

KeyInSection FindKey(std::string_view text, const Line& header, std::string_view key)
{
    // The loop's variables live outside it: a section may hold millions of
    // lines, and sanitizer builds pay for every variable a loop pass creates.
    KeyInSection found{std::nullopt, header};
    LineCursor lines(text, header.end());
    Line line = header;
    while (!lines.Done()) {
        line = lines.Next();
        if (Trim(line.content).empty())
            continue;
        if (HeaderName(line.content))
            break;
        if (IsKeyLine(line.content, key)) {
            found.keyLine = line;
            break;
        }
        found.lastFilled = line;
    }
    return found;
}

// The ending a new line gets in a file without a line before it to follow:
// the file's own (its first), or "\n" when it has none.
std::string_view LineEndingOf(std::string_view text)
{
    LineCursor lines(text, 0);
    const std::string_view ending = lines.Done() ? "" : lines.Next().ending;
    return ending.empty() ? "\n" : ending;
}

std::string HeaderLine(std::string_view section)
{
    std::string line = "[";
    line += Trim(section);
    line += ']';
    return line;
}

// Inserts `lines` into `text` after the line `before` of the body starting at
// `bodyStart` (at the body's start when there is none). They end like that
// line, so that in a file of mixed endings a lone CR can never meet a
// following LF and swallow a line; a last line without an ending gets one.
void InsertLinesAfter(std::string& text, std::size_t bodyStart, const std::optional<Line>& before,
                      std::string_view fileEnding, std::initializer_list<std::string> lines)
{
    std::string_view ending = fileEnding;
    std::string inserted;
    std::size_t at = bodyStart;
    if (before) {
        at += before->end();
        if (before->ending.empty())
            inserted += fileEnding;
        else
            ending = before->ending;
    }
    for (const std::string& line : lines)
        inserted.append(line).append(ending);
    text.insert(at, inserted);
}

std::string KeyLine(std::string_view key, std::string_view value)
{
    std::string line(Trim(key));
    line += '=';
    line += value;
    return line;
}

} // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key)
{
    text = SkipByteOrderMark(text);
    auto header = FindSection(text, section);
    if (!header)
        return std::nullopt;
    auto keyLine = FindKey(text, *header, key).keyLine;
    if (!keyLine)
        return std::nullopt;
    std::string_view line = keyLine->content;
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

void SetProfileValue(std::string& text, std::string_view section, std::string_view key,
                     std::string_view value)
{
    // Everything is found before anything changes: the views point into `text`.
    const std::string_view body = SkipByteOrderMark(text);
    const std::size_t bodyStart = text.size() - body.size();
    const std::string_view fileEnding = LineEndingOf(body);

    auto header = FindSection(body, section);
    if (!header) {
        InsertLinesAfter(text, bodyStart, LastLine(body), fileEnding,
                         {HeaderLine(section), KeyLine(key, value)});
        return;
    }
    const KeyInSection found = FindKey(body, *header, key);
    if (!found.keyLine) {
        InsertLinesAfter(text, bodyStart, found.lastFilled, fileEnding, {KeyLine(key, value)});
        return;
    }
    const Line& line = *found.keyLine;
    const std::size_t valueStart = line.begin + line.content.find('=') + 1;
    text.replace(bodyStart + valueStart, line.contentEnd() - valueStart, value);
}
