// quorvane-run render, animate and energy: the run's frames as pictures, its
// energy as numbers, and no half-written file on a failure.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <nlohmann/json.hpp>

namespace {

int RunTool(const QStringList& args, QByteArray* out = nullptr)
{
    QProcess p;
    p.start(QStringLiteral(QV_RUN_EXE), args);
    p.waitForFinished(120000);
    if (out) *out = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// The frames of a GIF as a viewer shows them: each image drawn over the one
// before, its transparent pixels leaving that one.
std::vector<QImage> ReadGif(const QString& path, std::vector<int>& delays, bool& loops, int& whole)
{
    int err = 0;
    GifFileType* gif = DGifOpenFileName(path.toLocal8Bit().constData(), &err);
    if (!gif || DGifSlurp(gif) != GIF_OK) return {};
    QImage shown(gif->SWidth, gif->SHeight, QImage::Format_RGB32);
    std::vector<QImage> frames;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const GifImageDesc& d = gif->SavedImages[i].ImageDesc;
        GraphicsControlBlock gcb;
        DGifSavedExtensionToGCB(gif, i, &gcb);
        delays.push_back(gcb.DelayTime);
        whole += d.Width * d.Height == gif->SWidth * gif->SHeight;
        for (int k = 0; k < d.Width * d.Height; ++k) {
            const int c = gif->SavedImages[i].RasterBits[k];
            const GifColorType rgb = d.ColorMap->Colors[c];
            if (c != gcb.TransparentColor) shown.setPixel(d.Left + k % d.Width, d.Top + k / d.Width, qRgb(rgb.Red, rgb.Green, rgb.Blue));
        }
        frames.push_back(shown.copy());
    }
    const ExtensionBlock* app = gif->SavedImages[0].ExtensionBlocks;
    loops = app && app->ByteCount == 11 && std::memcmp(app->Bytes, "NETSCAPE2.0", 11) == 0 && app[1].Bytes[1] == 0 && app[1].Bytes[2] == 0;
    DGifCloseFile(gif, &err);
    return frames;
}

}  // namespace

TEST(CommandsTest, AnimationFramesAreTheFramesRenderDraws)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("Quorvane.ini"), gif = dir.filePath("run.gif"), png = dir.filePath("frame.png");
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // Small bodies: every frame has fewer than 256 colours, so all are exact.
    f.write("[Uno]\n0\nSole\n\t400\t300\t0\t0\t1\t1\nTerra\n\t400\t200\t10\t0\t1\t0\n\n");
    f.close();
    const struct {
        QStringList fps, view;
        int frames, delay, every;
    } rows[] = {{{"--fps", "10"}, {"--vectors", "--labels"}, 10, 10, 5}, {{}, {"--no-traces", "--speed", "9"}, 25, 4, 2}, {{"--fps", "50"}, {}, 50, 2, 1}};
    for (const auto& r : rows) {
        SCOPED_TRACE((r.fps + r.view).join(' ').toStdString());
        ASSERT_EQ(RunTool(QStringList{"animate", ini, "--system", "0", "--seconds", "1", "--out", gif} + r.fps + r.view), 0);
        std::vector<int> delays;
        bool loops = false;
        int whole = 0;  // images that cover the whole screen
        const std::vector<QImage> frames = ReadGif(gif, delays, loops, whole);
        ASSERT_EQ(frames.size(), size_t(r.frames));
        EXPECT_EQ(delays, std::vector<int>(r.frames, r.delay));
        EXPECT_TRUE(loops);
        EXPECT_EQ(whole, 1);
        for (int k : {0, r.frames - 1}) {
            const QString ticks = QString::number((k + 1) * r.every);
            ASSERT_EQ(RunTool(QStringList{"render", ini, "--system", "0", "--ticks", ticks, "--out", png} + r.view), 0);
            EXPECT_TRUE(frames[k] == QImage(png).convertToFormat(QImage::Format_RGB32)) << "frame " << k;
        }
    }

    // Failures leave the directory as it was: no OUT, no temporary file.
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    const QStringList bad[] = {{"--system", "1", "--seconds", "1", "--out", "new.gif"},
                               {"--system", "0", "--seconds", "1", "--out", "new.gif", "--fps", "30"},
                               {"--system", "0", "--seconds", "0", "--out", "new.gif"},
                               {"--system", "0", "--seconds", "1", "--out", "no/new.gif"}};
    for (const QStringList& b : bad) {
        QStringList args = QStringList{"animate", ini} + b;
        args[args.indexOf("--out") + 1] = dir.filePath(args[args.indexOf("--out") + 1]);
        EXPECT_NE(RunTool(args), 0) << b.join(' ').toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);

    // Only the changed rectangles after the first frame: a small file.
    ASSERT_EQ(RunTool({"animate", QV_SOURCE_DIR "/examples/Quorvane.ini", "--system", "0", "--seconds", "10", "--out", gif}), 0);
    EXPECT_LT(QFile(gif).size(), 2 * 1024 * 1024);
}

TEST(CommandsTest, EnergyFollowsTheRunOfSimulate)
{
    const QString ini = QStringLiteral(QV_SOURCE_DIR "/examples/Quorvane.ini");
    QByteArray csv, json, list;
    ASSERT_EQ(RunTool({"energy", ini, "--system", "2", "--ticks", "20", "--speed", "7", "--csv"}, &csv), 0);
    ASSERT_EQ(RunTool({"simulate", ini, "--system", "2", "--ticks", "20", "--speed", "7"}, &json), 0);
    ASSERT_EQ(RunTool({"list", ini}, &list), 0);
    const QList<QByteArray> lines = csv.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[0], "tick,time,kinetic,potential,total,drift,px,py");
    EXPECT_TRUE(lines[1].startsWith("0,0,") && lines[1].split(',')[5] == "0");
    // Kinetic energy and momentum of the last state of simulate, to the bit.
    const QList<QByteArray> last = lines[21].split(',');
    double kinetic = 0, px = 0;
    const auto planets = nlohmann::json::parse(json.toStdString())["planets"];
    const auto stored = nlohmann::json::parse(list.toStdString())["systems"][2]["planets"];
    for (size_t i = 0; i < planets.size(); ++i) {
        const double m = stored[i]["mass"], vx = planets[i]["vx"], vy = planets[i]["vy"];
        kinetic += 0.5 * m * (vx * vx + vy * vy);
        px += m * vx;
    }
    EXPECT_EQ(last[0], "20");
    EXPECT_EQ(last[2].toDouble(), kinetic);
    EXPECT_EQ(last[6].toDouble(), px);
}
