#include <gtest/gtest.h>

#include <cstdio>

#include "engine/InternalError.h"
#include "platform/Dialog.h"

// The box is answered here and its text copied to stderr, so that the message
// can be checked whether or not the platform has a display to show it on.
TEST(InternalErrorDeathTest, ShowsTheCodeAndExitsWithIt)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QvSetMessageBoxHook([](const CString& text, UINT nType) {
        std::fprintf(stderr, "[box %u] %s\n", nType, text.c_str());
        return IDOK;
    });
    EXPECT_EXIT(InternalErrorExit(19), ::testing::ExitedWithCode(19),
                "Errore dell'applicazione; si prega di informare Quorvane Team \\(quorvane@example\\.org\\) "
                "riportando il codice QUOR19\\.");
}
