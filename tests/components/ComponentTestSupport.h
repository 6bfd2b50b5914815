// Helpers of the component suites: error boxes recorded instead of shown, and the verdict of a Python checker.
#pragma once

#include <QStringList>
#include <cstdio>
#include <string>

#include "platform/gui/Guard.h"

namespace comptest {

// While alive, the messages of the error box are collected in Shown instead of being shown.
struct TErrorBoxes {
    QStringList Shown;
    TErrorBoxes()
    {
        tarnel::gui::SetErrorBox([this](const QString& m) { Shown << m; });
    }
    ~TErrorBoxes() { tarnel::gui::SetErrorBox(nullptr); }
};

// Runs "/usr/bin/python3 tests/data/<Script> <Arg>" and returns what it printed (errors included): empty when the
// check passed.
inline std::string RunPythonCheck(const std::string& Script, const std::string& Arg)
{
    const std::string command = "/usr/bin/python3 " TARNEL_TEST_DATA_DIR "/" + Script + " '" + Arg + "' 2>&1";
    FILE* p = popen(command.c_str(), "r");
    if (!p) return "popen failed";
    std::string output;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) output += buf;
    if (pclose(p) != 0 && output.empty()) output = "checker failed";
    return output;
}

}  // namespace comptest
