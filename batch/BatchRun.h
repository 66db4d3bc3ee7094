#pragma once

#include <functional>
#include <string>

#include "BatchWindow.h"
#include "FetchedPage.h"
#include "PageSink.h"

// Runs one whole job on the calling thread: saves the job fields, then fetches
// every page of the range and writes its numbered file, showing progress and
// the outcome through `window`.
void BatchThreadProc(BatchWindow& window);

// Hands the body of the page at `address` to `sink` as it arrives and tells in
// `page` how the fetch ended.
using PageSource =
    std::function<void(const std::string& address, PageSink& sink, FetchedPage& page)>;

// The same run with the pages coming from `source` instead of the network.
void BatchThreadProc(BatchWindow& window, const PageSource& source);
