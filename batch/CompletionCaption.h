#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The pages of a run that failed: how many, and the numbers of the first few,
// in the same small room however long the run.
class FailedPages {
public:
    // How many page numbers the caption names at most.
    static constexpr std::size_t kNamed = 10;

    // Counts the page numbered `pageNo`; pages come in ascending order.
    void Add(std::int64_t pageNo);

    std::int64_t Count() const { return count_; }

    // The first min(Count(), kNamed) page numbers counted.
    const std::array<std::int64_t, kNamed>& First() const { return first_; }

private:
    std::int64_t count_ = 0;
    std::array<std::int64_t, kNamed> first_{};
};

// "文件生成完毕！", followed when pages failed by their count and their numbers
// in ascending order, at most kNamed of them and then "…":
// "文件生成完毕！（3 页出错：5、17、203）".
std::string CompletionCaption(const FailedPages& failed);
