// The minimisation page, reached through the main window: the sliders and the component settings they make, every
// method on the Rosenbrock function, numerical against analytic derivatives, the log and its batches, the result
// lines and stop texts, the Hessian viewer (against scipy's rosen_hess, tests/data/gen_mtx_optim_golden.py) and the
// library-wide gradient step the page leaves behind.
#include <QApplication>
#include <QPointer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>

#include "components/TarnelEdit.h"
#include "demo/Main.h"
#include "demo/MtxOptim.h"
#include "demo/Pages.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Settings.h"

using namespace paxtor;
using namespace tarnel;
using namespace tarnel::gui;

namespace {

#include "../data/mtx_optim_golden.inc"

QStringList gErrorBoxes;

QStringList MemoLines(const QPlainTextEdit* memo)
{
    return memo->toPlainText().split('\n');
}

// A "Hessian" that no Cholesky factorisation accepts.
void IndefiniteHess(TOptFunction Fun, std::span<const double> Pars, std::span<const double> Consts,
                    std::span<void* const> OConsts, TVec& Grad, TMtx* Hess)
{
    TfrmMtxOptim::RosenbrockGrad(Fun, Pars, Consts, OConsts, Grad);
    if (!Hess) return;
    const TRowsView<double> h = Hess->Values2D();
    h[0][0] = 1, h[0][1] = 3, h[1][0] = 3, h[1][1] = 1;
}

}  // namespace

class TestMtxOptim : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsWithTheTableSettings();
    void slidersSetTheComponent();
    void everyMethodFindsTheMinimum_data();
    void everyMethodFindsTheMinimum();
    void numericalDerivativeDropsTheRoutines();
    void logClearedShowsOnlyTheResult();
    void longLogReachesTheMemoWhole();
    void singularStopEndsTheLine();
    void hessianViewerOutlivesThePage();
    void gradStepSizeStaysWhenThePageGoes();

private:
    QTemporaryDir FSettings;
    std::unique_ptr<TfrmMain> FWindow;
    TfrmMtxOptim* FPage = nullptr;
    void Open()
    {
        FWindow->SelectNode(FWindow->FindNode("New minimization algorithms"));
        FPage = dynamic_cast<TfrmMtxOptim*>(FWindow->ExampleForm());
        QVERIFY(FPage);
    }
};

void TestMtxOptim::initTestCase()
{
    RegisterPages();
    SetErrorBox([](const QString& m) { gErrorBoxes << m; });
    SetSettingsFolder(FSettings.path());
}

void TestMtxOptim::init()
{
    gErrorBoxes.clear();
    FWindow = std::make_unique<TfrmMain>();
    FWindow->resize(1100, 750);
    Open();
}

void TestMtxOptim::cleanup()
{
    FPage = nullptr;
    FWindow.reset();
    GradStepSize = kDefaultGradStepSize;
    QList<QPointer<QWidget>> viewers;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<TTarnelEditForm*>(w)) viewers << w;
    for (const QPointer<QWidget>& w : viewers) delete w.data();
    QVERIFY2(gErrorBoxes.isEmpty(), qPrintable(gErrorBoxes.join("; ")));
}

void TestMtxOptim::startsWithTheTableSettings()
{
    QVERIFY(FPage->RichEdit1->toPlainText().contains("Rosenbrock"));
    const QStringList labels = {"400", "1.0E-06", "1.0E-10", "1.0E-05", "1.0E-04", "0.00", "0.00"};
    const int ranges[][4] = {{50, 10000, 1000, 400}, {1, 16, 2, 6},      {1, 16, 2, 10},    {1, 9, 1, 5},
                             {1, 16, 2, 4},          {-100, 100, 10, 0}, {-100, 100, 10, 0}};
    for (int i = 0; i < TfrmMtxOptim::kSliderCount; ++i) {
        QCOMPARE(FPage->ValueLabels[i]->text(), labels[i]);
        QCOMPARE(FPage->Sliders[i]->minimum(), ranges[i][0]);
        QCOMPARE(FPage->Sliders[i]->maximum(), ranges[i][1]);
        QCOMPARE(FPage->Sliders[i]->tickInterval(), ranges[i][2]);
        QCOMPARE(FPage->Sliders[i]->value(), ranges[i][3]);
    }
    QStringList captions;
    for (QLabel* l : FPage->findChildren<QLabel*>()) captions << l->text();
    for (const char* c : {"Max. number of iterations", "Tolerance", "Gradient tolerance", "Initial lambda",
                          "Gradient step size", "a", "b"})
        QVERIFY2(captions.contains(c), c);
    QCOMPARE(GradStepSize, 1e-4);

    const TMtxOptimization& opt = FPage->MtxOptimization1();
    QCOMPARE(opt.OptimizationMethod(), optMarquardt);
    QCOMPARE(opt.MaxIterations(), 400);
    QCOMPARE(opt.Tolerance(), 1e-6);
    QCOMPARE(opt.GradTolerance(), 1e-10);
    QCOMPARE(opt.Lambda0(), 1e-5);
    QVERIFY(!opt.SoftSearch());
    QVERIFY(opt.Grad() == &TfrmMtxOptim::RosenbrockGrad);
    QVERIFY(opt.GradHess() == &TfrmMtxOptim::RosenbrockGradHess);
    QCOMPARE(opt.VariableParameters().Length(), 2);
    QVERIFY(opt.Verbose());

    QCOMPARE(FPage->RadioGroup1->title(), QString("Method"));
    const QStringList methods = {"Nelder-Mead (Simplex)",         "Levenberg-Marquardt",
                                 "Quasi-Newton (BFGS)",           "Quasi-Newton (DFP)",
                                 "Conjugate Gradient (Fletcher)", "Conjugate Gradient (Polak)"};
    for (int i = 0; i < 6; ++i) QCOMPARE(FPage->MethodItems->button(i)->text(), methods[i]);
    QCOMPARE(FPage->MethodItems->checkedId(), 1);
    QVERIFY(FPage->CheckLog->isChecked());
    QVERIFY(!FPage->CheckNumerical->isChecked());
    QVERIFY(FPage->Memo1->isReadOnly());
    QCOMPARE(FPage->btnMinimize->text(), QString("Find minimum"));
    QCOMPARE(FPage->btnHessian->text(), QString("Show Hessian mtx"));

    // The help button is kept as the page before left it: enabled after a page with help, disabled after one without.
    for (const char* before : {"Probabilities unit", "Introduction"}) {
        FWindow->SelectNode(FWindow->FindNode(before));
        const bool enabled = FWindow->btnHelp->isEnabled();
        Open();
        QCOMPARE(FWindow->btnHelp->isEnabled(), enabled);
    }

    // The first run at the start settings: six decimals, as the tolerance slider shows.
    QTest::mouseClick(FPage->btnMinimize, Qt::LeftButton);
    const QStringList lines = MemoLines(FPage->Memo1);
    QCOMPARE(lines.first(), QString("Marquardt"));
    QCOMPARE(lines.mid(lines.size() - 5, 4),
             (QStringList{"----------------------------", "a = 1.000000", "b = 1.000000", "F(min) = 0.000000"}));
    QVERIFY(lines.last().startsWith("Stop Reason = "));
}

void TestMtxOptim::slidersSetTheComponent()
{
    const TMtxOptimization& opt = FPage->MtxOptimization1();
    const struct {
        int slider, position;
        const char* label;
    } moves[] = {
        {TfrmMtxOptim::sbMaxIter, 10000, "10000"},
        {TfrmMtxOptim::sbTolerance, 16, "1.0E-16"},
        {TfrmMtxOptim::sbGradTolerance, 1, "1.0E-01"},
        {TfrmMtxOptim::sbLambda0, 9, "1.0E-09"},
        {TfrmMtxOptim::sbGradStep, 7, "1.0E-07"},
        {TfrmMtxOptim::sbA, -63, "-1.26"},
        {TfrmMtxOptim::sbB, 100, "2.00"},
    };
    for (const auto& m : moves) {
        FPage->Sliders[m.slider]->setValue(m.position);
        QCOMPARE(FPage->ValueLabels[m.slider]->text(), QString(m.label));
    }
    QCOMPARE(opt.MaxIterations(), 10000);
    QCOMPARE(opt.Tolerance(), 1e-16);
    QCOMPARE(opt.GradTolerance(), 1e-1);
    QCOMPARE(opt.Lambda0(), 1e-9);
    QCOMPARE(GradStepSize, 1e-7);
    QCOMPARE(opt.VariableParameters()[0], -63 * 0.02);
    QCOMPARE(opt.VariableParameters()[1], 2.0);
    for (int m = 0; m < 6; ++m) {
        FPage->MethodItems->button(m)->click();
        QCOMPARE(int(opt.OptimizationMethod()), m);
    }
}

void TestMtxOptim::everyMethodFindsTheMinimum_data()
{
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("header");
    QTest::newRow("Simplex") << int(optSimplex) << "Simplex";
    QTest::newRow("Marquardt") << int(optMarquardt) << "Marquardt";
    QTest::newRow("BFGS") << int(optBFGS) << "BFGS";
    QTest::newRow("DFP") << int(optDFP) << "BFGS";
    QTest::newRow("Fletcher") << int(optConjGradFR) << "ConjGrad";
    QTest::newRow("Polak") << int(optConjGradPR) << "ConjGrad";
}

void TestMtxOptim::everyMethodFindsTheMinimum()
{
    QFETCH(int, method);
    QFETCH(QString, header);
    FPage->MethodItems->button(method)->click();
    FPage->Sliders[TfrmMtxOptim::sbMaxIter]->setValue(10000);
    FPage->Sliders[TfrmMtxOptim::sbTolerance]->setValue(10);
    FPage->Sliders[TfrmMtxOptim::sbA]->setValue(0);
    FPage->Sliders[TfrmMtxOptim::sbB]->setValue(0);
    // A run from elsewhere first: the next run starts from the sliders again.
    FPage->MtxOptimization1().VariableParameters()[0] = 5.0;
    QTest::mouseClick(FPage->btnMinimize, Qt::LeftButton);

    const TMtxOptimization& opt = FPage->MtxOptimization1();
    const double a = opt.VariableParameters()[0], b = opt.VariableParameters()[1];
    QVERIFY2(std::fabs(a - 1) < 1e-4 && std::fabs(b - 1) < 1e-4, qPrintable(QString("a = %1, b = %2").arg(a).arg(b)));
    const QStringList lines = MemoLines(FPage->Memo1);
    QCOMPARE(lines.first(), header);
    QCOMPARE(lines.at(lines.size() - 5), QString("----------------------------"));
    // Ten decimals, as the tolerance slider's position: the value itself, not rounded to one digit.
    QCOMPARE(lines.at(lines.size() - 4), QString::fromStdString("a = " + FloatToStrF(a, ffFixed, 15, 10)));
    QCOMPARE(lines.at(lines.size() - 3), QString::fromStdString("b = " + FloatToStrF(b, ffFixed, 15, 10)));
    QCOMPARE(lines.at(lines.size() - 2),
             QString::fromStdString("F(min) = " + FloatToStrF(opt.FunMin(), ffFixed, 15, 10)));
    const QString reason = TfrmMtxOptim::StopReasonText(opt.StopReason());
    QVERIFY(!reason.isEmpty());
    QCOMPARE(lines.last(), "Stop Reason = " + reason);
}

void TestMtxOptim::numericalDerivativeDropsTheRoutines()
{
    TMtxOptimization& opt = FPage->MtxOptimization1();
    FPage->CheckNumerical->click();
    QVERIFY(opt.SoftSearch());
    QVERIFY(opt.Grad() == &NumericGradRichardson);
    QVERIFY(opt.GradHess() == &NumericGradHess);
    for (const int method : {int(optMarquardt), int(optBFGS)}) {
        FPage->MethodItems->button(method)->click();
        FPage->FindMinimum();
        QVERIFY(std::fabs(opt.VariableParameters()[0] - 1) < 1e-3);
    }
    FPage->CheckNumerical->click();
    QVERIFY(!opt.SoftSearch());
    QVERIFY(opt.Grad() == &TfrmMtxOptim::RosenbrockGrad);
    QVERIFY(opt.GradHess() == &TfrmMtxOptim::RosenbrockGradHess);
}

void TestMtxOptim::logClearedShowsOnlyTheResult()
{
    FPage->CheckLog->click();
    QVERIFY(!FPage->MtxOptimization1().Verbose());
    FPage->FindMinimum();
    FPage->FindMinimum();  // the memo is cleared before each run
    const QStringList lines = MemoLines(FPage->Memo1);
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.first(), QString("----------------------------"));
    QCOMPARE(lines.at(1), QString("a = 1.000000"));
    FPage->CheckLog->click();
    FPage->FindMinimum();
    QVERIFY(MemoLines(FPage->Memo1).size() > 5);
}

void TestMtxOptim::longLogReachesTheMemoWhole()
{
    // The memo's lines as the minimisers write them: a log of 10,000 lines arrives whole and in order, a batch at a
    // time; the list reads back every line, shown or not yet.
    QPlainTextEdit memo;
    TMemoLines log(&memo);
    int appends = 0;
    QObject::connect(memo.document(), &QTextDocument::contentsChange,
                     [&](int, int, int added) { appends += added > 0; });
    const auto line = [](int i) { return QString("%1      %2").arg(i, 4, 10, QChar('0')).arg(i * 0.5, 0, 'f', 6); };
    log.Add("Simplex");
    for (int i = 0; i <= 10000; ++i) {
        log.Add(line(i).toStdString());
        QCOMPARE(log.Strings(log.Count() - 1), line(i).toStdString());
    }
    QVERIFY(appends <= 10002 / TMemoLines::kBatch);
    log.Flush();
    QStringList lines = MemoLines(&memo);
    QCOMPARE(lines.size(), 10002);
    QCOMPARE(log.Count(), 10002);
    QCOMPARE(lines.first(), QString("Simplex"));
    for (int i = 0; i <= 10000; ++i) QCOMPARE(lines[i + 1], line(i));

    // Changes inside the list show too.
    log.Delete(0);
    log.Insert(1, "inserted");
    log.SetStrings(0, "first");
    lines = MemoLines(&memo);
    QCOMPARE(lines.mid(0, 3), (QStringList{"first", "inserted", line(1)}));
    QCOMPARE(lines.size(), log.Count());
    QVERIFY_THROWS_EXCEPTION(EListError, log.Strings(log.Count()));
    log.Clear();
    QVERIFY(memo.toPlainText().isEmpty());
    QCOMPARE(log.Count(), 0);

    // On the page: a run's log reaches the memo whole, also when the function raises midway.
    FPage->MethodItems->button(optSimplex)->click();
    FPage->MtxOptimization1().SetObjective(
        [](std::span<const double> p, std::span<const double>, std::span<void* const>) -> double {
            if (p[0] > 0.9) throw Exception("stop here");
            return 100 * (p[1] - p[0] * p[0]) * (p[1] - p[0] * p[0]) + (1 - p[0]) * (1 - p[0]);
        });
    QTest::mouseClick(FPage->btnMinimize, Qt::LeftButton);
    QCOMPARE(gErrorBoxes, QStringList{"stop here"});
    gErrorBoxes.clear();
    lines = MemoLines(FPage->Memo1);
    QVERIFY(lines.size() > 3);
    QCOMPARE(lines.at(0), QString("Simplex"));
    QVERIFY(lines.last().startsWith(QString("%1      ").arg(lines.size() - 3, 4, 10, QChar('0'))));
}

void TestMtxOptim::singularStopEndsTheLine()
{
    FPage->MtxOptimization1().SetGradHess(IndefiniteHess);
    FPage->FindMinimum();
    QCOMPARE(FPage->MtxOptimization1().StopReason(), OptResSingular);
    QCOMPARE(MemoLines(FPage->Memo1).last(), QString("Stop Reason = "));
    QCOMPARE(TfrmMtxOptim::StopReasonText(OptResNotFound), QString());
}

void TestMtxOptim::hessianViewerOutlivesThePage()
{
    FPage->Sliders[TfrmMtxOptim::sbTolerance]->setValue(10);
    FPage->FindMinimum();
    const TMtx& h = FPage->MtxOptimization1().HessianMtx();
    QCOMPARE(h.Rows(), 2);
    QCOMPARE(h.Cols(), 2);
    for (int k = 0; k < 4; ++k)
        QVERIFY2(std::fabs(h.Values()[k] - kInvHessAtMinimum[k]) < 1e-3 * std::fabs(kInvHessAtMinimum[k]),
                 qPrintable(QString("%1: %2").arg(k).arg(h.Values()[k])));

    // The viewer keeps its own copy, not modal, when the page goes.
    std::vector<double> values(h.Values(), h.Values() + 4);
    QTest::mouseClick(FPage->btnHessian, Qt::LeftButton);
    FWindow->SelectNode(FWindow->FindNode("Introduction"));
    TTarnelEditForm* viewer = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = dynamic_cast<TTarnelEditForm*>(w)) viewer = f;
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QVERIFY(!viewer->isModal());
    QCOMPARE(viewer->Values().Rows(), 2);
    for (int k = 0; k < 4; ++k) QCOMPARE(viewer->Values().Values()[k], values[k]);
}

void TestMtxOptim::gradStepSizeStaysWhenThePageGoes()
{
    FPage->Sliders[TfrmMtxOptim::sbGradStep]->setValue(9);
    QCOMPARE(FPage->ValueLabels[TfrmMtxOptim::sbGradStep]->text(), QString("1.0E-09"));
    FWindow->SelectNode(FWindow->FindNode("Introduction"));
    QCOMPARE(GradStepSize, 1e-9);
    Open();  // the page sets its start value again
    QCOMPARE(GradStepSize, 1e-4);
}

QTEST_MAIN(TestMtxOptim)
#include "test_mtx_optim.moc"
