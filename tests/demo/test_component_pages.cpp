// The component pages, reached through the main window: the number edit page's arithmetic against Python's complex
// numbers (tests/data/gen_component_pages_golden.py) and its editor buttons; the progress dialog page's loop modes,
// Cancel, a destruction during a run, the percentage of a range away from 0 and a "to" lowered during a run (the
// worker is held where a test needs it by the page's BeforeProduct hook, never by sleeping for a guessed time); the
// grid series page's pictures against numpy's 4 x 4 blocks, its axes, the Animate interlocks, the value under the
// cursor and the series editor.
#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>

#include "components/MtxGridSerEdit.h"
#include "components/MtxStepEdit.h"
#include "core/pool.h"
#include "demo/FloatEdit1.h"
#include "demo/Main.h"
#include "demo/MtxGridSeries_Demo.h"
#include "demo/Pages.h"
#include "demo/ProgDialog.h"
#include "platform/gui/Guard.h"
#include "platform/gui/SeriesEditor.h"
#include "platform/rtl/NumText.h"

using namespace paxtor;
using namespace tarnel;
using namespace tarnel::gui;

namespace {

#include "../data/component_pages_golden.inc"

QStringList gErrorBoxes;

// Holds the worker before its product number At (0-based, counted from the start of the run) until Release is set
// or the dialog is stopped; counts the products begun.
struct THold {
    std::atomic<int> Begun{0};
    std::atomic<int> At{-1};
    std::atomic<bool> Held{false};
    std::atomic<bool> Release{false};

    // Installs the hold and starts a run; true once the worker is held.
    bool Start(TfrmProgDialog& Page, int Product)
    {
        At = Product;
        Install(Page);
        QTest::mouseClick(Page.btnStart, Qt::LeftButton);
        return QTest::qWaitFor([this] { return Held.load(); });
    }
    void Install(TfrmProgDialog& Page)
    {
        TMtxProgressDialog* dialog = &Page.MtxThread();
        Page.BeforeProduct = [this, dialog] {
            if (Begun.fetch_add(1) == At.load()) {
                Held.store(true);
                while (!Release.load() && !dialog->Stopped()) QThread::msleep(1);
            }
        };
    }
};

}  // namespace

class TestComponentPages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    // TfrmFloatEdit1
    void floatEditStart();
    void floatEditOperations_data();
    void floatEditOperations();
    void floatEditEditButtons();

    // TfrmProgDialog
    void progressStart();
    void progressControlsWriteTheDialog();
    void progressEachModeEndsAtMax_data();
    void progressEachModeEndsAtMax();
    void progressText_data();
    void progressText();
    void progressRangeAwayFromZero();
    void progressCancelKeepsTheLastPercentage();
    void progressCancelThenStartOneWorker();
    void progressDestroyMidRun_data();
    void progressDestroyMidRun();
    void progressInProcedureEndsBelowTheCounter();

    // TfrmMtxGridSeries
    void gridStart();
    void gridPicturesAgainstNumpy();
    void gridAnimateInterlocks();
    void gridValueAtCursor();
    void gridEditSeries();

private:
    template <class TPage>
    TPage* Open(const char* Caption)
    {
        FWindow->SelectNode(FWindow->FindNode(QString::fromLatin1(Caption)));
        return dynamic_cast<TPage*>(FWindow->ExampleForm());
    }
    TfrmProgDialog* OpenProgress(int Mode, int From, int To)
    {
        auto* page = Open<TfrmProgDialog>("Progress Dialog");
        if (!page) return nullptr;
        page->IteratorItems->button(Mode)->click();
        page->FromEdit->SetValue(QString::number(From));
        page->ToEdit->SetValue(QString::number(To));
        page->IntervalEdit->SetValue("10");
        return page;
    }
    // The grid page with S replaced by the golden matrix.
    TfrmMtxGridSeries* OpenGoldenGrid()
    {
        auto* page = Open<TfrmMtxGridSeries>("Viewing matrix values");
        if (!page) return nullptr;
        TIntArray rows, cols;
        TSampleArray values;
        for (const auto& e : kGridEntries) rows.push_back(e.Row), cols.push_back(e.Col), values.push_back(e.Value);
        page->S().TripletsToSparse(2000, 2000, rows, cols, values, 0);
        page->Reduce();
        return page;
    }
    std::unique_ptr<TfrmMain> FWindow;
    int FPooledMatrices = 0;
};

void TestComponentPages::initTestCase()
{
    RegisterPages();
    SetErrorBox([](const QString& m) { gErrorBoxes << m; });
}

void TestComponentPages::init()
{
    gErrorBoxes.clear();
    FPooledMatrices = MtxCacheUsed.load();
    FWindow = std::make_unique<TfrmMain>();
    FWindow->resize(1100, 750);
}

void TestComponentPages::cleanup()
{
    FWindow.reset();
    QVERIFY2(gErrorBoxes.isEmpty(), qPrintable(gErrorBoxes.join("; ")));
    QCOMPARE(MtxCacheUsed.load(), FPooledMatrices);  // every run gave its matrices back
}

// ---- TfrmFloatEdit1 ------------------------------------------------------------------------------------------------

void TestComponentPages::floatEditStart()
{
    // The help button stays as the page before left it.
    for (const char* before : {"Probabilities unit", "Introduction"}) {
        FWindow->SelectNode(FWindow->FindNode(before));
        const bool enabled = FWindow->btnHelp->isEnabled();
        QVERIFY(Open<TfrmFloatEdit1>("TMtxFloatEdit control"));
        QCOMPARE(FWindow->btnHelp->isEnabled(), enabled);
    }
    auto* page = Open<TfrmFloatEdit1>("TMtxFloatEdit control");
    QVERIFY(page->RichEdit1->toPlainText().contains("TMtxFloatEdit"));
    QCOMPARE(page->MtxFloatEdit1->text(), QString("2+2i"));
    QCOMPARE(page->MtxFloatEdit2->text(), QString("2+5i"));
    for (TMtxFloatEdit* e : {page->MtxFloatEdit1, page->MtxFloatEdit2}) {
        QCOMPARE(e->ReFormat(), QString("0.####;-0.####"));
        QCOMPARE(e->ImFormat(), QString("+0.####i;-0.####i"));
        QCOMPARE(e->Increment(), QString("1"));
        QVERIFY(!e->IntegerIncrement());
    }
    QVERIFY(page->Edit1->isReadOnly());
    QVERIFY(page->Edit1->text().isEmpty());
    QCOMPARE(page->btnEdit1->text(), QString("<- Edit"));
    QCOMPARE(page->btnEdit2->text(), QString("<- Edit"));

    // The buttons step by 1 in the real part; the result follows the values as they stand.
    page->MtxFloatEdit1->Button()->UpButton()->click();
    QCOMPARE(page->MtxFloatEdit1->text(), QString("3+2i"));
    QTest::mouseClick(page->btnOps[TfrmFloatEdit1::opAdd], Qt::LeftButton);
    QCOMPARE(page->Edit1->text(), QString("5+7i"));
}

void TestComponentPages::floatEditOperations_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < 4; ++i) QTest::newRow(kFloatEditOps[i].Button) << i;
}

void TestComponentPages::floatEditOperations()
{
    QFETCH(int, row);
    const auto& want = kFloatEditOps[row];
    auto* page = Open<TfrmFloatEdit1>("TMtxFloatEdit control");
    QPushButton* button = page->btnOps[row];
    QCOMPARE(button->text(), QString(want.Button));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(page->Edit1->text(), QString(want.Text));
    // Python's division may round its last bit otherwise; products, sums and differences are exact.
    QVERIFY(std::fabs(page->Result().Re - want.Re) <= 0x1p-52 * std::fabs(want.Re));
    QVERIFY(std::fabs(page->Result().Im - want.Im) <= 0x1p-52 * std::fabs(want.Im));

    // A text that makes no number reports its error and keeps the result shown.
    page->MtxFloatEdit2->setText("--");
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(gErrorBoxes.size(), 1);
    gErrorBoxes.clear();
    QCOMPARE(page->Edit1->text(), QString(want.Text));
}

void TestComponentPages::floatEditEditButtons()
{
    auto* page = Open<TfrmFloatEdit1>("TMtxFloatEdit control");
    for (int i = 0; i < 2; ++i) {
        TMtxFloatEdit* edit = i == 0 ? page->MtxFloatEdit1 : page->MtxFloatEdit2;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            TMtxStepEditForm* f = edit->StepEditor();
            seen = f && f->isModal() && f->isVisible() && f->Edit() == edit;
            if (f) {
                f->IncrementEdit->setText("0.5");
                f->ApplyIncrement();
                f->OKButton->click();
            }
        });
        QTest::mouseClick(i == 0 ? page->btnEdit1 : page->btnEdit2, Qt::LeftButton);
        QVERIFY(seen);
        QVERIFY(!edit->EditorActive());
        QCOMPARE(edit->Increment(), QString("0.5"));
    }
}

// ---- TfrmProgDialog ------------------------------------------------------------------------------------------------

void TestComponentPages::progressStart()
{
    for (const char* before : {"Probabilities unit", "Introduction"}) {
        FWindow->SelectNode(FWindow->FindNode(before));
        const bool enabled = FWindow->btnHelp->isEnabled();
        QVERIFY(Open<TfrmProgDialog>("Progress Dialog"));
        QCOMPARE(FWindow->btnHelp->isEnabled(), enabled);
    }
    auto* page = Open<TfrmProgDialog>("Progress Dialog");
    QVERIFY(page->RichEdit1->toPlainText().contains("TMtxProgressDialog"));
    const TMtxProgressDialog& d = page->MtxThread();
    QCOMPARE(QString::fromStdString(d.Name()), QString("MtxThread"));
    QVERIFY(d.InternalLoop() && !d.InfiniteLoop() && !d.ShowDialog() && d.Stopped() && !d.Running());
    QCOMPARE(d.Min(), 0);
    QCOMPARE(d.Max(), 1500);
    QCOMPARE(d.ThreadPriority(), tpNormal);
    QCOMPARE(d.UpdateInterval(), 200);

    QCOMPARE(page->RadioGroup1->title(), QString("Iterator control"));
    const QStringList iterators{"Internal loop", "External loop", "InProcedure"};
    for (int i = 0; i < 3; ++i) QCOMPARE(page->IteratorItems->button(i)->text(), iterators[i]);
    QCOMPARE(page->IteratorItems->checkedId(), 0);
    QCOMPARE(page->RadioGroup2->title(), QString("Loop type"));
    QCOMPARE(page->LoopTypeItems->button(0)->text(), QString("For loop"));
    QCOMPARE(page->LoopTypeItems->button(1)->text(), QString("While loop"));
    QCOMPARE(page->LoopTypeItems->checkedId(), 0);
    QCOMPARE(page->CheckBox1->text(), QString("Show progress form"));
    QVERIFY(!page->CheckBox1->isChecked());
    QCOMPARE(page->ComboBox1->count(), 7);
    QCOMPARE(page->ComboBox1->itemText(6), QString("Time critical"));
    QCOMPARE(page->ComboBox1->currentText(), QString("Normal"));
    QCOMPARE(page->GroupBox1->title(), QString("Loop range"));
    const struct {
        TMtxFloatEdit* Edit;
        const char *Text, *Increment;
    } edits[] = {{page->IntervalEdit, "200", "10"}, {page->FromEdit, "0", "100"}, {page->ToEdit, "1500", "100"}};
    for (const auto& e : edits) {
        QCOMPARE(e.Edit->text(), QString(e.Text));
        QCOMPARE(e.Edit->Increment(), QString(e.Increment));
        QCOMPARE(e.Edit->ReFormat(), QString("0"));
        QVERIFY(e.Edit->IntegerIncrement() && !e.Edit->StoreInRegistry());
    }
    QCOMPARE(page->btnStart->text(), QString("Start"));
    QCOMPARE(page->btnStop->text(), QString("Stop/Cancel"));
    QCOMPARE(page->ProgressLabel->text(), QString("Progress indicator:"));
    QCOMPARE(page->ProgressBar1->minimum(), 0);
    QCOMPARE(page->ProgressBar1->maximum(), 100);
}

void TestComponentPages::progressControlsWriteTheDialog()
{
    auto* page = Open<TfrmProgDialog>("Progress Dialog");
    const TMtxProgressDialog& d = page->MtxThread();
    page->CheckBox1->click();
    QVERIFY(d.ShowDialog());
    page->LoopTypeItems->button(1)->click();
    QVERIFY(d.InfiniteLoop());
    page->LoopTypeItems->button(0)->click();
    QVERIFY(!d.InfiniteLoop());
    page->IteratorItems->button(2)->click();
    QVERIFY(!d.InternalLoop());
    page->IteratorItems->button(0)->click();
    QVERIFY(d.InternalLoop());
    page->ComboBox1->setCurrentIndex(1);
    QCOMPARE(d.ThreadPriority(), tpLowest);
    page->IntervalEdit->Button()->UpButton()->click();
    QCOMPARE(d.UpdateInterval(), 210);
    page->ToEdit->Button()->DownButton()->click();
    QCOMPARE(d.Max(), 1400);
    page->FromEdit->SetValue("2000");  // Min raises Max
    QCOMPARE(d.Min(), 2000);
    QCOMPARE(d.Max(), 2000);
    // A text being typed sets nothing until it reads as a number.
    page->ToEdit->setText("-");
    QCOMPARE(d.Max(), 2000);
    page->ToEdit->setText("-5");
    QCOMPARE(d.Max(), -5);
    QCOMPARE(d.Min(), -5);
}

void TestComponentPages::progressEachModeEndsAtMax_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("products");
    // 3 .. 20: the internal and the external loop run once per counter value; InProcedure while Counter < Max.
    QTest::newRow("Internal loop") << int(TfrmProgDialog::itInternalLoop) << 18;
    QTest::newRow("External loop") << int(TfrmProgDialog::itExternalLoop) << 18;
    QTest::newRow("InProcedure") << int(TfrmProgDialog::itInProcedure) << 17;
}

void TestComponentPages::progressEachModeEndsAtMax()
{
    QFETCH(int, mode);
    QFETCH(int, products);
    auto* page = OpenProgress(mode, 3, 20);
    QVERIFY(page);
    for (int run = 0; run < 2; ++run) {  // a second run starts as the first
        QTest::mouseClick(page->btnStart, Qt::LeftButton);
        QVERIFY(page->MtxThread().Running());
        QCOMPARE(MtxCacheUsed.load(), FPooledMatrices + 3);
        QTRY_VERIFY(!page->MtxThread().Running());
        QCOMPARE(page->Products(), products * (run + 1));
        QCOMPARE(page->MtxThread().Counter(), 20);
        QCOMPARE(page->ProgressBar1->minimum(), 3);
        QCOMPARE(page->ProgressBar1->maximum(), 20);
        QCOMPARE(page->ProgressBar1->value(), 20);
        QCOMPARE(page->ProgressLabel->text(), QString("Progress indicator: 100.00"));
        QCOMPARE(MtxCacheUsed.load(), FPooledMatrices);
    }
}

void TestComponentPages::progressText_data()
{
    QTest::addColumn<int>("counter");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("text");
    QTest::newRow("start away from 0") << 1000 << 1000 << 1500 << "Progress indicator: 0 %";
    QTest::newRow("half way") << 1250 << 1000 << 1500 << "Progress indicator: 50 %";
    QTest::newRow("end") << 1500 << 1000 << 1500 << "Progress indicator: 100 %";
    QTest::newRow("Max 0") << 0 << 0 << 0 << "Progress indicator: 100 %";
    QTest::newRow("one value") << 7 << 7 << 7 << "Progress indicator: 100 %";
    QTest::newRow("rounded") << 2 << 0 << 3 << "Progress indicator: 67 %";
    QTest::newRow("whole Integer range") << 0 << -2147483647 - 1 << 2147483647 << "Progress indicator: 50 %";
}

void TestComponentPages::progressText()
{
    QFETCH(int, counter);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(QString, text);
    QCOMPARE(TfrmProgDialog::ProgressText(counter, min, max), text);
}

void TestComponentPages::progressRangeAwayFromZero()
{
    // A run from 1000 to 1500 starts at 0 %, not at 1000 / 1500.
    auto* page = OpenProgress(TfrmProgDialog::itInternalLoop, 1000, 1500);
    THold hold;
    QVERIFY(hold.Start(*page, 0));
    QTRY_COMPARE(page->ProgressLabel->text(), QString("Progress indicator: 0 %"));
    QCOMPARE(page->ProgressBar1->value(), 1000);
    QTest::mouseClick(page->btnStop, Qt::LeftButton);
    QTRY_VERIFY(!page->MtxThread().Running());
    QCOMPARE(page->Products(), 1);
}

void TestComponentPages::progressCancelKeepsTheLastPercentage()
{
    for (int mode = 0; mode < 3; ++mode) {
        auto* page = OpenProgress(mode, 0, 100);
        THold hold;
        QVERIFY(hold.Start(*page, 30));
        // Counter 30 in every mode: the internal and external loops count from 0 before the product, InProcedure
        // after it.
        QTRY_COMPARE(page->ProgressLabel->text(), QString("Progress indicator: 30 %"));
        QTest::mouseClick(page->btnStop, Qt::LeftButton);
        QTRY_VERIFY(!page->MtxThread().Running());
        QCOMPARE(hold.Begun.load(), 31);  // the product in progress ended the run
        QCOMPARE(page->ProgressLabel->text(), QString("Progress indicator: 30 %"));
        QCOMPARE(page->ProgressBar1->value(), 30);
        QCOMPARE(MtxCacheUsed.load(), FPooledMatrices);
    }
}

void TestComponentPages::progressCancelThenStartOneWorker()
{
    auto* page = OpenProgress(TfrmProgDialog::itInternalLoop, 0, 50);
    THold hold;
    QVERIFY(hold.Start(*page, 2));
    QTest::mouseClick(page->btnStop, Qt::LeftButton);
    QTest::mouseClick(page->btnStart, Qt::LeftButton);  // the worker of the cancelled run has not ended yet
    QCOMPARE(MtxCacheUsed.load(), FPooledMatrices + 3);  // no second start took matrices
    QTRY_VERIFY(!page->MtxThread().Running());
    QCOMPARE(hold.Begun.load(), 3);
    QCOMPARE(MtxCacheUsed.load(), FPooledMatrices);

    // Once it has ended, Start runs again, to the end.
    page->BeforeProduct = nullptr;
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QTRY_VERIFY(!page->MtxThread().Running());
    QCOMPARE(page->Products(), 3 + 51);
    QCOMPARE(page->ProgressLabel->text(), QString("Progress indicator: 100.00"));
}

void TestComponentPages::progressDestroyMidRun_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("Internal loop") << int(TfrmProgDialog::itInternalLoop);
    QTest::newRow("External loop") << int(TfrmProgDialog::itExternalLoop);
    QTest::newRow("InProcedure") << int(TfrmProgDialog::itInProcedure);
}

void TestComponentPages::progressDestroyMidRun()
{
    // The page goes while its worker waits before a product: that one product runs, no other begins, and the end
    // of the run gives the matrices back.
    QFETCH(int, mode);
    auto* page = OpenProgress(mode, 0, 1500);
    THold hold;
    QVERIFY(hold.Start(*page, 5));
    QPointer<QWidget> gone = page;
    FWindow->SelectNode(FWindow->FindNode("TMtxFloatEdit control"));
    QVERIFY(gone.isNull());
    QCOMPARE(hold.Begun.load(), 6);
    QCOMPARE(MtxCacheUsed.load(), FPooledMatrices);
}

void TestComponentPages::progressInProcedureEndsBelowTheCounter()
{
    // "to" lowered below the counter during the run ends it (a loop while Counter <> Max would count on).
    auto* page = OpenProgress(TfrmProgDialog::itInProcedure, 0, 1500);
    THold hold;
    QVERIFY(hold.Start(*page, 10));
    page->ToEdit->SetValue("5");
    QCOMPARE(page->MtxThread().Max(), 5);
    hold.Release = true;
    QTRY_VERIFY(!page->MtxThread().Running());
    QCOMPARE(hold.Begun.load(), 11);
    QCOMPARE(page->MtxThread().Counter(), 11);
}

// ---- TfrmMtxGridSeries --------------------------------------------------------------------------------------------

void TestComponentPages::gridStart()
{
    for (const char* before : {"Probabilities unit", "Introduction"}) {
        FWindow->SelectNode(FWindow->FindNode(before));
        const bool enabled = FWindow->btnHelp->isEnabled();
        QVERIFY(Open<TfrmMtxGridSeries>("Viewing matrix values"));
        QCOMPARE(FWindow->btnHelp->isEnabled(), enabled);
    }
    FWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
    auto* page = Open<TfrmMtxGridSeries>("Viewing matrix values");
    QVERIFY(page->RichEdit1->toPlainText().contains("TMtxGridSeries"));
    QCOMPARE(page->Chart1->Title(), QString("Matrix values"));
    QVERIFY(page->Chart1->legend->visible());
    TMtxGridSeries* s = page->Series1;
    QCOMPARE(s->keyAxis(), page->Chart1->xAxis2);
    QCOMPARE(s->valueAxis(), page->Chart1->yAxis);
    QCOMPARE(s->ValueFormat(), QString("0.00"));
    QCOMPARE(s->BottomColor(), TColor(0xFFFFFF));
    QCOMPARE(s->TopColor(), TColor(0));
    QCOMPARE(s->PaletteSteps(), 10);
    QCOMPARE(page->CheckAnimate->text(), QString("Animate"));
    QVERIFY(!page->CheckAnimate->isChecked());
    QCOMPARE(page->btnEditSeries->text(), QString("&Edit GridSeries"));
    QCOMPARE(page->RadioGroup1->title(), QString(" DownSample method : "));
    QCOMPARE(page->MethodItems->checkedId(), 0);
    QCOMPARE(page->MethodItems->button(1)->text(), QString("Peak"));
    QCOMPARE(page->MethodItems->button(2)->text(), QString("Average"));
    QCOMPARE(page->CheckValue->text(), QString("Matrix value at cursor = "));
    QVERIFY(page->CheckValue->isChecked());
    QCOMPARE(page->Timer1->interval(), 100);
    QVERIFY(!page->Timer1->isActive());

    // The random matrix and its picture: every entry adds 1/16 to one pixel, and the series shows the picture.
    const TSparseMtx& S = page->S();
    QCOMPARE(S.Rows(), 2000);
    QCOMPARE(S.Cols(), 2000);
    QVERIFY(!S.Complex());
    QVERIFY(S.NonZeros() > 2000);
    const TMtx& P = page->P();
    QCOMPARE(P.Rows(), 500);
    QCOMPARE(P.Cols(), 500);
    double sum = 0;
    for (int i = 0; i < 500 * 500; ++i) sum += P.Values()[i];
    QCOMPARE(sum * 16, double(S.NonZeros()));
    QCOMPARE(s->Matrix(), &P);
    QCOMPARE(s->RangeMax(), P.Max());
    QCOMPARE(s->LegendText(0), QString::fromStdString(FormatFloat("0.00", P.Max())));

    // The left axis counts rows from the top, its labels thinned out: the tick at position r reads 499 − r.
    page->Chart1->Repaint();
    QCPAxis* left = page->Chart1->yAxis;
    QCOMPARE(left->label(), QString("Index"));
    const QVector<double> ticks = left->tickVector();
    const QVector<QString> labels = left->tickVectorLabels();
    QVERIFY(ticks.size() >= 3 && ticks.size() <= 30);
    QVERIFY(labels.contains("0"));
    for (int i = 0; i < ticks.size(); ++i) QCOMPARE(labels[i], QString::number(499 - qRound(ticks[i])));
    QVERIFY(!page->Chart1->xAxis->visible());
    QVERIFY(page->Chart1->xAxis2->visible());
}

void TestComponentPages::gridPicturesAgainstNumpy()
{
    auto* page = OpenGoldenGrid();
    QVERIFY(page);
    // Methods in the order Pattern, Peak, Average; each choice reduces S again and recolours the series.
    const TPixelDownSample methods[] = {pdsPattern, pdsPeak, pdsAverage};
    for (int id : {1, 2, 0}) {
        page->MethodItems->button(id)->click();
        QCOMPARE(page->Method(), methods[id]);
        const TMtx& P = page->P();
        QCOMPARE(P.Rows(), 500);
        TMtx want;
        want.Size(500, 500, false);
        want.SetZero();
        for (const auto& p : kGridPixels)
            want.Values()[p.Row * 500 + p.Col] = id == 0 ? p.Pattern : id == 1 ? p.Peak : p.Average;
        int wrong = 0;
        for (int i = 0; i < 500 * 500; ++i)
            if (std::fabs(P.Values()[i] - want.Values()[i]) > 1e-15 * std::fabs(want.Values()[i])) ++wrong;
        QCOMPARE(wrong, 0);
        QCOMPARE(page->Series1->RangeMax(), want.Max());
        QCOMPARE(page->Series1->RangeMin(), 0.0);
        QCOMPARE(page->Series1->Palette().back().Value, want.Max());
        QCOMPARE(page->Series1->LegendText(0), QString::fromStdString(FormatFloat("0.00", want.Max())));
    }
}

void TestComponentPages::gridAnimateInterlocks()
{
    auto* page = Open<TfrmMtxGridSeries>("Viewing matrix values");
    const int entries = page->S().NonZeros();
    page->CheckAnimate->click();
    QVERIFY(page->Timer1->isActive());
    QVERIFY(!page->RadioGroup1->isEnabled());
    QVERIFY(!page->btnEditSeries->isEnabled());
    QVERIFY(!page->CheckValue->isChecked());
    // A tick draws a new random matrix into the picture the series shows.
    QTRY_VERIFY(page->S().NonZeros() != entries);
    QCOMPARE(page->Series1->RangeMax(), page->P().Max());
    page->CheckAnimate->click();
    QVERIFY(!page->Timer1->isActive());
    QVERIFY(page->RadioGroup1->isEnabled());
    QVERIFY(page->btnEditSeries->isEnabled());
    QVERIFY(page->CheckValue->isChecked());

    // Leaving the page while it animates stops the timer before the matrices go.
    page->CheckAnimate->click();
    QPointer<QWidget> gone = page;
    FWindow->SelectNode(FWindow->FindNode("Progress Dialog"));
    QVERIFY(gone.isNull());
    QTest::qWait(150);
}

void TestComponentPages::gridValueAtCursor()
{
    FWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
    auto* page = OpenGoldenGrid();
    QVERIFY(page);
    QTest::qWait(0);  // the page laid out
    page->Chart1->Repaint();
    auto move = [page](QPointF at) {
        QMouseEvent e(QEvent::MouseMove, at, page->Chart1->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(page->Chart1, &e);
    };
    auto cellCentre = [page](int row, int col) {
        return QPointF(page->Chart1->xAxis2->coordToPixel(col), page->Chart1->yAxis->coordToPixel(499 - row));
    };
    // A pixel with two entries and one with one, then the empty corner outside the cells.
    const auto* two = std::find_if(std::begin(kGridPixels), std::end(kGridPixels),
                                   [](const auto& p) { return p.Pattern == 0.125; });
    QVERIFY(two != std::end(kGridPixels));
    move(cellCentre(two->Row, two->Col));
    QCOMPARE(page->lblValue->text(), QString("0.13"));
    move(cellCentre(kGridPixels[0].Row, kGridPixels[0].Col));
    QCOMPARE(page->lblValue->text(), QString("0.06"));
    move(QPointF(2, 2));
    QCOMPARE(page->lblValue->text(), QString());
    // Unchecked, the label stays as it is.
    move(cellCentre(two->Row, two->Col));
    page->CheckValue->click();
    move(cellCentre(kGridPixels[0].Row, kGridPixels[0].Col));
    QCOMPARE(page->lblValue->text(), QString("0.13"));
}

void TestComponentPages::gridEditSeries()
{
    RegisterMtxGridSerEdit();
    auto* page = Open<TfrmMtxGridSeries>("Viewing matrix values");
    TMtxGridSeries* edited = nullptr;
    SetSeriesEditorExec([&](QDialog& window) {
        if (auto* editor = window.findChild<TMtxGridSeriesEditor*>()) {
            edited = editor->Series();
            window.show();
            editor->Steps()->setValue(4);
        }
    });
    QTest::mouseClick(page->btnEditSeries, Qt::LeftButton);
    SetSeriesEditorExec(nullptr);
    QCOMPARE(edited, page->Series1);
    QCOMPARE(page->Series1->PaletteSteps(), 4);
    page->Chart1->Repaint();
    QCOMPARE(page->Series1->LegendCount(), 4);
    UnRegisterClass("TMtxGridSeriesEditor");
}

QTEST_MAIN(TestComponentPages)
#include "test_component_pages.moc"
