// quorvane-run started as a user starts it.
#pragma once

#include <QProcess>
#include <string>

struct ToolResult {
    int status;  // -1 when it did not end by itself
    std::string out, err;
};

inline ToolResult RunTool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QV_RUN_EXE), args);
    p.waitForFinished(-1);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}
