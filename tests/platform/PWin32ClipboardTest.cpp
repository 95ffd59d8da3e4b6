// The Windows clipboard with a block far larger than any one message: it goes and
// comes back whole (run under Wine on Linux).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/win32/PWin32System.h"

TEST(Win32Clipboard, AHundredThousandRowsGoAndComeBackWhole)
{
    auto system = platform::PWin32System::Open();
    ASSERT_TRUE(system);
    std::string block;
    char row[64];
    for (int i = 0; i < 100000; i++)
        block.append(row, size_t(std::snprintf(row, sizeof row, "%06d.5\t0.1%d\t%06d.2\t0.%d\x80\n", i, i % 10, i, i % 7)));
    ASSERT_EQ(system->SetClipboardText(block.data(), block.size()), 1);
    std::string back;
    ASSERT_EQ(system->GetClipboardText(back), 1);
    // Lines come back as Windows ends them, with CR LF.
    back.erase(std::remove(back.begin(), back.end(), '\r'), back.end());
    EXPECT_TRUE(back == block) << back.size() << " bytes of " << block.size();
}
