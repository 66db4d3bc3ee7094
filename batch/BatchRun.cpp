#include "BatchRun.h"

#include <cstdint>
#include <optional>
#include <string_view>

#include "AbsolutePath.h"
#include "CompletionCaption.h"
#include "Int32Text.h"
#include "JobFields.h"
#include "OutputFile.h"
#include "OutputTarget.h"
#include "PageFetch.h"
#include "PageNames.h"

namespace {

const char* const kBadCounterMessage = "起点必须是整数";
const char* const kBadRangeMessage = "累加变量范围必须是整数";

// The numbers a run reads once; 64 bits so that walking to the 32-bit
// limits and counting past them never overflows.
struct RunNumbers {
    std::int64_t firstCounter;
    std::int64_t firstPage;
    std::int64_t lastPage;
};

JobFields CurrentJobFields(BatchWindow& window)
{
    JobFields fields;
    for (int i = 0; i < kJobFieldCount; ++i)
        fields.texts[i] = window.FieldText(static_cast<JobField>(i));
    fields.sameNameChoice = window.ChoiceIndex();
    return fields;
}

// Converts the first counter, then the range; tells the user about the first
// text that is not a 32-bit decimal integer and returns nothing.
std::optional<RunNumbers> ConvertRunNumbers(const JobFields& fields, BatchWindow& window)
{
    const auto counter = ParseInt32(fields[JobField::Edit7]);
    if (!counter) {
        window.ShowMessage(kBadCounterMessage);
        return std::nullopt;
    }
    const auto first = ParseInt32(fields[JobField::Edit2]);
    const auto last = ParseInt32(fields[JobField::Edit3]);
    if (!first || !last) {
        window.ShowMessage(kBadRangeMessage);
        return std::nullopt;
    }
    return RunNumbers{*counter, *first, *last};
}

std::string CurrentOutputPath(BatchWindow& window, std::int64_t counter)
{
    const std::string counterText = CounterText(counter, window.FieldText(JobField::Edit7));
    return OutputPath(window.FieldText(JobField::Edit4), window.FieldText(JobField::Edit5),
                      counterText, window.FieldText(JobField::Edit6));
}

bool SkipsExistingFile(BatchWindow& window, const std::string& path)
{
    return window.ChoiceIndex() != kChoiceOverwrite && RegularFileExists(path);
}

// Whether the page came back whole and without an HTTP error.
bool IsGoodPage(const FetchedPage& page)
{
    return !page.failed && !page.cut && page.httpStatus < 400;
}

// Whether `text` holds a zero byte, which the network library and the file
// system would take for its end: they would fetch another address or write
// another file than the one shown.
bool HasZeroByte(const std::string& text)
{
    return text.find('\0') != std::string::npos;
}

// Takes a body that has nowhere to go, so the page is still fetched and
// counted as it would be if its file could be written.
class DiscardingSink : public PageSink {
public:
    bool Take(std::string_view) override { return true; }
};

// Fetches `address` straight into `file`, or into nowhere when `file` could
// not be opened.
FetchedPage FetchInto(const PageSource& source, const std::string& address, OutputFile& file)
{
    FetchedPage page;
    DiscardingSink nowhere;
    if (file.IsOpen())
        source(address, file, page);
    else
        source(address, nowhere, page);
    return page;
}

// Commits, or leaves uncommitted, the file of a fetched page; returns whether
// the page was saved (or skipped) as asked.
bool SettlePage(BatchWindow& window, const std::string& path, const FetchedPage& page,
                OutputFile& file)
{
    // A failed fetch leaves any file of that name as it was.
    if (page.failed || HasZeroByte(path))
        return false;
    if (SkipsExistingFile(window, path))
        return IsGoodPage(page);
    // An error page or a cut body is still saved, and still counted.
    return file.Commit() && IsGoodPage(page);
}

// Fetches one page into a new file and keeps or drops that file; returns
// whether the page was saved (or skipped) as asked.
bool RunPage(BatchWindow& window, const PageSource& source, std::int64_t pageNo,
             std::int64_t counter)
{
    const std::string address = PageAddress(window.FieldText(JobField::Edit1), pageNo);
    window.SetCaption(address);
    if (HasZeroByte(address))
        return false;
    // Fixed now: a change of directory during the fetch must not move the file.
    const std::string path = AbsolutePath(CurrentOutputPath(window, counter));
    OutputFile file(path);  // an uncommitted file is removed when it goes
    const FetchedPage page = FetchInto(source, address, file);
    return SettlePage(window, path, page, file);
}

}  // namespace

void BatchThreadProc(BatchWindow& window)
{
    FetchSession session;
    BatchThreadProc(window, [&session](const std::string& address, PageSink& sink,
                                       FetchedPage& page) {
        FetchPage(session, address, sink, page);
    });
}

void BatchThreadProc(BatchWindow& window, const PageSource& source)
{
    const JobFields fields = CurrentJobFields(window);
    SaveJobFields(fields, window.IniFile());
    const std::optional<RunNumbers> numbers = ConvertRunNumbers(fields, window);
    if (!numbers)
        return;

    FailedPages failed;
    std::int64_t counter = numbers->firstCounter;
    for (std::int64_t pageNo = numbers->firstPage; pageNo <= numbers->lastPage; ++pageNo) {
        if (!RunPage(window, source, pageNo, counter))
            failed.Add(pageNo);
        ++counter;
    }
    window.SetCaption(CompletionCaption(failed));
}
