// The keys of a run, off screen and in the real modal window.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "tests/display/DisplaySupport.h"

namespace {

struct Flags {
    int traces, vectors, paused, labels;
    bool operator==(const Flags& o) const
    {
        return traces == o.traces && vectors == o.vectors && paused == o.paused && labels == o.labels;
    }
};
Flags FlagsOf(const CSimulationDlg& d) { return {d.m_bTraces, d.m_bVectors, d.m_bPaused, d.m_bLabels}; }

}  // namespace

TEST(KeyboardTest, EveryKeyOfTheTable)
{
    struct Row {
        UINT key;
        int Flags::*flag;
    };
    // Letters by their upper-case code; the lower-case codes are F1, F5, F7 and keypad 5.
    const Row rows[] = {{'T', &Flags::traces}, {0x74, &Flags::traces}, {'V', &Flags::vectors}, {0x76, &Flags::vectors},
                        {'P', &Flags::paused}, {0x70, &Flags::paused}, {'E', &Flags::labels}, {0x65, &Flags::labels}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        auto dlg = MakeRun({{100, 100}});
        dlg->m_bPaused = 0;
        const Flags start = FlagsOf(*dlg);
        EXPECT_TRUE((start == Flags{1, 0, 0, 0}));
        // Auto-repeat: every key-down message switches once more.
        for (int n = 1; n <= 3; ++n) {
            dlg->OnKeyDown(r.key, 1, n > 1 ? 0x4000u : 0u);
            Flags expected = start;
            expected.*r.flag = (start.*r.flag + n) % 2;
            EXPECT_TRUE(FlagsOf(*dlg) == expected) << "press " << n;
        }
        EXPECT_EQ(dlg->m_dTimeStep, 0.0002);
    }

    // Digits 1 to 9 of the main keyboard set the time step; nothing else does.
    auto dlg = MakeRun({{100, 100}});
    const double steps[] = {0.0000125, 0.000025, 0.00005, 0.0001, 0.0002, 0.0004, 0.0008, 0.0016, 0.0032};
    for (int d = 1; d <= 9; ++d) {
        dlg->OnKeyDown(static_cast<UINT>('0' + d), 1, 0);
        EXPECT_EQ(dlg->m_dTimeStep, steps[d - 1]) << d;
    }
    dlg->OnKeyDown('5', 1, 0);
    EXPECT_EQ(dlg->m_dTimeStep, 0.0002);
    const Flags before = FlagsOf(*dlg);
    for (UINT k : {0x30u, 0x60u, 0x61u, 0x64u, 0x66u, 0x69u, 0x0Du, 0x1Bu, 0x41u, 0x5Au, 0x71u, 0x7Bu, 0x20u})
        dlg->OnKeyDown(k, 1, 0);
    EXPECT_EQ(dlg->m_dTimeStep, 0.0002);
    EXPECT_TRUE(FlagsOf(*dlg) == before);
}

TEST(KeyboardTest, DigitWhilePausedChangesTheStepButNotThePicture)
{
    auto dlg = MakeRun({{400, 300, 1}, {400, 200, 1}}, true);
    dlg->OnKeyDown('9', 1, 0);
    EXPECT_EQ(dlg->m_dTimeStep, 0.0032);
    dlg->OnTimer(101);
    EXPECT_EQ(dlg->m_system.m_Planets[1].m_dY, 200.0);
    dlg->OnKeyDown('P', 1, 0);
    dlg->OnTimer(101);
    EXPECT_NE(dlg->m_system.m_Planets[1].m_dY, 200.0);
}

TEST(KeyboardTest, TheModalWindowTakesTheScreenAndGivesItBack)
{
    CSystemDlg sys;
    sys.m_Planets.Add(MakePlanet({400, 300}));
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
        EXPECT_EQ(Frame(dlg).pixel(0, 0), qRgb(0, 0, 32));
        // What the window paints: the frame scaled into the screen.
        const QImage shot = w->grab().toImage();
        const QRect r = QvFrameRect(w->size(), QSize(800, 600));
        EXPECT_EQ(shot.pixel(r.left() + 2, r.top() + 2) & 0xFFFFFF, 0x000020u);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    const INT_PTR result = dlg.DoModal();
    QvSetDialogOpenedHook(nullptr);
    EXPECT_TRUE(opened);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dlg.m_pDirectDraw, nullptr);
    EXPECT_EQ(dlg.m_pPrimarySurface, nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
