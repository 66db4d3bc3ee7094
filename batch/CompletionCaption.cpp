#include "CompletionCaption.h"

#include <algorithm>

void FailedPages::Add(std::int64_t pageNo)
{
    if (count_ < static_cast<std::int64_t>(kNamed))
        first_[static_cast<std::size_t>(count_)] = pageNo;
    ++count_;
}

std::string CompletionCaption(const FailedPages& failed)
{
    std::string caption = "文件生成完毕！";
    if (failed.Count() == 0)
        return caption;
    caption += "（" + std::to_string(failed.Count()) + " 页出错：";
    const auto named = static_cast<std::size_t>(
        std::min<std::int64_t>(failed.Count(), FailedPages::kNamed));
    for (std::size_t i = 0; i < named; ++i) {
        if (i > 0)
            caption += "、";
        caption += std::to_string(failed.First()[i]);
    }
    if (failed.Count() > static_cast<std::int64_t>(FailedPages::kNamed))
        caption += "、…";
    caption += "）";
    return caption;
}
