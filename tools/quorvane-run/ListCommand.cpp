// list: the systems of a configuration file as JSON; resave: the file read and
// written again, through the program's own loading and saving.
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "store/ConfigFile.h"
#include "tools/quorvane-run/Commands.h"
#include "tools/quorvane-run/Json.h"

namespace {
void LoadOrExit(const std::string& path, CSystemList& systems)
{
    if (!LoadSystemsFromFile(path.c_str(), systems)) {
        std::cerr << "File di configurazione \"" << path << "\" mancante" << std::endl;
        throw CLI::RuntimeError(1);
    }
}

void PrintSystems(const CSystemList& systems)
{
    CJsonOutput out;
    out.Add("{\"systems\":[");
    for (int i = 0; i < systems.GetSize(); ++i) {
        const CSystemDlg& s = systems[i];
        out.Add((i > 0 ? ",{\"name\":" : "{\"name\":") + QvJsonDump(QvJsonText(s.m_strName)));
        out.Add(",\"force_type\":" + std::to_string(s.m_nForceType));
        out.Add(",\"force_params\":" + QvJsonDump(QvJsonText(s.m_strForceParams)));
        out.Add(",\"planets\":[");
        for (int k = 0; k < s.m_Planets.GetSize(); ++k) {
            const CPlanet& p = s.m_Planets[k];
            nlohmann::ordered_json planet = QvJsonPlanet(p);
            planet["mass"] = QvJsonNumber(p.m_dMass);
            planet["fixed"] = p.m_bFixed;
            planet["sprite_x"] = p.m_nSpriteX;
            out.Add((k > 0 ? "," : "") + QvJsonDump(planet));
        }
        out.Add("]}");
    }
    out.Add("]}\n");
    out.Finish();
}
}  // namespace

void RegisterListCommands(CLI::App& app)
{
    auto listFile = std::make_shared<std::string>();
    CLI::App* list = app.add_subcommand(
        "list",
        "Reads FILE as the program loads \"Quorvane.ini\" and prints its systems to stdout as one JSON object:\n"
        "{\"systems\":[{\"name\",\"force_type\",\"force_params\",\"planets\":[{\"name\",\"x\",\"y\",\"vx\",\"vy\","
        "\"mass\",\"fixed\",\"sprite_x\"}]}]}.\n"
        "Texts are shown as the program shows them (UTF-8 when valid, else Windows-1252); numbers read back to "
        "the same double; values that are not finite are the strings \"nan\", \"inf\", \"-inf\".\n"
        "A file that cannot be opened: a message on stderr and exit status 1.");
    list->add_option("FILE", *listFile, "configuration file to read")->required();
    list->callback([listFile]() {
        CSystemList systems;
        LoadOrExit(*listFile, systems);
        PrintSystems(systems);
    });

    auto inFile = std::make_shared<std::string>();
    auto outFile = std::make_shared<std::string>();
    CLI::App* resave = app.add_subcommand(
        "resave",
        "Reads FILE as the program loads \"Quorvane.ini\" and writes its systems to OUT as the program saves "
        "them (numbers rounded to six decimals; OUT replaced whole or left as it was, or rewritten in place where it cannot be replaced).\n"
        "Exit status 1 when FILE cannot be opened or OUT cannot be written, with the reason on stderr.");
    resave->add_option("FILE", *inFile, "configuration file to read")->required();
    resave->add_option("OUT", *outFile, "configuration file to write")->required();
    resave->callback([inFile, outFile]() {
        CSystemList systems;
        LoadOrExit(*inFile, systems);
        CString error;
        if (!SaveSystemsToFile(outFile->c_str(), systems, &error)) {
            std::cerr << error.str() << std::endl;
            throw CLI::RuntimeError(1);
        }
    });
}
