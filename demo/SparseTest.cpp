#include "demo/SparseTest.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QSet>
#include <cstdio>
#include <exception>

#include "demo/DemoFiles.h"
#include "demo/MatrixPages.h"
#include "demo/TimingLoops.h"
#include "demo/TimingRun.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/TickCount.h"
#include "sparse/ansicrtl.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

const char* const kReportLevels[] = {"prlNone", "prlErrorsOnly", "prlBasic", "prlExtensive", "prlComplete", "prlAll"};

// Each file that cannot be loaded is reported once on standard error, so that a wrong data folder shows.
void ReportOnce(const QString& Path, const QString& Why)
{
    static QSet<QString> reported;
    if (reported.contains(Path)) return;
    reported.insert(Path);
    std::fprintf(stderr, "paxtor: %s not loaded: %s\n", qPrintable(Path), qPrintable(Why));
}

QString Line(bool Same, const char* First, const char* Second)
{
    return QString::fromLatin1(First) + (Same ? QStringLiteral(" equal to ") : QStringLiteral(" NOT equal to ")) +
           QString::fromLatin1(Second);
}

}  // namespace

TfrmSparseTest::TfrmSparseTest(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/SparseCompare.rtf"));

    // The middle: the solver's report beside the chart.
    auto* middle = new QHBoxLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);
    Memo1 = new QPlainTextEdit(Panel3);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    middle->addWidget(Memo1, 1);
    Chart1 = new TChart(Panel3);
    Chart1->setObjectName("Chart1");
    Chart1->legend->setVisible(false);
    Chart1->xAxis->setLabel(QStringLiteral("Operation"));
    Chart1->xAxis->setVisible(false);  // each bar's mark names its operation
    Chart1->yAxis->setLabel(QStringLiteral("Time for 100 evaluations [ms]"));
    Series1 = Chart1->AddBarSeries(QString(), Qt::red);
    Series1->SetMarksShowLabels(true);
    middle->addWidget(Chart1, 1);

    // The bottom: the report level under its caption, then the button.
    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 4, 8, 4);
    auto* level = new QVBoxLayout;
    Label1 = new QLabel(QStringLiteral("Solve Report Level"), Panel2);
    Label1->setObjectName("Label1");
    ComboBox1 = new QComboBox(Panel2);
    ComboBox1->setObjectName("ComboBox1");
    for (const char* item : kReportLevels) ComboBox1->addItem(QString::fromLatin1(item));
    ComboBox1->setCurrentIndex(0);
    level->addWidget(Label1);
    level->addWidget(ComboBox1);
    bottom->addLayout(level);
    bottom->addStretch(1);
    btnDoTests = MakeButton(Panel2, "btnDoTests", QStringLiteral("Do tests"));
    bottom->addWidget(btnDoTests, 0, Qt::AlignVCenter);

    FS.SetReportLevel(prlNone);
    FS.SetAutoClearReport(true);
    LoadSystem();
    FB.Size(FS.Rows(), false);
    FB.RandGauss();

    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            Guard([this](int i) { FS.SetReportLevel(static_cast<TReportLevel>(i)); }));
    connect(btnDoTests, &QPushButton::clicked, this, Guard([this] { DoTests(); }));
    FHelp.Apply(HelpKept);
}

void TfrmSparseTest::LoadSystem()
{
    const QString path = DataPath(QString::fromLatin1(kSystemFile));
    if (!QFileInfo(path).isFile()) {
        ReportOnce(path, QStringLiteral("no such file"));
        return;
    }
    try {
        FS.LoadFromMatrixMarketFile(path.toStdString());
    } catch (const std::exception& e) {
        ReportOnce(path, QString::fromUtf8(e.what()));  // the reader changes nothing on a failure
    }
}

void TfrmSparseTest::AddBar(const QString& Label, double Milliseconds, unsigned Color)
{
    const int index = Series1->AddXY(Series1->Count(), Milliseconds, Label);
    Series1->SetBarColor(index, ColorFromBGR(Color));
}

std::uint32_t TfrmSparseTest::TimeLUSolve()
{
    const std::uint32_t start = GetTickCount();
    for (int i = 0; i < kRuns; ++i) FA.LUSolve(FB, FX1, mtGeneral, opNone);
    return TickDiff(start, GetTickCount());
}

// The report is read inside the timing, as the page has always measured it: its cost is part of the bar.
std::uint32_t TfrmSparseTest::TimeSparseSolve()
{
    const std::uint32_t start = GetTickCount();
    for (int i = 0; i < kRuns; ++i) FS.Solve(FB, FX2);
    Memo1->clear();
    // The text is read without moving the stream's position, which stays at the end for the next writer.
    Memo1->setPlainText(QString::fromLatin1(RtlStringsText()));
    return TickDiff(start, GetTickCount());
}

std::uint32_t TfrmSparseTest::TimeIterativeSolve()
{
    const std::uint32_t start = GetTickCount();
    for (int i = 0; i < kRuns; ++i) {
        FX3.Ramp();
        FS.SolveIterative(FB, FX3, false);
    }
    KeepObservable(FX3.Values());
    return TickDiff(start, GetTickCount());
}

void TfrmSparseTest::DoTests()
{
    if (FRunning) return;
    {
        TTimingRun run(this, FRunning);
        Series1->Clear();
        FX1.Size(FB);
        FS.SparseToDense(FA, 10000000);
        AddBar(QStringLiteral("LUSolve"), TimeLUSolve(), kBarColors[0]);
        if (!run.ShowProgress()) return;
        FX2.Size(FB);
        AddBar(QStringLiteral("Sparse\nSolve"), TimeSparseSolve(), kBarColors[1]);
        if (!run.ShowProgress()) return;
        FX3.Size(FB);
        FS.SetIterativeMethod(itmLUGMRES);
        AddBar(QStringLiteral("Sparse\nIterativeSolve"), TimeIterativeSolve(), kBarColors[2]);
    }
    ShowMessage(ComparisonText());
}

QString TfrmSparseTest::ComparisonText() const
{
    return Line(FX1.Equal(FX2, 0.001), "LU Solve solution", "Sparse solve solution") + QLatin1Char('\n') +
           Line(FX1.Equal(FX3, 0.001), "LU Solve solution", "iterative solve solution") + QLatin1Char('\n') +
           Line(FX2.Equal(FX3, 0.001), "sparse solve solution", "iterative solve solution");
}

}  // namespace paxtor
