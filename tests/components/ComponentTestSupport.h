// Helpers of the component suites: error boxes recorded instead of shown, and the verdict of a Python checker.
#pragma once

#include <QStringList>
#include <string>

#include "TestFiles.h"
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

using testsupport::RunPythonCheck;

}  // namespace comptest
