// The keys of a run: letters switch, digits set the time step, nothing else acts.
#include <gtest/gtest.h>

#include "tests/display/DisplaySupport.h"

TEST(KeyboardTest, LettersSwitchTheirFlagDigitsSetTheStepAndNoOtherKeyDoesAnything)
{
    auto flags = [](const CSimulationDlg& d) { return std::vector<int>{d.m_bTraces, d.m_bVectors, d.m_bPaused, d.m_bLabels}; };
    // Letters by their upper-case code; the lower-case codes are F1, F5, F7 and keypad 5.
    const UINT rows[][2] = {{'T', 0}, {0x74, 0}, {'V', 1}, {0x76, 1}, {'P', 2}, {0x70, 2}, {'E', 3}, {0x65, 3}};
    for (const auto& r : rows) {
        auto dlg = MakeRun({{100, 100}}, false);
        std::vector<int> expected = flags(*dlg);
        for (int n = 1; n <= 3; ++n) {  // auto-repeat switches once more each time
            dlg->OnKeyDown(r[0], 1, n > 1 ? 0x4000u : 0u);
            expected[r[1]] = 1 - expected[r[1]];
            EXPECT_EQ(flags(*dlg), expected) << r[0] << " press " << n;
        }
    }
    auto dlg = MakeRun({{100, 100}});  // traces on, paused
    for (UINT k : {0x30u, 0x60u, 0x61u, 0x64u, 0x66u, 0x69u, 0x0Du, 0x1Bu, 0x41u, 0x5Au, 0x71u, 0x7Bu, 0x20u}) dlg->OnKeyDown(k, 1, 0);
    EXPECT_TRUE(dlg->m_dTimeStep == 0.0002 && (flags(*dlg) == std::vector<int>{1, 0, 1, 0}));
    for (int d = 1; d <= 9; ++d) {
        dlg->OnKeyDown(static_cast<UINT>('0' + d), 1, 0);
        EXPECT_EQ(dlg->m_dTimeStep, std::ldexp(0.0002, d - 5)) << d;
    }
}
