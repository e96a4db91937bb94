// The application object, icon 128 and the start without a display.
#include <QIcon>
#include <QImage>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "platform/WinApp.h"
#include "res/resource.h"

namespace {

TEST(Application, ObjectAndIcon)
{
    EXPECT_EQ(AfxGetApp(), nullptr);
    {
        CWinApp app;
        EXPECT_EQ(AfxGetApp(), &app);
        HICON icon = app.LoadIcon(IDR_MAINFRAME);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(app.LoadIcon(IDR_MAINFRAME), icon);  // loaded once, kept for the run
        EXPECT_EQ(app.LoadIcon(9999), nullptr);
        for (int size : {32, 16}) {
            QImage image = icon->pixmap(size, size).toImage();
            ASSERT_EQ(image.size(), QSize(size, size));
            // A planet on a transparent background.
            EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
            EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
        }
        EXPECT_EQ(CoInitialize(nullptr), 0);
        CoUninitialize();
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST(Application, NoDisplayIsAClearFailureNotACrash)
{
    std::string cmd = std::string("cd '") + ::testing::TempDir() +
                      "' && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" QV_APP_EXE "' 2>&1";
    std::FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string out;
    for (char buf[512]; std::fgets(buf, sizeof buf, p);) out += buf;
    int status = pclose(p);
    ASSERT_TRUE(WIFEXITED(status)) << out;
    EXPECT_EQ(WEXITSTATUS(status), 1) << out;
    EXPECT_NE(out.find("impossibile aprire il display"), std::string::npos) << out;
}

}  // namespace
