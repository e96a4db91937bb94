// quorvane-run render, animate and energy: the run's frames as pictures, its
// energy as numbers, and no half-written file on a failure.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>

#include "support/Tool.h"


static ToolResult RunQt(const QStringList& args)
{
    std::vector<std::string> plain;
    for (const QString& a : args) plain.push_back(a.toStdString());
    return RunTool(plain);
}

// The frames of a GIF as a viewer shows them, each image drawn over the one
// before but for its transparent pixels; "delays" gets each frame's delay, -1
// for an image that covers the whole screen after the first, and loops.
static std::vector<QImage> ReadGif(const QString& path, std::vector<int>& delays, bool& loops)
{
    int err = 0;
    GifFileType* gif = DGifOpenFileName(path.toLocal8Bit().constData(), &err);
    if (!gif || DGifSlurp(gif) != GIF_OK) return {};
    std::vector<QImage> frames{QImage(gif->SWidth, gif->SHeight, QImage::Format_RGB32)};
    for (int i = 0; i < gif->ImageCount; ++i) {
        const GifImageDesc& d = gif->SavedImages[i].ImageDesc;
        GraphicsControlBlock gcb;
        DGifSavedExtensionToGCB(gif, i, &gcb);
        delays.push_back(i > 0 && d.Width * d.Height == gif->SWidth * gif->SHeight ? -1 : gcb.DelayTime);
        for (int k = 0; k < d.Width * d.Height; ++k) {
            const int c = gif->SavedImages[i].RasterBits[k];
            const GifColorType rgb = d.ColorMap->Colors[c];
            if (c != gcb.TransparentColor) frames.back().setPixel(d.Left + k % d.Width, d.Top + k / d.Width, qRgb(rgb.Red, rgb.Green, rgb.Blue));
        }
        frames.push_back(frames.back().copy());
    }
    const ExtensionBlock* app = gif->SavedImages[0].ExtensionBlocks;
    loops = app && std::memcmp(app->Bytes, "NETSCAPE2.0", 11) == 0 && app[1].Bytes[1] == 0 && app[1].Bytes[2] == 0;
    DGifCloseFile(gif, &err);
    frames.pop_back();
    return frames;
}

TEST(CommandsTest, AnimationFramesAreRenderFramesAndEnergyFollowsTheRunOfSimulate)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("Quorvane.ini"), gif = dir.filePath("run.gif"), png = dir.filePath("frame.png");
    // Small bodies: fewer than 256 colours in every frame, so all are exact.
    std::ofstream(ini.toStdString()) << "[Uno]\n0\nSole\n\t400\t300\t0\t0\t1\t1\nTerra\n\t400\t200\t10\t0\t1\t0\n\n"
                                        "[Due]\n0\nA\n\t350\t300\t3\t-4\t2\t0\nB\n\t450\t300\t-1\t12\t1\t0\n\n";
    const struct {
        QStringList fps, view;
        int frames, delay;
    } rows[] = {{{"--fps", "10"}, {"--vectors", "--labels"}, 10, 10}, {{}, {"--no-traces", "--speed", "9"}, 25, 4}, {{"--fps", "50"}, {}, 50, 2}};
    for (const auto& r : rows) {
        ASSERT_EQ(RunQt(QStringList{"animate", ini, "--system", "0", "--seconds", "1", "--out", gif} + r.fps + r.view).status, 0);
        std::vector<int> delays;  // whole-screen images after the first count as -1
        bool loops = false;
        const std::vector<QImage> frames = ReadGif(gif, delays, loops);
        EXPECT_TRUE(delays == std::vector<int>(r.frames, r.delay) && loops) << r.frames;
        for (int k : {0, r.frames - 1}) {  // frame k is tick (k + 1)·50/frames
            ASSERT_EQ(RunQt(QStringList{"render", ini, "--system", "0", "--ticks", QString::number((k + 1) * 50 / r.frames), "--out", png} + r.view).status, 0);
            EXPECT_TRUE(frames.at(k) == QImage(png).convertToFormat(QImage::Format_RGB32)) << r.frames << " frame " << k;
        }
    }
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    for (const char* system : {"2", "0"})  // an index outside the file; an OUT that cannot be written
        EXPECT_NE(RunQt({"animate", ini, "--system", system, "--seconds", "1", "--out", dir.filePath(system[0] == '2' ? "new.gif" : "no/new.gif")}).status, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
    EXPECT_TRUE(RunQt({"animate", QV_SOURCE_DIR "/examples/Quorvane.ini", "--system", "0", "--seconds", "10", "--out", gif}).status == 0 &&
                QFile(gif).size() < 2 * 1024 * 1024);  // a 10-second run in under 2 MB

    // Energy: system 1 has no fixed body, masses 2 and 1, so its momentum stays put.
    const ToolResult csv = RunQt({"energy", ini, "--system", "1", "--ticks", "300", "--speed", "1", "--csv"}),
                     json = RunQt({"simulate", ini, "--system", "1", "--ticks", "300", "--speed", "1"});
    ASSERT_EQ(csv.status + json.status, 0);
    const QList<QByteArray> lines = QByteArray::fromStdString(csv.out).trimmed().split('\n'), first = lines[1].split(','), last = lines.back().split(',');
    EXPECT_TRUE(lines.size() == 302 && lines[0] == "tick,time,kinetic,potential,total,drift,px,py" && last[0] == "300");
    for (int c : {6, 7}) EXPECT_NEAR(last[c].toDouble(), first[c].toDouble(), 1e-12) << c;
    // Kinetic energy and momentum of simulate's last state, to the bit.
    const auto planets = nlohmann::json::parse(json.out)["planets"];
    double kinetic = 0, px = 0;
    for (size_t i = 0; i < planets.size(); ++i) {
        const double m = i == 0 ? 2 : 1, vx = planets[i]["vx"], vy = planets[i]["vy"];
        kinetic += 0.5 * m * (vx * vx + vy * vy);
        px += m * vx;
    }
    EXPECT_TRUE(last[2].toDouble() == kinetic && last[6].toDouble() == px && first[5] == "0") << last[2].toStdString();
}

TEST(CommandsTest, RenderOnAScreenIsTheFrameScaledIntoItsBoxOnBlack)
{
    QTemporaryDir dir;
    const QString ini = QV_SOURCE_DIR "/examples/Quorvane.ini", frame = dir.filePath("frame.png"), screen = dir.filePath("screen.png");
    const QStringList run{"render", ini, "--system", "0", "--ticks", "20", "--vectors", "--labels", "--out"};
    ASSERT_EQ(RunQt(run + QStringList{frame}).status, 0);
    // Twice the frame's size with bars of 50 pixels: each frame pixel a 2×2 block.
    ASSERT_EQ(RunQt(run + QStringList{screen, "--screen", "1700x1200"}).status, 0);
    const QImage f(frame), s(screen);
    ASSERT_EQ(s.size(), QSize(1700, 1200));
    int wrong = 0;
    for (int y = 0; y < 1200; ++y)
        for (int x = 0; x < 1700; ++x)
            wrong += s.pixel(x, y) != (x >= 50 && x < 1650 ? f.pixel((x - 50) / 2, y / 2) : qRgb(0, 0, 0));
    EXPECT_EQ(wrong, 0);
    // Too small for a box: black.
    ASSERT_EQ(RunQt(run + QStringList{screen, "--screen", "1x3"}).status, 0);
    const QImage tiny(screen);
    EXPECT_TRUE(tiny.size() == QSize(1, 3) && tiny.pixel(0, 0) == qRgb(0, 0, 0) && tiny.pixel(0, 2) == qRgb(0, 0, 0));
    // Sizes that are not a screen are refused, and nothing is written.
    for (const char* bad : {"800", "0x600", "800x0", "8193x600", "12x", "x12", "1x2x3", "-5x3", "+5x3", "99999999999x3", "5X3"})
        EXPECT_NE(RunQt(run + QStringList{dir.filePath("bad.png"), "--screen", bad}).status, 0) << bad;
    EXPECT_FALSE(QFile::exists(dir.filePath("bad.png")));
}
