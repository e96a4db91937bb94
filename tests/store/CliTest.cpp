#include <cstdio>
#include <string>
#include <sys/wait.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "StoreTestUtil.h"

namespace {
struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

RunResult RunTool(const std::string& args, const TempDir& dir)
{
    RunResult r;
    std::string errPath = dir / "stderr.txt";
    std::string cmd = std::string("'") + QV_RUN_EXE + "' " + args + " 2>'" + errPath + "'";
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (!pipe) return r;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) r.out.append(buf, n);
    int status = ::pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = ReadBytes(errPath);
    return r;
}
}  // namespace

TEST(Cli, ListPrintsSystemsAsJson)
{
    TempDir dir;
    std::string file = dir / "in.ini";
    WriteBytes(file, "[Caf\xe8]\n2\n0.5\n\xc3\x89toile\n\t0.1\tnan\tinf\t-inf\t2.5\t1\nSole\n\t1e-300\n\n[Vuoto]\n0\n\n");
    RunResult r = RunTool("list '" + file + "'", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j["systems"].size(), 2u);
    const nlohmann::json& s = j["systems"][0];
    EXPECT_EQ(s["name"], "Caf\xc3\xa8");  // Windows-1252 shown as such
    EXPECT_EQ(s["force_type"], 2);
    EXPECT_EQ(s["force_params"], "0.5");
    ASSERT_EQ(s["planets"].size(), 2u);
    const nlohmann::json& p = s["planets"][0];
    EXPECT_EQ(p["name"], "\xc3\x89toile");  // valid UTF-8 kept
    EXPECT_EQ(p["x"].get<double>(), 0.1);
    EXPECT_EQ(p["y"], "nan");
    EXPECT_EQ(p["vx"], "inf");
    EXPECT_EQ(p["vy"], "-inf");
    EXPECT_EQ(p["mass"].get<double>(), 2.5);
    EXPECT_EQ(p["fixed"], 1);
    EXPECT_EQ(p["sprite_x"], 40);
    EXPECT_EQ(s["planets"][1]["x"].get<double>(), 1e-300);
    EXPECT_EQ(s["planets"][1]["vx"], "inf");  // carried over from the planet before
    EXPECT_EQ(j["systems"][1]["planets"].size(), 0u);
}

TEST(Cli, MissingFileAndResave)
{
    TempDir dir;
    RunResult missing = RunTool("list '" + (dir / "manca.ini") + "'", dir);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "File di configurazione \"" + (dir / "manca.ini") + "\" mancante\n");

    std::string out = dir / "out.ini";
    RunResult resave = RunTool("resave '" QV_TEST_DATA "/store_tolerant.ini' '" + out + "'", dir);
    EXPECT_EQ(resave.status, 0) << resave.err;
    CSystemList fromFile, fromOut;
    ASSERT_TRUE(LoadSystemsFromFile(QV_TEST_DATA "/store_tolerant.ini", fromFile));
    ASSERT_TRUE(LoadSystemsFromFile(out.c_str(), fromOut));
    EXPECT_EQ(ReadBytes(out), SaveBytes(fromFile));

    WriteBytes(dir / "file", "x");
    RunResult fails = RunTool("resave '" QV_TEST_DATA "/store_tolerant.ini' '" + (dir / "file/out.ini") + "'", dir);
    EXPECT_EQ(fails.status, 1);
    EXPECT_EQ(fails.err.rfind("Impossibile salvare il file \"", 0), 0u) << fails.err;
    EXPECT_EQ(ReadBytes(dir / "file"), "x");

    EXPECT_EQ(RunTool("list --help", dir).status, 0);
    EXPECT_EQ(RunTool("resave --help", dir).status, 0);
}
