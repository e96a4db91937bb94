// simulate: a system of a configuration file run for a number of ticks exactly
// as the simulation window runs it, without the window; the final state as
// JSON, or every tick as CSV for plotting.
#include <climits>
#include <memory>
#include <string>

#include "engine/SimulationDlg.h"
#include "tools/quorvane-run/Commands.h"
#include "tools/quorvane-run/Json.h"
#include "tools/quorvane-run/RunSetup.h"

namespace {

struct SimulateOptions {
    CRunOptions run;
    int nTicks = 0;
    bool bCsv = false;
    int nThreads = 0;  // 0: one per core
};

void AddCsvTick(CJsonOutput& out, int nTick, const CSimulationDlg& sim)
{
    for (int i = 0; i < sim.m_system.m_Planets.GetSize(); ++i) {
        const CPlanet& p = sim.m_system.m_Planets[i];
        std::string line = std::to_string(nTick) + ',' + std::to_string(i);
        for (double d : {p.m_dX, p.m_dY, p.m_dVx, p.m_dVy, p.m_dFx, p.m_dFy}) line += ',' + QvCsvNumber(d);
        line += '\n';
        out.Add(line);
    }
}

void Simulate(const SimulateOptions& opt)
{
    // As the start button builds it; the digit key as the window receives it.
    const std::unique_ptr<CSimulationDlg> sim = QvOpenRun("simulate", opt.run);
    sim->m_nThreads = opt.nThreads;

    CJsonOutput out;
    if (opt.bCsv) {
        out.Add("tick,planet,x,y,vx,vy,fx,fy\n");
        AddCsvTick(out, 0, *sim);
        for (int t = 1; t <= opt.nTicks; ++t) {
            sim->Integrate();
            AddCsvTick(out, t, *sim);
        }
        out.Finish();
        return;
    }

    for (int t = 0; t < opt.nTicks; ++t) sim->Integrate();
    out.Add("{\"system\":" + QvJsonDump(QvJsonText(sim->m_system.m_strName)));
    out.Add(",\"ticks\":" + std::to_string(opt.nTicks));
    out.Add(",\"time_step\":" + QvJsonDump(QvJsonNumber(sim->m_dTimeStep)));
    out.Add(",\"planets\":[");
    for (int i = 0; i < sim->m_system.m_Planets.GetSize(); ++i) {
        const CPlanet& p = sim->m_system.m_Planets[i];
        nlohmann::ordered_json planet = QvJsonPlanet(p);
        planet["fx"] = QvJsonNumber(p.m_dFx);
        planet["fy"] = QvJsonNumber(p.m_dFy);
        out.Add((i > 0 ? "," : "") + QvJsonDump(planet));
    }
    out.Add("]}\n");
    out.Finish();
}

}  // namespace

void RegisterSimulateCommand(CLI::App& app)
{
    auto opt = std::make_shared<SimulateOptions>();
    CLI::App* cmd = app.add_subcommand(
        "simulate",
        "Runs system I of FILE (0-based, in file order) as the simulation window does, without drawing: the "
        "state built as the start button builds it, the digit key D (1 to 9) applied before the first tick when "
        "given, then T ticks of 300 Euler steps each.\n"
        "Prints one JSON object: {\"system\",\"ticks\",\"time_step\",\"planets\":[{\"name\",\"x\",\"y\",\"vx\","
        "\"vy\",\"fx\",\"fy\"}]}; numbers read back to the same double, values that are not finite are the "
        "strings \"nan\", \"inf\", \"-inf\".\n"
        "With --csv: a header line, then one line per tick and planet, tick,planet,x,y,vx,vy,fx,fy, from tick 0 "
        "(the start) to tick T, numbers with 17 significant digits.\n"
        "FILE that cannot be opened: exit status 1; I outside the file's systems: exit status 2.");
    QvAddRunOptions(cmd, opt->run, false);
    cmd->add_option("--ticks", opt->nTicks, "number of ticks (0 or more)")->required()->check(CLI::Range(0, INT_MAX));
    cmd->add_option("--threads", opt->nThreads, "threads sharing each step, 0 for one per core (default); the "
                                                "output is the same for any number")
        ->check(CLI::Range(0, 256));
    cmd->add_flag("--csv", opt->bCsv, "one CSV line per tick and planet instead of the JSON object");
    cmd->callback([opt]() { Simulate(*opt); });
}
