// Paxtor, the demonstration program of the Tarnel library.
//
//   paxtor [--page CAPTION] [--shot FILE]
//
// --page opens the page of that tree caption (the first node that has it). --shot writes a PNG picture of the
// painted main window to FILE once it is on the screen, prints where it is and ends the program.
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <memory>

#include "components/MtxGridSerEdit.h"
#include "components/TarnelTee.h"
#include "demo/DemoFiles.h"
#include "demo/Main.h"
#include "demo/Pages.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Help.h"

namespace {

// The painted window as the screen shows it, frame included; the widget's own rendering where the platform
// cannot read the screen back.
bool SaveShot(QWidget& window, const QString& file)
{
    QPixmap shot;
    if (QScreen* screen = window.screen()) {
        const QRect frame = window.frameGeometry();
        shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    }
    if (shot.isNull() || shot.width() < window.width()) shot = window.grab();
    const QFileInfo info(file);
    QDir().mkpath(info.absolutePath());
    return shot.save(file, "PNG");
}

}  // namespace

int main(int argc, char** argv)
{
    tarnel::gui::TApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("paxtor"));

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("The Tarnel demonstration program."));
    options.addHelpOption();
    const QCommandLineOption pageOption(QStringLiteral("page"), QStringLiteral("Open the page with this tree caption."),
                                        QStringLiteral("CAPTION"));
    const QCommandLineOption shotOption(QStringLiteral("shot"),
                                        QStringLiteral("Write a picture of the main window to FILE and exit."),
                                        QStringLiteral("FILE"));
    options.addOption(pageOption);
    options.addOption(shotOption);
    options.process(app);

    // Start-up: the pages register by class name, then the application's title and help file.
    paxtor::RegisterPages();
    tarnel::RegisterTarnelTee();
    tarnel::RegisterMtxGridSerEdit();
    tarnel::gui::SetApplicationTitle(QStringLiteral("Tarnel demo"));
    tarnel::gui::SetHelpFile(paxtor::DataPath(QStringLiteral("Help")));

    std::unique_ptr<paxtor::TfrmMain> window;
    try {
        window = std::make_unique<paxtor::TfrmMain>();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "paxtor: %s\n", e.what());
        // A screenshot run has nobody to close a box.
        if (!options.isSet(shotOption)) tarnel::gui::ShowErrorBox(QString::fromUtf8(e.what()));
        return 1;
    }
    window->showMaximized();

    if (options.isSet(pageOption)) {
        const QString caption = options.value(pageOption);
        const int index = window->FindNode(caption);
        if (index < 0) {
            std::fprintf(stderr, "paxtor: no page with the caption \"%s\"\n", qPrintable(caption));
            return 2;
        }
        window->SelectNode(index);
    }

    int shotStatus = 0;
    if (options.isSet(shotOption)) {
        const QString file = QFileInfo(options.value(shotOption)).absoluteFilePath();
        // Give the window manager time to map and maximise the window and the window time to paint.
        QTimer::singleShot(1500, &app, [&app, &window, &shotStatus, file] {
            if (SaveShot(*window, file)) {
                std::printf("paxtor: screenshot written to %s\n", qPrintable(file));
            } else {
                std::fprintf(stderr, "paxtor: cannot write the screenshot %s\n", qPrintable(file));
                shotStatus = 1;
            }
            app.quit();
        });
    }
    const int status = app.exec();
    window.reset();
    tarnel::UnregisterTarnelTee();
    return status != 0 ? status : shotStatus;
}
