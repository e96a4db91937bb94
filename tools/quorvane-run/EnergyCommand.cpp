// energy: kinetic, potential and total energy and the momentum of a run, tick
// by tick as CSV, or a chart of how far the energy drifts at three speeds.
#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QSaveFile>
#include <QValueAxis>
#include <climits>
#include <cmath>
#include <memory>
#include <string>

#include "engine/Energy.h"
#include "platform/qt/QtText.h"
#include "tools/quorvane-run/Commands.h"
#include "tools/quorvane-run/Json.h"
#include "tools/quorvane-run/QtApplication.h"
#include "tools/quorvane-run/RunSetup.h"

namespace {

struct EnergyOptions {
    CRunOptions run;
    int nTicks = 0;
    bool bCsv = false;
    std::string out;
};

CEnergy EnergyOf(const CSimulationDlg& sim)
{
    return QvEnergy(sim.m_system.m_Planets.GetData(), sim.m_system.m_Planets.GetSize(), sim.ForceLaw());
}

// The change of the total energy relative to its size at the start.
double Drift(const CEnergy& e, const CEnergy& start) { return (e.dTotal - start.dTotal) / std::fabs(start.dTotal); }

double Time(const CSimulationDlg& sim, long long nTick) { return static_cast<double>(nTick) * sim.m_nStepsPerTick * sim.m_dTimeStep; }

void WriteCsv(const EnergyOptions& o)
{
    auto sim = QvOpenRun("energy", o.run);
    CJsonOutput out;
    out.Add("tick,time,kinetic,potential,total,drift,px,py\n");
    const CEnergy start = EnergyOf(*sim);
    for (int t = 0; t <= o.nTicks; ++t) {
        if (t > 0) sim->Integrate();
        const CEnergy e = EnergyOf(*sim);
        std::string line = std::to_string(t);
        for (double d : {Time(*sim, t), e.dKinetic, e.dPotential, e.dTotal, Drift(e, start), e.dPx, e.dPy})
            line += ',' + QvCsvNumber(d);
        out.Add(line + '\n');
    }
    out.Finish();
}

// The drift in per cent against time, at most about 2000 points a line.
QLineSeries* DriftSeries(CSystemDlg& system, const CRunOptions& run, long long nTicks)
{
    auto sim = QvMakeRun(system, run);
    auto* series = new QLineSeries;
    const CEnergy start = EnergyOf(*sim);
    const long long nEvery = std::max(1LL, nTicks / 2000);
    for (long long t = 0; t <= nTicks; ++t) {
        if (t > 0) sim->Integrate();
        if (t % nEvery != 0 && t != nTicks) continue;
        const double d = 100.0 * Drift(EnergyOf(*sim), start);
        if (std::isfinite(d)) series->append(Time(*sim, t), d);
    }
    return series;
}

QFont ChartFont(int nPixels, bool bBold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(nPixels);
    f.setBold(bBold);
    return f;
}

void WriteChart(const EnergyOptions& o)
{
    const auto app = QvEnsureApplication();
    QSaveFile file(QString::fromStdString(o.out));
    if (!file.open(QIODevice::WriteOnly))
        QvFail("energy", 1, "cannot write " + o.out + ": " + file.errorString().toStdString());
    // The file is read once; each speed runs its own copy of the system.
    CSystemDlg system;
    QvLoadRunSystem("energy", o.run, system);
    auto base = QvMakeRun(system, o.run);
    const double dEnd = Time(*base, o.nTicks);

    QGraphicsScene scene;
    auto* chart = new QChart;  // the scene's
    scene.addItem(chart);
    chart->setTitle(QStringLiteral("Energia totale: variazione rispetto all'inizio — ") +
                   QvDisplayText(base->m_system.m_strName));
    chart->setTitleFont(ChartFont(30, true));
    chart->legend()->setFont(ChartFont(22));
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* x = new QValueAxis;
    auto* y = new QValueAxis;
    x->setTitleText(QStringLiteral("tempo simulato (unità di tempo)"));
    y->setTitleText(QStringLiteral("variazione dell'energia totale (%)"));
    for (QValueAxis* a : {x, y}) {
        a->setTitleFont(ChartFont(22));
        a->setLabelsFont(ChartFont(20));
        a->setLabelFormat(QStringLiteral("%.3g"));
        chart->addAxis(a, a == x ? Qt::AlignBottom : Qt::AlignLeft);
    }
    // Keys 1, 5 and 9 over the same simulated time: 16 times shorter or longer
    // steps than the starting one, each key a factor 2.
    const struct {
        int nKey;
        const char* pszName;
        QColor color;
    } lines[] = {{1, "velocità 1 (passo più corto)", QColor(0, 114, 178)},
                 {5, "velocità 5 (passo iniziale)", QColor(0, 158, 115)},
                 {9, "velocità 9 (passo più lungo)", QColor(213, 94, 0)}};
    const int nBaseKey = o.run.nSpeed != 0 ? o.run.nSpeed : 5;
    double dLow = 0.0, dHigh = 0.0;
    for (const auto& l : lines) {
        CRunOptions run = o.run;
        run.nSpeed = l.nKey;
        const long long nTicks = static_cast<long long>(std::ceil(std::ldexp(o.nTicks, nBaseKey - l.nKey)));
        QLineSeries* s = DriftSeries(system, run, nTicks);
        s->setName(QString::fromUtf8(l.pszName));
        s->setPen(QPen(l.color, 4));
        for (const QPointF& p : s->points()) dLow = std::min(dLow, p.y()), dHigh = std::max(dHigh, p.y());
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
    x->setRange(0.0, dEnd > 0.0 ? dEnd : 1.0);
    y->setRange(dLow, dHigh > dLow ? dHigh : dLow + 1.0);
    y->applyNiceNumbers();
    // Ticks counted from zero, so that the zero line reads "0" and not a
    // rounding residue of min + k·step.
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0.0);
    y->setTickInterval((y->max() - y->min()) / (y->tickCount() - 1));

    const QSizeF size(1280, 800);
    chart->resize(size);
    QImage image(size.toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, QRectF(QPointF(0, 0), size), QRectF(QPointF(0, 0), size));
    }
    if (!image.save(&file, "PNG") || !file.commit())
        QvFail("energy", 1, "cannot write " + o.out + ": " + file.errorString().toStdString());
}

}  // namespace

void RegisterEnergyCommand(CLI::App& app)
{
    auto opts = std::make_shared<EnergyOptions>();
    CLI::App* cmd = app.add_subcommand(
        "energy",
        "Energy and momentum of a run, computed as simulate runs it. With --csv: a header line, then for each "
        "tick 0..T tick,time,kinetic,potential,total,drift,px,py (kinetic energy and momentum of the planets "
        "that are not fixed, potential of every pair, drift = (total - total at tick 0) / |total at tick 0|). "
        "With --out: a PNG chart of the drift in per cent against time for the speed keys 1, 5 and 9 over the "
        "time that T ticks at the chosen speed take.");
    QvAddRunOptions(cmd, opts->run, false);
    cmd->add_option("--ticks", opts->nTicks, "number of ticks (0 or more)")->required()->check(CLI::Range(0, 10000000));
    auto* csv = cmd->add_flag("--csv", opts->bCsv, "CSV on standard output");
    cmd->add_option("--out", opts->out, "PNG chart to write (1280x800)")->excludes(csv);
    cmd->callback([opts] {
        if (opts->bCsv) return WriteCsv(*opts);
        if (opts->out.empty()) QvFail("energy", 1, "give --csv or --out PLOT.png");
        WriteChart(*opts);
    });
}
