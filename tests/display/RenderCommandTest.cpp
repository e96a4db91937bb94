// quorvane-run render: the frame of a run written as a picture.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

static int RunTool(const QStringList& args, QByteArray* err = nullptr)
{
    QProcess p;
    p.start(QStringLiteral(QV_RUN_EXE), QStringList{"render"} + args);
    p.waitForFinished(60000);
    if (err) *err = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

TEST(RenderCommandTest, WritesTheLastFrameAndRefusesBadInput)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ini = dir.filePath("Quorvane.ini"), png = dir.filePath("frame.png"), again = dir.filePath("again.png");
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Uno]\n0\nSole\n\t400.000000\t300.000000\t0.000000\t0.000000\t10.000000\t1\n"
            "Terra\n\t400.000000\t150.000000\t25.819889\t0.000000\t1.000000\t0\n\n");
    f.close();

    // The same run always gives the same picture.
    for (const QString& out : {png, again})
        ASSERT_EQ(RunTool({ini, "--system", "0", "--ticks", "3", "--out", out, "--vectors", "--labels"}), 0);
    const QImage frame(png);
    ASSERT_EQ(frame.size(), QSize(800, 600));
    EXPECT_EQ(frame.pixel(5, 5), qRgb(0, 0, 32));
    EXPECT_NE(frame.pixel(400, 300), qRgb(0, 0, 32));  // the sun's sprite
    EXPECT_EQ(QImage(again), frame);
    // Without traces the first positions leave no mark.
    ASSERT_EQ(RunTool({ini, "--system", "0", "--ticks", "40", "--out", again, "--no-traces", "--speed", "9"}), 0);
    EXPECT_EQ(QImage(again).pixel(400, 150), qRgb(0, 0, 32));

    QByteArray err;
    EXPECT_EQ(RunTool({ini, "--system", "1", "--ticks", "1", "--out", png}, &err), 2);
    EXPECT_FALSE(err.isEmpty());
    EXPECT_EQ(RunTool({dir.filePath("missing.ini"), "--system", "0", "--ticks", "1", "--out", png}), 1);
}
