// Feeds any bytes to the settings file routines as a hand-edited file, then
// writes one key and checks that the write did exactly what a reader expects.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <strings.h>
#include <unistd.h>
#include <vector>

#include "PublicFunction.h"

namespace {

const std::array<std::string, 3> kSections = {"Setting", "setting", "Other"};
const std::array<std::string, 10> kKeys = {"TargetPage", "BeginPoint",    "EndPoint",   "SavePath",
                                        "FileName",   "FileBack",      "FilePoint",  "SameNameCover",
                                        "targetpage", "Extra"};
// Pieces values are built from: plain text, blanks, quotes, INI punctuation and
// multi-byte characters, so cuts and trimming meet every kind of byte.
const std::array<std::string, 17> kValuePieces = {"a", "Z", "0", " ", "\t", "\"", "'", "=", ";", "#",
                                               "[", "]", "\\", "中", "é", "😀", "[-A-]"};

constexpr char kMissing[] = "<missing>";

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "settings fuzz: %s\n", what);
        std::abort();
    }
}

std::string SettingsFile()
{
    static const std::string path = [] {
        char dir[] = "/tmp/quellory-fuzz-XXXXXX";
        Check(mkdtemp(dir) != nullptr, "cannot create a work directory");
        return std::string(dir) + "/Trovanix.ini";
    }();
    return path;
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void PutFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The first bytes of valid UTF-8 text that fit in `limit`, never half a character.
std::string Cut(const std::string& text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// What reading gives back after `value` was written.
std::string ExpectedReadBack(const std::string& value)
{
    std::string read = Trim(Cut(value, 1023));
    if (read.size() >= 2 && read.front() == read.back() && (read.front() == '"' || read.front() == '\''))
        read = read.substr(1, read.size() - 2);
    return Cut(read, 1022);
}

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

using Reading = std::vector<std::string>;

Reading ReadEverything(const std::string& file)
{
    Reading values;
    for (const auto& section : kSections)
        for (const auto& key : kKeys)
            values.push_back(ReadIniStr(section, key, kMissing, file));
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string section = input.PickValueInArray(kSections);
    const std::string key = input.PickValueInArray(kKeys);
    std::string value;
    const std::size_t pieces = input.ConsumeIntegralInRange<std::size_t>(0, 1200);
    for (std::size_t i = 0; i < pieces && input.remaining_bytes() > 0; ++i)
        value += input.PickValueInArray(kValuePieces);

    const std::string file = SettingsFile();
    PutFileBytes(file, input.ConsumeRemainingBytesAsString());

    const Reading before = ReadEverything(file);
    Check(WriteIniStr(section, key, value, file), "a write into a writable file failed");
    const Reading after = ReadEverything(file);
    Check(ReadIniStr(section, key, kMissing, file) == ExpectedReadBack(value),
          "the key does not read back as written");

    std::size_t i = 0;
    for (const auto& otherSection : kSections)
        for (const auto& otherKey : kKeys) {
            const bool written = SameName(otherSection, section) && SameName(otherKey, key);
            Check(written || after[i] == before[i], "a write changed another key");
            ++i;
        }

    // A well-formed file takes the same write again without changing a byte.
    const std::string written = FileBytes(file);
    Check(WriteIniStr(section, key, value, file), "a second write failed");
    Check(FileBytes(file) == written, "writing the same value twice changed the file");
    return 0;
}
