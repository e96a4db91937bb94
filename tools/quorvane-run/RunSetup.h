// What the commands that run a system share: the run built as the start button
// builds it and the options that choose it.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "engine/SimulationDlg.h"

struct CRunOptions {
    std::string file;
    int nSystem = 0;
    int nSpeed = 0;  // 0: no digit key pressed
    bool bVectors = false;
    bool bLabels = false;
    bool bNoTraces = false;
};

// FILE, --system and --speed; with bView also --vectors, --labels, --no-traces.
void QvAddRunOptions(CLI::App* cmd, CRunOptions& o, bool bView);

// Prints "quorvane-run CMD: MESSAGE" on stderr and ends the command with nCode.
[[noreturn]] void QvFail(const char* pszCommand, int nCode, const std::string& message);

// System I of FILE into system; a file that cannot be read ends the command
// with status 1, an index outside it with 2.
void QvLoadRunSystem(const char* pszCommand, const CRunOptions& o, CSystemDlg& system);

// A run of the system as the start button builds it, the digit key applied and
// the view flags set.
std::unique_ptr<CSimulationDlg> QvMakeRun(CSystemDlg& system, const CRunOptions& o);

// Both: system I of FILE as a run.
std::unique_ptr<CSimulationDlg> QvOpenRun(const char* pszCommand, const CRunOptions& o);
