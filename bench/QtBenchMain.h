// The main of a benchmark program whose rows need a Qt application: Qt's offscreen platform unless QT_QPA_PLATFORM
// names another, and none of the offscreen platform's warnings (it warns at every window shown; the table needs
// none of it). Setup runs once the application exists, before the rows.
#pragma once

#include <QApplication>
#include <cstdio>

#include "bench/BenchRow.h"

namespace tarnel_bench {

template <class Setup>
int QtBenchMain(int argc, char** argv, Setup&& setup)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type != QtWarningMsg && type != QtDebugMsg && type != QtInfoMsg) fprintf(stderr, "%s\n", qPrintable(msg));
    });
    setup();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace tarnel_bench
