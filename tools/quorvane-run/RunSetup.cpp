#include "tools/quorvane-run/RunSetup.h"

#include <cstdio>

#include "platform/Locale.h"
#include "store/ConfigFile.h"

void QvAddRunOptions(CLI::App* cmd, CRunOptions& o, bool bView)
{
    cmd->add_option("FILE", o.file, "configuration file")->required();
    cmd->add_option("--system", o.nSystem, "index of the system in the file (0 = first)")->required();
    cmd->add_option("--speed", o.nSpeed, "speed key 1..9 (5 is the starting time step)")->check(CLI::Range(1, 9));
    if (!bView) return;
    cmd->add_flag("--vectors", o.bVectors, "draw force and velocity vectors");
    cmd->add_flag("--labels", o.bLabels, "draw the planets' names");
    cmd->add_flag("--no-traces", o.bNoTraces, "no trace pixels");
}

void QvFail(const char* pszCommand, int nCode, const std::string& message)
{
    std::fprintf(stderr, "quorvane-run %s: %s\n", pszCommand, message.c_str());
    throw CLI::RuntimeError(nCode);
}

void QvLoadRunSystem(const char* pszCommand, const CRunOptions& o, CSystemDlg& system)
{
    CSystemList systems;
    if (!LoadSystemsFromFile(o.file.c_str(), systems))
        QvFail(pszCommand, 1, "File di configurazione \"" + o.file + "\" mancante");
    if (o.nSystem < 0 || o.nSystem >= systems.GetSize())
        QvFail(pszCommand, 2,
               "Sistema " + std::to_string(o.nSystem) + " inesistente: il file \"" + o.file + "\" ne contiene " +
                   std::to_string(systems.GetSize()) + " (indici da 0)");
    system = systems[o.nSystem];
}

std::unique_ptr<CSimulationDlg> QvMakeRun(CSystemDlg& system, const CRunOptions& o)
{
    auto dlg = std::make_unique<CSimulationDlg>(&system);
    dlg->m_bTraces = o.bNoTraces ? 0 : 1;
    dlg->m_bVectors = o.bVectors ? 1 : 0;
    dlg->m_bLabels = o.bLabels ? 1 : 0;
    if (o.nSpeed != 0) dlg->OnKeyDown(static_cast<UINT>('0' + o.nSpeed), 1, 0);
    return dlg;
}

std::unique_ptr<CSimulationDlg> QvOpenRun(const char* pszCommand, const CRunOptions& o)
{
    CSystemDlg system;
    QvLoadRunSystem(pszCommand, o, system);
    return QvMakeRun(system, o);
}
