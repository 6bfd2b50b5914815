// Paxtor, the demonstration program of the Tarnel library.
//
//   paxtor [--page CAPTION] [--tab CAPTION] [--press CAPTION]... [--shot FILE]
//
// --page opens the page of that tree caption (the first node that has it). --tab then makes the tab of that
// caption current ("Source code"). --press presses the page's button of that caption, once for each time it is
// given, in order, each after the work of the one before has ended. --shot writes a PNG picture of the painted
// main window to FILE once it is on the screen and the presses are done (or one of them waits in a modal
// window, which the picture then shows), prints where it is and ends the program.
#include <QAbstractButton>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <memory>

#include "components/MtxComCtrls.h"
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

// The page's button of that caption (mnemonic "&" ignored), or nullptr.
QAbstractButton* FindButton(QWidget* page, const QString& caption)
{
    if (!page) return nullptr;
    for (QAbstractButton* b : page->findChildren<QAbstractButton*>())
        if (b->text().remove('&') == caption && b->isVisible()) return b;
    for (QAbstractButton* b : page->findChildren<QAbstractButton*>())
        if (b->text().remove('&') == caption) return b;
    return nullptr;
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
    const QCommandLineOption tabOption(QStringLiteral("tab"),
                                       QStringLiteral("Make the tab with this caption current (after --page)."),
                                       QStringLiteral("CAPTION"));
    const QCommandLineOption pressOption(
        QStringLiteral("press"), QStringLiteral("Press the page's button with this caption (repeatable)."),
        QStringLiteral("CAPTION"));
    options.addOption(pageOption);
    options.addOption(tabOption);
    options.addOption(pressOption);
    options.addOption(shotOption);
    options.process(app);

    // Start-up: the pages register by class name, then the application's title and help file.
    paxtor::RegisterPages();
    tarnel::MtxComCtrlsInitialize();
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

    if (options.isSet(pageOption)) {
        const QString caption = options.value(pageOption);
        const int index = window->FindNode(caption);
        if (index < 0) {
            std::fprintf(stderr, "paxtor: no page with the caption \"%s\"\n", qPrintable(caption));
            return 2;
        }
        window->SelectNode(index);
    }
    if (options.isSet(tabOption)) {
        const QString caption = options.value(tabOption);
        QTabWidget* tabs = window->PageControl1;
        int tab = -1;
        for (int i = 0; i < tabs->count() && tab < 0; ++i)
            if (tabs->tabText(i).remove('&') == caption && tabs->isTabVisible(i)) tab = i;
        if (tab < 0) {
            std::fprintf(stderr, "paxtor: no visible tab with the caption \"%s\"\n", qPrintable(caption));
            return 2;
        }
        tabs->setCurrentIndex(tab);
    }

    // Shown after the page is in place: a page that needs more room than the window's first size would otherwise
    // grow the window before the window manager maximised it, and keep it from being maximised.
    window->showMaximized();

    // The presses run one after the other once the event loop runs; each click returns when its work is done.
    bool pressesDone = true;
    bool shotTaken = false;  // after the picture no further button is pressed
    int pressStatus = 0;
    const QStringList presses = options.values(pressOption);
    if (!presses.isEmpty()) {
        pressesDone = false;
        QTimer::singleShot(0, &app, [&window, &pressesDone, &pressStatus, &shotTaken, presses] {
            for (const QString& caption : presses) {
                if (shotTaken) break;
                QAbstractButton* button = FindButton(window->ExampleForm(), caption);
                if (!button) {
                    std::fprintf(stderr, "paxtor: no button with the caption \"%s\" on the page\n",
                                 qPrintable(caption));
                    pressStatus = 2;
                    break;
                }
                button->click();
            }
            pressesDone = true;
        });
    }

    int shotStatus = 0;
    if (options.isSet(shotOption)) {
        const QString file = QFileInfo(options.value(shotOption)).absoluteFilePath();
        // Give the window manager time to map and maximise the window and the window time to paint; then wait
        // for the presses, unless one of them waits in a modal window.
        auto* poll = new QTimer(&app);
        QTimer::singleShot(1500, &app, [poll] { poll->start(200); });
        QObject::connect(poll, &QTimer::timeout, &app, [&app, &window, &shotStatus, &pressesDone, &shotTaken, poll, file] {
            if (!pressesDone && !QApplication::activeModalWidget()) return;
            poll->stop();
            shotTaken = true;
            QApplication::processEvents();  // paint what the presses left
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
    tarnel::MtxComCtrlsFinalize();
    if (status != 0) return status;
    return shotStatus != 0 ? shotStatus : pressStatus;
}
