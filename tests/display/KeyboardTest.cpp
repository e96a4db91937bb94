// The keys of a run, off screen and in the real modal window.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "tests/display/DisplaySupport.h"

TEST(KeyboardTest, LettersSwitchTheirFlagAndNoOtherKeyDoesAnything)
{
    int CSimulationDlg::*const flags[] = {&CSimulationDlg::m_bTraces, &CSimulationDlg::m_bVectors,
                                          &CSimulationDlg::m_bPaused, &CSimulationDlg::m_bLabels};
    auto flagsOf = [&](const CSimulationDlg& d) {
        std::vector<int> v;
        for (auto f : flags) v.push_back(d.*f);
        return v;
    };
    // Letters by their upper-case code; the lower-case codes are F1, F5, F7 and keypad 5.
    const struct {
        UINT key;
        int flag;
    } rows[] = {{'T', 0}, {0x74, 0}, {'V', 1}, {0x76, 1}, {'P', 2}, {0x70, 2}, {'E', 3}, {0x65, 3}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.key);
        auto dlg = MakeRun({{100, 100}}, false);
        std::vector<int> expected = flagsOf(*dlg);
        // Auto-repeat: every key-down message switches once more.
        for (int n = 1; n <= 3; ++n) {
            dlg->OnKeyDown(r.key, 1, n > 1 ? 0x4000u : 0u);
            expected[r.flag] = 1 - expected[r.flag];
            EXPECT_EQ(flagsOf(*dlg), expected) << "press " << n;
        }
        EXPECT_EQ(dlg->m_dTimeStep, 0.0002);
    }

    // Only the digits 1 to 9 of the main keyboard set the time step.
    auto dlg = MakeRun({{100, 100}});
    const std::vector<int> before = flagsOf(*dlg);
    for (UINT k : {0x30u, 0x60u, 0x61u, 0x64u, 0x66u, 0x69u, 0x0Du, 0x1Bu, 0x41u, 0x5Au, 0x71u, 0x7Bu, 0x20u})
        dlg->OnKeyDown(k, 1, 0);
    EXPECT_EQ(dlg->m_dTimeStep, 0.0002);
    EXPECT_EQ(flagsOf(*dlg), before);
}

TEST(KeyboardTest, TheModalWindowTakesTheScreenAndGivesItBack)
{
    CSystemDlg sys;
    CPlanet sun;  // in the middle, away from the corner checked below
    sun.m_dX = 400;
    sun.m_dY = 300;
    sys.m_Planets.Add(sun);
    CSimulationDlg dlg(&sys);
    bool opened = false;
    QvSetDialogOpenedHook([&](CDialog& d) {
        opened = true;
        QWidget* w = d.GetSafeHwnd();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), w->screen()->geometry());
        EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        QTest::keyClick(w, Qt::Key_V);
        QTest::keyClick(w, Qt::Key_P);
        QTest::qWait(120);  // some ticks
        EXPECT_EQ(dlg.m_bVectors, 1);
        EXPECT_EQ(dlg.m_bPaused, 1);
        // What the window paints: the frame scaled into the screen.
        const QRect r = QvFrameRect(w->size(), QSize(800, 600));
        EXPECT_EQ(w->grab().toImage().pixel(r.left() + 2, r.top() + 2) & 0xFFFFFF, kBg & 0xFFFFFF);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    QvSetDialogOpenedHook(nullptr);
    EXPECT_TRUE(opened);
    EXPECT_EQ(dlg.m_pDirectDraw, nullptr);
    EXPECT_EQ(dlg.m_pPrimarySurface, nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
