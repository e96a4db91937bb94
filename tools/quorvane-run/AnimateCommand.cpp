// animate: a run drawn by the simulation window's own tick, written as a
// looping animated GIF with the frames of the chosen rate.
#include <unistd.h>

#include <QSaveFile>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "tools/quorvane-run/Commands.h"
#include "tools/quorvane-run/GifWriter.h"
#include "tools/quorvane-run/QtApplication.h"
#include "tools/quorvane-run/RunSetup.h"
#include "tools/quorvane-run/SurfaceImage.h"

namespace {

constexpr int kTicksPerSecond = 50;

struct AnimateOptions {
    CRunOptions run;
    double dSeconds = 0.0;
    std::string out;
    int nFps = 25;
};

void Animate(const AnimateOptions& o)
{
    const long long nTicks = std::llround(o.dSeconds * kTicksPerSecond);
    if (nTicks < 1) QvFail("animate", 1, "--seconds gives no tick: at least 0.02");
    const int nEvery = kTicksPerSecond / o.nFps;
    const auto app = QvEnsureApplication();
    auto dlg = QvOpenRun("animate", o.run);

    // Nothing is written to OUT until the whole GIF is there.
    QSaveFile file(QString::fromStdString(o.out));
    if (!file.open(QIODevice::WriteOnly))
        QvFail("animate", 1, "cannot write " + o.out + ": " + file.errorString().toStdString());
    dlg->SetUpDisplay(nullptr);
    CGifWriter gif(file, QvImageOf(*dlg->m_pSpriteSurface));
    if (!gif.Begin(dlg->m_nScreenWidth, dlg->m_nScreenHeight)) QvFail("animate", 1, "cannot write " + o.out);

    const bool bProgress = isatty(STDERR_FILENO) != 0;
    const long long nFrames = (nTicks + nEvery - 1) / nEvery;
    long long nFrame = 0;
    for (long long t = 1; t <= nTicks; ++t) {
        dlg->OnTimer(101);
        // The last tick is always kept: the last frame is what render draws.
        if ((nTicks - t) % nEvery != 0) continue;
        if (!gif.AddFrame(QvImageOf(*dlg->m_pPrimarySurface), 100 / o.nFps))
            QvFail("animate", 1, "cannot write " + o.out);
        if (bProgress) std::fprintf(stderr, "\ranimate: frame %lld of %lld", ++nFrame, nFrames);
    }
    if (bProgress) std::fprintf(stderr, "\n");
    if (!gif.Finish() || !file.commit())
        QvFail("animate", 1, "cannot write " + o.out + ": " + file.errorString().toStdString());
}

}  // namespace

void RegisterAnimateCommand(CLI::App& app)
{
    auto opts = std::make_shared<AnimateOptions>();
    CLI::App* cmd = app.add_subcommand(
        "animate",
        "Draws a run of a system as the simulation window shows it (50 ticks a second) and writes it as an "
        "animated GIF, 800x600, looping for ever. Its last frame is the one render draws with the same "
        "options and --ticks = 50 x seconds.");
    QvAddRunOptions(cmd, opts->run, true);
    cmd->add_option("--seconds", opts->dSeconds, "length of the run in seconds of the window (50 ticks each)")
        ->required()
        ->check(CLI::Range(0.0, 3600.0));
    cmd->add_option("--out", opts->out, "GIF file to write")->required();
    cmd->add_option("--fps", opts->nFps, "frames a second kept: 50, 25, 10 or 5")->check(CLI::IsMember({50, 25, 10, 5}));
    cmd->callback([opts] { Animate(*opts); });
}
