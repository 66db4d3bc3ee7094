#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// `pageTemplate` with every "[-A-]" (the A in either case) replaced by
// `pageNumber`, found left to right without overlapping.
std::string PageAddress(std::string_view pageTemplate, std::int64_t pageNumber);

// The decimal text of `counter` with "0" put in front (in front of a minus
// sign too) until it is as long, in characters, as `widthText`; never cut.
std::string CounterText(std::int64_t counter, std::string_view widthText);

// `directory` + the path separator ("\\" on Windows, "/" elsewhere) + `stem` +
// `counterText` + `suffix`, nothing added or removed.
std::string OutputPath(std::string_view directory, std::string_view stem,
                       std::string_view counterText, std::string_view suffix);
