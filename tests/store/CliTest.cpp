#include <QProcess>
#include <nlohmann/json.hpp>

#include "StoreTestUtil.h"

namespace {
struct RunResult {
    int status;
    std::string out, err;
};

RunResult RunTool(const QStringList& args)
{
    QProcess p;
    p.start(QV_RUN_EXE, args);
    p.waitForFinished(-1);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}
}  // namespace

TEST(Cli, ListPrintsSystemsAsJson)
{
    TempDir dir;
    WriteBytes(dir / "in.ini", "[Caf\xe8]\n2\n0.5\n\xc3\x89toile\n\t0.1\tnan\tinf\t-inf\t2.5\t1\nSole\n\t1e-300\n\n[Vuoto]\n0\n\n");
    RunResult r = RunTool({"list", QString::fromStdString(dir / "in.ini")});
    ASSERT_EQ(r.status, 0) << r.err;
    // Windows-1252 names shown as such, valid UTF-8 kept; numbers that JSON cannot
    // carry as strings; a short data line takes the rest from the planet before.
    EXPECT_EQ(nlohmann::json::parse(r.out), nlohmann::json::parse(R"({"systems": [
        {"name": "Caf\u00e8", "force_type": 2, "force_params": "0.5", "planets": [
            {"name": "\u00c9toile", "x": 0.1, "y": "nan", "vx": "inf", "vy": "-inf", "mass": 2.5, "fixed": 1, "sprite_x": 40},
            {"name": "Sole", "x": 1e-300, "y": "nan", "vx": "inf", "vy": "-inf", "mass": 2.5, "fixed": 1, "sprite_x": 40}]},
        {"name": "Vuoto", "force_type": 0, "force_params": "", "planets": []}]})"));
}

TEST(Cli, MissingFileAndResave)
{
    TempDir dir;
    RunResult missing = RunTool({"list", QString::fromStdString(dir / "manca.ini")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "File di configurazione \"" + (dir / "manca.ini") + "\" mancante\n");

    const QString tolerant = QV_TEST_DATA "/store_tolerant.ini";
    RunResult resave = RunTool({"resave", tolerant, QString::fromStdString(dir / "out.ini")});
    EXPECT_EQ(resave.status, 0) << resave.err;
    CSystemList fromFile;
    ASSERT_TRUE(LoadSystemsFromFile(QV_TEST_DATA "/store_tolerant.ini", fromFile));
    EXPECT_EQ(ReadBytes(dir / "out.ini"), SaveBytes(fromFile));

    WriteBytes(dir / "file", "x");
    RunResult fails = RunTool({"resave", tolerant, QString::fromStdString(dir / "file/out.ini")});
    EXPECT_EQ(fails.status, 1);
    EXPECT_EQ(fails.err.rfind("Impossibile salvare il file \"", 0), 0u) << fails.err;
    EXPECT_EQ(ReadBytes(dir / "file"), "x");

    EXPECT_EQ(RunTool({"list", "--help"}).status, 0);
    EXPECT_EQ(RunTool({"resave", "--help"}).status, 0);
}
