// The sparse solver comparison page, reached through the main window: its controls, the committed system file
// (the generator's output, the Kronecker build), the three solutions against scipy's spsolve, the report by level
// and the report stream left at its end, the comparison lines, the bars, and a data folder without the file.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

#include "demo/DemoFiles.h"
#include "demo/Main.h"
#include "demo/MatrixPages.h"
#include "demo/Pages.h"
#include "demo/SparseTest.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Help.h"
#include "sparse/ansicrtl.h"
#include "tests/demo/PageTests.h"

#include "../data/sparse_page_golden.inc"

using namespace paxtor;
using namespace tarnel;
using namespace tarnel::gui;
using pagetest::TSteppingTicks;

namespace {

constexpr const char* kCaption = "Support for sparse matrices";

QStringList gErrorBoxes;
QStringList gMessages;
QList<int> gHelpContexts;

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The largest difference between X and the golden solution, relative to the solution's largest element.
double RelativeError(const TVec& X, const double* Gold, int N)
{
    double diff = 0, scale = 0;
    for (int i = 0; i < N; ++i) {
        diff = std::max(diff, std::abs(X.Values()[i] - Gold[i]));
        scale = std::max(scale, std::abs(Gold[i]));
    }
    return diff / scale;
}

// What the process writes to standard error while it lives.
class TStderrCapture {
public:
    TStderrCapture() : FSaved(dup(2))
    {
        std::fflush(stderr);
        FFile = std::tmpfile();
        dup2(fileno(FFile), 2);
    }
    ~TStderrCapture() { Restore(), std::fclose(FFile); }
    QString Text()
    {
        Restore();
        std::rewind(FFile);
        QByteArray bytes;
        char buf[512];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, FFile)) > 0;) bytes.append(buf, qsizetype(n));
        return QString::fromLocal8Bit(bytes);
    }

private:
    void Restore()
    {
        if (FSaved < 0) return;
        std::fflush(stderr);
        dup2(FSaved, 2);
        close(FSaved);
        FSaved = -1;
    }
    int FSaved;
    std::FILE* FFile;
};

}  // namespace

class TestSparsePage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pageIsBuiltAndKeepsTheHelpButton();
    void systemFileIsTheGeneratorsOutput();
    void systemIsTheKroneckerBuild();
    void solutionsAgreeWithSpsolveAndBarsFollowTheMethods();
    void reportByLevel_data();
    void reportByLevel();
    void comparisonLines_data();
    void comparisonLines();
    void missingFileIsLoggedOnceAndTheEmptySystemRuns();

private:
    TfrmSparseTest* Open() { return pagetest::Open<TfrmSparseTest>(*FWindow, kCaption); }
    // The golden right-hand side in place of the page's random one, then "Do tests" with 7 ms per timed block.
    void RunWithGoldenB(TfrmSparseTest* Page)
    {
        QCOMPARE(Page->B().Length(), 225);
        std::copy(std::begin(kPde225B), std::end(kPde225B), Page->B().Values());
        TSteppingTicks ticks;
        QTest::mouseClick(Page->btnDoTests, Qt::LeftButton);
    }
    std::unique_ptr<TfrmMain> FWindow;
};

void TestSparsePage::initTestCase()
{
    RegisterPages();
    SetErrorBox([](const QString& m) { gErrorBoxes << m; });
    SetMessageBox([](const QString& m) { gMessages << m; });
    SetHelpViewer([](int c) { gHelpContexts << c; });
}

void TestSparsePage::init()
{
    gErrorBoxes.clear();
    gMessages.clear();
    gHelpContexts.clear();
    FWindow = std::make_unique<TfrmMain>();
    FWindow->resize(1000, 700);
}

void TestSparsePage::cleanup()
{
    FWindow.reset();
    SetDataFolder(QString());
    QVERIFY2(gErrorBoxes.isEmpty(), qPrintable(gErrorBoxes.join("; ")));
    QVERIFY(!QApplication::overrideCursor());
}

void TestSparsePage::pageIsBuiltAndKeepsTheHelpButton()
{
    // A page with help off before it: the kept button stays disabled.
    FWindow->SelectNode(FWindow->FindNode(QStringLiteral("Introduction")));
    QVERIFY(!FWindow->btnHelp->isEnabled());
    auto* page = Open();
    QVERIFY(page);
    QVERIFY(!FWindow->btnHelp->isEnabled());
    QVERIFY(page->RichEdit1->toPlainText().contains("pde225.mtx"));
    QCOMPARE(page->Label1->text(), QStringLiteral("Solve Report Level"));
    const QStringList levels{"prlNone", "prlErrorsOnly", "prlBasic", "prlExtensive", "prlComplete", "prlAll"};
    QCOMPARE(page->ComboBox1->count(), levels.size());
    for (int i = 0; i < levels.size(); ++i) QCOMPARE(page->ComboBox1->itemText(i), levels[i]);
    QCOMPARE(page->ComboBox1->currentText(), QStringLiteral("prlNone"));
    QCOMPARE(page->S().ReportLevel(), prlNone);
    QVERIFY(page->S().AutoClearReport());
    page->ComboBox1->setCurrentIndex(4);
    QCOMPARE(page->S().ReportLevel(), prlComplete);
    QCOMPARE(page->btnDoTests->text(), QStringLiteral("Do tests"));
    QCOMPARE(page->Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(page->Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(page->Memo1->toPlainText().isEmpty());
    QVERIFY(!page->Chart1->legend->visible());
    QCOMPARE(page->Chart1->Title(), QString());
    QVERIFY(!page->Chart1->xAxis->visible());
    QCOMPARE(page->Chart1->xAxis->label(), QStringLiteral("Operation"));
    QCOMPARE(page->Chart1->yAxis->label(), QStringLiteral("Time for 100 evaluations [ms]"));
    QCOMPARE(page->Chart1->SeriesCount(), 1);
    QVERIFY(page->Series1->MarksVisible());
    QCOMPARE(page->Series1->Count(), 0);
    // b: one standard normal value per row of the system.
    QCOMPARE(page->B().Length(), page->S().Rows());
    QVERIFY(!page->B().Complex());
}

void TestSparsePage::systemFileIsTheGeneratorsOutput()
{
    const QString committed = DataPath(QStringLiteral("pde225.mtx"));
    const QByteArray bytes = ReadAll(committed);
    QVERIFY(bytes.startsWith("%%MatrixMarket matrix coordinate real general\n"));
    QVERIFY(bytes.contains("\n225 225 1065\n"));
    const QString script = QDir(DataFolder()).filePath("../scripts/make-pde225");
    if (!QFile::exists(script) || !QFile::exists("/usr/bin/python3")) QSKIP("no generator or python3 here");
    QTemporaryDir dir;
    const QString out = QDir(dir.path()).filePath("pde225.mtx");
    QProcess python;
    python.start("/usr/bin/python3", {script, out});
    QVERIFY(python.waitForFinished(60000));
    QCOMPARE(python.exitCode(), 0);
    QCOMPARE(ReadAll(out), bytes);
}

void TestSparsePage::systemIsTheKroneckerBuild()
{
    auto* page = Open();
    const TSparseMtx& s = page->S();
    QCOMPARE(s.Rows(), 225);
    QCOMPARE(s.Cols(), 225);
    QCOMPARE(s.NonZeros(), 1065);
    QVERIFY(!s.Complex());
    const std::span<const int> cols = s.ColPointers(), rows = s.RowIndices();
    QVERIFY(std::equal(cols.begin(), cols.begin() + 226, std::begin(kPde225Cols), std::end(kPde225Cols)));
    QVERIFY(std::equal(rows.begin(), rows.end(), std::begin(kPde225Rows), std::end(kPde225Rows)));
    const double* v = s.Values().Values();
    QVERIFY(std::equal(v, v + 1065, std::begin(kPde225Values), std::end(kPde225Values)));
    // The comment lines say what the system is.
    QVERIFY(QString::fromStdString(s.Caption()).contains("20 u_x + 10 u_y"));
}

void TestSparsePage::solutionsAgreeWithSpsolveAndBarsFollowTheMethods()
{
    auto* page = Open();
    RunWithGoldenB(page);
    QVERIFY(RelativeError(page->X1(), kPde225X, 225) < 1e-12);
    QVERIFY(RelativeError(page->X2(), kPde225X, 225) < 1e-12);
    QVERIFY(RelativeError(page->X3(), kPde225X, 225) < 1e-9);
    QCOMPARE(page->S().IterativeMethod(), itmLUGMRES);
    QCOMPARE(page->S().MtxError(), std::string());
    QCOMPARE(page->A().Rows(), 225);
    QCOMPARE(page->A().Cols(), 225);
    QCOMPARE(gMessages.size(), 1);
    QCOMPARE(gMessages[0], QStringLiteral("LU Solve solution equal to Sparse solve solution\n"
                                          "LU Solve solution equal to iterative solve solution\n"
                                          "sparse solve solution equal to iterative solve solution"));
    // LU, sparse direct, iterative from left to right, in red, blue and yellow, each mark its label and time.
    const QStringList labels{"LUSolve", "Sparse\nSolve", "Sparse\nIterativeSolve"};
    const QColor colours[3] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(255, 255, 0)};
    QCOMPARE(page->Series1->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(page->Series1->XValue(i), double(i));
        QCOMPARE(page->Series1->XLabel(i), labels[i]);
        QCOMPARE(page->Series1->YValue(i), 7.0);
        QCOMPARE(page->Series1->BarColor(i), colours[i]);
        QCOMPARE(page->Series1->PointMarkText(i), labels[i] + "\n7");
    }
    page->Chart1->resize(600, 400);
    page->Chart1->replot();
    const QImage image = page->Chart1->toPixmap(600, 400).toImage();
    for (int i = 0; i < 3; ++i) {
        const int x = int(page->Chart1->xAxis->coordToPixel(i));
        const int y = int(page->Chart1->yAxis->coordToPixel(1.0));  // low in the bar, below its mark
        QCOMPARE(QColor(image.pixel(x, y)), colours[i]);
    }
    // A second run starts again with three bars.
    RunWithGoldenB(page);
    QCOMPARE(page->Series1->Count(), 3);
}

void TestSparsePage::reportByLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("report");
    QTest::newRow("prlNone") << int(prlNone) << false;
    QTest::newRow("prlAll") << int(prlAll) << true;
}

void TestSparsePage::reportByLevel()
{
    QFETCH(int, level);
    QFETCH(bool, report);
    auto* page = Open();
    page->ComboBox1->setCurrentIndex(level);
    RunWithGoldenB(page);
    const QString memo = page->Memo1->toPlainText();
    // The memo shows the report of the last of the 100 solves (the stream is emptied at each one).
    QCOMPARE(memo, QString::fromLatin1(RtlStringsText()));
    QCOMPARE(memo.isEmpty(), !report);
    if (report) {
        QVERIFY(memo.contains("Vector b"));
        QVERIFY(memo.contains("Numeric factorization"));
        QVERIFY(memo.contains("Vector x"));
        QCOMPARE(memo.count("Vector b"), 1);
    }
    // Reading left the stream's position at its end: the next line is appended after the report.
    QCOMPARE(RtlStrings->Position(), RtlStrings->Size());
    RtlStringsAppend("next\n");
    QCOMPARE(QString::fromLatin1(RtlStringsText()), memo + "next\n");
}

void TestSparsePage::comparisonLines_data()
{
    QTest::addColumn<int>("poisoned");  // the element of b made NaN (-1: none)
    QTest::addColumn<QString>("expected");
    QTest::newRow("agree") << -1
                           << "LU Solve solution equal to Sparse solve solution\n"
                              "LU Solve solution equal to iterative solve solution\n"
                              "sparse solve solution equal to iterative solve solution";
    QTest::newRow("NaN solutions") << 17
                                   << "LU Solve solution NOT equal to Sparse solve solution\n"
                                      "LU Solve solution NOT equal to iterative solve solution\n"
                                      "sparse solve solution NOT equal to iterative solve solution";
}

void TestSparsePage::comparisonLines()
{
    QFETCH(int, poisoned);
    QFETCH(QString, expected);
    auto* page = Open();
    std::copy(std::begin(kPde225B), std::end(kPde225B), page->B().Values());
    if (poisoned >= 0) page->B().Values()[poisoned] = std::numeric_limits<double>::quiet_NaN();
    {
        TSteppingTicks ticks;
        QTest::mouseClick(page->btnDoTests, Qt::LeftButton);
    }
    QCOMPARE(gMessages, QStringList{expected});
    QCOMPARE(page->ComparisonText(), expected);
}

void TestSparsePage::missingFileIsLoggedOnceAndTheEmptySystemRuns()
{
    QTemporaryDir empty;
    SetDataFolder(empty.path());
    TStderrCapture err;
    auto* page = Open();
    QVERIFY(page);
    QCOMPARE(page->S().Rows(), 0);
    QCOMPARE(page->B().Length(), 0);
    FWindow->SelectNode(FWindow->FindNode(QStringLiteral("Introduction")));
    page = Open();
    const QString log = err.Text();
    const QString path = QDir(empty.path()).filePath("pde225.mtx");
    QCOMPARE(log.count(path), 1);
    QVERIFY(gErrorBoxes.isEmpty());  // opening is silent
    // "Do tests" on the empty system: nothing to solve, no error; three bars and three equal (empty) solutions.
    QTest::mouseClick(page->btnDoTests, Qt::LeftButton);
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(gErrorBoxes.isEmpty());
    QCOMPARE(page->Series1->Count(), 3);
    QCOMPARE(gMessages.size(), 1);
    QVERIFY(!gMessages[0].contains("NOT"));
}

QTEST_MAIN(TestSparsePage)
#include "test_sparse_page.moc"
