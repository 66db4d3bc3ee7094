#include "CompletionCaption.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

FailedPages Failed(const std::vector<std::int64_t>& pages)
{
    FailedPages failed;
    for (const std::int64_t page : pages)
        failed.Add(page);
    return failed;
}

TEST(CompletionCaption, NamesTheFailedPagesInOrderUpToTenThenAnEllipsis)
{
    struct Case {
        std::vector<std::int64_t> failed;
        std::string caption;
    };
    const Case cases[] = {
        {{}, "文件生成完毕！"},
        {{7}, "文件生成完毕！（1 页出错：7）"},
        {{5, 17, 203}, "文件生成完毕！（3 页出错：5、17、203）"},
        {{-3, 0, 2147483647}, "文件生成完毕！（3 页出错：-3、0、2147483647）"},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, "文件生成完毕！（10 页出错：1、2、3、4、5、6、7、8、9、10）"},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
         "文件生成完毕！（11 页出错：1、2、3、4、5、6、7、8、9、10、…）"},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
         "文件生成完毕！（12 页出错：1、2、3、4、5、6、7、8、9、10、…）"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompletionCaption(Failed(c.failed)), c.caption);
}

TEST(CompletionCaption, CountsEveryPageOfARunOfTenMillionFailures)
{
    FailedPages failed;
    for (std::int64_t page = -5'000'000; page < 5'000'000; ++page)
        failed.Add(page);

    EXPECT_EQ(CompletionCaption(failed),
              "文件生成完毕！（10000000 页出错：-5000000、-4999999、-4999998、-4999997、-4999996、"
              "-4999995、-4999994、-4999993、-4999992、-4999991、…）");
}

}  // namespace
