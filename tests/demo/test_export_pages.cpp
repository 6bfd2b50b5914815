// The export and import pages, reached through the main window: the round trips through a stream, a binary file
// and a text file with what reaches the value viewer, the storage precisions against numpy, the clipboard page,
// and the pool, which gets everything back also when a file cannot be written.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "demo/ClipboardMSOffice.h"
#include "demo/FileHandling1.h"
#include "demo/Main.h"
#include "demo/Pages.h"
#include "demo/Save_Precision.h"
#include "demo/ValueViewerSeam.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Help.h"

using namespace paxtor;
using namespace tarnel;
using namespace tarnel::gui;

namespace {

QStringList gErrorBoxes;

// What the viewer was asked to show: a copy of the object and the caption.
struct TViewed {
    QString Caption;
    bool IsVector;
    int Rows, Cols;
    bool Complex;
    std::vector<double> Values;  // storage order, (Re, Im) pairs when complex
};
QList<TViewed> gViewed;

void RecordViewer(TMtx* Mtx, TVec* Vec, const QString& Caption)
{
    TViewed v{Caption, Vec != nullptr, 0, 0, false, {}};
    if (Mtx) {
        v.Rows = Mtx->Rows(), v.Cols = Mtx->Cols(), v.Complex = Mtx->Complex();
        v.Values.assign(Mtx->Values(), Mtx->Values() + std::size_t(v.Rows) * v.Cols * (v.Complex ? 2 : 1));
    } else {
        v.Rows = Vec->Length(), v.Cols = 1, v.Complex = Vec->Complex();
        v.Values.assign(Vec->Values(), Vec->Values() + std::size_t(v.Rows) * (v.Complex ? 2 : 1));
    }
    gViewed << v;
}

std::vector<double> ValuesOf(const TMtx& m)
{
    return {m.Values(), m.Values() + std::size_t(m.Rows()) * m.Cols() * (m.Complex() ? 2 : 1)};
}

struct TPrecisionRow {
    const char* What;
    int Precision, Rounding;
    std::vector<double> Values;
};
const TPrecisionRow kPrecisionRows[] = {
#include "save_precision_golden.inc"
};

}  // namespace

class TestExportPages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fileHandlingPageIsBuilt();
    void streamRoundTripIsExact();
    void binaryFileRoundTripIsExact();
    void textFileRoundTripWithinTheFormat();
    void nothingIsViewedWhenTheBoxIsClear();
    void blobButtonOnlyExplains();
    void failedSavesGiveThePoolBack();

    void savePrecisionPageIsBuilt();
    void streamSizes_data();
    void streamSizes();
    void copiesAgainstNumpy();

    void officePageShowsTheZeroedMatrixFirst();

private:
    std::unique_ptr<TfrmMain> FWindow;
    std::unique_ptr<QTemporaryDir> FDir;
    QString FOldDir;
    template <class TPage>
    TPage* Open(const char* caption)
    {
        const int index = FWindow->FindNode(QString::fromLatin1(caption));
        if (index < 0) qFatal("no node %s", caption);
        FWindow->SelectNode(index);
        return dynamic_cast<TPage*>(FWindow->ExampleForm());
    }
};

void TestExportPages::initTestCase()
{
    RegisterPages();
    SetErrorBox([](const QString& m) { gErrorBoxes << m; });
    SetValueViewer(RecordViewer);
}

void TestExportPages::init()
{
    gErrorBoxes.clear();
    gViewed.clear();
    // The pages write to the working directory.
    FDir = std::make_unique<QTemporaryDir>();
    FOldDir = QDir::currentPath();
    QDir::setCurrent(FDir->path());
    FWindow = std::make_unique<TfrmMain>();
    FWindow->resize(1000, 700);
}

void TestExportPages::cleanup()
{
    FWindow.reset();
    QDir::setCurrent(FOldDir);
    FDir.reset();
    QVERIFY2(gErrorBoxes.isEmpty(), qPrintable(gErrorBoxes.join("; ")));
    QCOMPARE(VecCacheUsed.load(), 0);  // the pages' pooled objects went back with them
    QCOMPARE(MtxCacheUsed.load(), 0);
}

// ---- TFileH1 -------------------------------------------------------------------------------------------------

void TestExportPages::fileHandlingPageIsBuilt()
{
    const int vecs = VecCacheUsed, mtxs = MtxCacheUsed;
    auto* page = Open<TFileH1>("Saving/Loading");
    QVERIFY(page);
    QCOMPARE(VecCacheUsed.load(), vecs + 1);  // one vector and one matrix from the pool for the page's life
    QCOMPARE(MtxCacheUsed.load(), mtxs + 1);
    QVERIFY(page->RichEdit1->toPlainText().contains("TestVec1.vec"));
    QCOMPARE(page->Label1->text(), QStringLiteral("Code used : "));
    QVERIFY(page->RichEdit2->toPlainText().isEmpty());
    QCOMPARE(page->CheckView->text(), QStringLiteral("View loaded values"));
    QVERIFY(!page->CheckView->isChecked());
    QCOMPARE(page->btnStream->text(), QStringLiteral("Streams : Read/Write"));
    QCOMPARE(page->btnFile->text(), QStringLiteral("Binary files : Read/Write"));
    QCOMPARE(page->btnBlob->text(), QStringLiteral("BLOB files : Read/Write"));
    QCOMPARE(page->btnText->text(), QStringLiteral("Text files : Read/Write"));
    QVERIFY(!FWindow->btnHelp->isEnabled());
}

void TestExportPages::streamRoundTripIsExact()
{
    auto* page = Open<TFileH1>("Saving/Loading");
    page->CheckView->setChecked(true);
    QTest::mouseClick(page->btnStream, Qt::LeftButton);
    QVERIFY(page->RichEdit2->toPlainText().contains("SaveToStream"));
    QCOMPARE(gViewed.size(), 1);
    const TViewed& v = gViewed[0];
    QCOMPARE(v.Caption, QStringLiteral("Memory stream"));
    QVERIFY(!v.IsVector);
    QCOMPARE(v.Rows, 10);
    QCOMPARE(v.Cols, 10);
    QVERIFY(!v.Complex);
    QCOMPARE(v.Values, ValuesOf(page->Matrix()));  // bit for bit
}

void TestExportPages::binaryFileRoundTripIsExact()
{
    auto* page = Open<TFileH1>("Saving/Loading");
    page->CheckView->setChecked(true);
    QTest::mouseClick(page->btnFile, Qt::LeftButton);
    QVERIFY(page->RichEdit2->toPlainText().contains("TestVec1.vec"));
    QCOMPARE(gViewed.size(), 1);
    const TViewed& v = gViewed[0];
    QCOMPARE(v.Caption, QStringLiteral("File Stream"));
    QVERIFY(v.IsVector);
    QCOMPARE(v.Rows, 100);
    const TVec& written = page->Vector();
    QCOMPARE(v.Values, std::vector<double>(written.Values(), written.Values() + 100));
    for (double x : v.Values) QVERIFY(x >= -2 && x < 2);
    // Header, empty caption record and 100 Doubles, in the working directory.
    QCOMPARE(QFileInfo(QStringLiteral("TestVec1.vec")).size(), qint64(44 + 4 + 800));
}

void TestExportPages::textFileRoundTripWithinTheFormat()
{
    auto* page = Open<TFileH1>("Saving/Loading");
    page->CheckView->setChecked(true);
    QTest::mouseClick(page->btnText, Qt::LeftButton);
    QVERIFY(page->RichEdit2->toPlainText().contains("ASCIIMtx.txt"));
    // 20 lines of 20 tab-separated complex fields.
    QFile file(QStringLiteral("ASCIIMtx.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 20);
    for (const QString& line : lines) QCOMPARE(line.split('\t').size(), 20);
    QVERIFY(lines[0].endsWith('i'));
    QCOMPARE(gViewed.size(), 1);
    const TViewed& v = gViewed[0];
    QCOMPARE(v.Caption, QStringLiteral("TEXT file"));
    QCOMPARE(v.Rows, 20);
    QCOMPARE(v.Cols, 20);
    QVERIFY(v.Complex);
    const std::vector<double> written = ValuesOf(page->Matrix());
    QCOMPARE(v.Values.size(), written.size());
    for (std::size_t k = 0; k < written.size(); ++k) {
        QVERIFY(written[k] >= -1 && written[k] < 2);
        QVERIFY2(std::fabs(v.Values[k] - written[k]) <= 5e-4, qPrintable(QString::number(k)));
    }
}

void TestExportPages::nothingIsViewedWhenTheBoxIsClear()
{
    auto* page = Open<TFileH1>("Saving/Loading");
    QTest::mouseClick(page->btnStream, Qt::LeftButton);
    QTest::mouseClick(page->btnFile, Qt::LeftButton);
    QTest::mouseClick(page->btnText, Qt::LeftButton);
    QVERIFY(gViewed.isEmpty());
    QVERIFY(QFile::exists(QStringLiteral("TestVec1.vec")));
    QVERIFY(QFile::exists(QStringLiteral("ASCIIMtx.txt")));
}

void TestExportPages::blobButtonOnlyExplains()
{
    auto* page = Open<TFileH1>("Saving/Loading");
    page->CheckView->setChecked(true);
    QTest::mouseClick(page->btnText, Qt::LeftButton);
    gViewed.clear();
    QTest::mouseClick(page->btnBlob, Qt::LeftButton);
    QVERIFY(page->RichEdit2->toPlainText().contains("BLOB"));
    QVERIFY(!page->RichEdit2->toPlainText().contains("ASCIIMtx.txt"));  // the box was emptied first
    QVERIFY(gViewed.isEmpty());
    QVERIFY(!QFile::exists(QStringLiteral("TestVec1.vec")));
}

void TestExportPages::failedSavesGiveThePoolBack()
{
    // Folders in the way of both files: saving raises to the error box.
    QVERIFY(QDir().mkdir(QStringLiteral("TestVec1.vec")));
    QVERIFY(QDir().mkdir(QStringLiteral("ASCIIMtx.txt")));
    const int vecs = VecCacheUsed, mtxs = MtxCacheUsed;
    auto* page = Open<TFileH1>("Saving/Loading");
    page->CheckView->setChecked(true);
    QTest::mouseClick(page->btnFile, Qt::LeftButton);
    QCOMPARE(gErrorBoxes.size(), 1);
    QTest::mouseClick(page->btnText, Qt::LeftButton);
    QCOMPARE(gErrorBoxes.size(), 2);
    QVERIFY(gViewed.isEmpty());
    QCOMPARE(VecCacheUsed.load(), vecs + 1);  // only the page's own
    QCOMPARE(MtxCacheUsed.load(), mtxs + 1);
    gErrorBoxes.clear();
    // The pages that resize the pools still can.
    Open<QWidget>("GetMem vs SliceIt");
    Open<QWidget>("Comparing CreateIt/FreeIt with Create/Destroy");
    QVERIFY2(gErrorBoxes.isEmpty(), qPrintable(gErrorBoxes.join("; ")));
}

// ---- TfrmSavePrec --------------------------------------------------------------------------------------------

void TestExportPages::savePrecisionPageIsBuilt()
{
    auto* page = Open<TfrmSavePrec>("Different numeric precisions");
    QVERIFY(page);
    QVERIFY(page->RichEdit1->toPlainText().contains("20108"));
    for (gui::TStringGrid* g : {page->StringGrid1, page->StringGrid2}) {
        QCOMPARE(g->RowCount(), 51);
        QCOMPARE(g->ColCount(), 51);
        QCOMPARE(g->DefaultColWidth(), 75);
        QCOMPARE(g->DefaultRowHeight(), 16);
    }
    const QStringList precisions{"prDouble", "prSingle",   "prInteger", "prCardinal",
                                 "prSmallInt", "prWord", "prShortInt", "prByte"};
    QCOMPARE(page->cbPrecision->count(), precisions.size());
    for (int i = 0; i < precisions.size(); ++i) QCOMPARE(page->cbPrecision->itemText(i), precisions[i]);
    const QStringList roundings{"rnTrunc", "rnTruncNeg", "rnRound"};
    QCOMPARE(page->cbRounding->count(), roundings.size());
    for (int i = 0; i < roundings.size(); ++i) QCOMPARE(page->cbRounding->itemText(i), roundings[i]);
    QCOMPARE(page->cbPrecision->currentIndex(), 0);
    QCOMPARE(page->cbRounding->currentIndex(), 0);
    QCOMPARE(page->lblSize->text(), QStringLiteral("0"));
    QCOMPARE(page->btnSave->text(), QStringLiteral("&Save"));
    // The source, normal values around 5, in the first grid with ten decimals; the second grid still empty.
    const TMtx& src = page->Source();
    QCOMPARE(src.Rows(), 50);
    QCOMPARE(src.Cols(), 50);
    QCOMPARE(QString::fromStdString(page->StringGrid1->Cells(1, 1)), QString::number(src(0, 0), 'f', 10));
    QCOMPARE(QString::fromStdString(page->StringGrid1->Cells(50, 50)), QString::number(src(49, 49), 'f', 10));
    QVERIFY(page->StringGrid2->Cells(1, 1).empty());
}

void TestExportPages::streamSizes_data()
{
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("size");
    QTest::newRow("prDouble") << 0 << "20108 bytes";
    QTest::newRow("prSingle") << 1 << "10108 bytes";
    QTest::newRow("prCardinal") << 3 << "10108 bytes";
    QTest::newRow("prSmallInt") << 4 << "5108 bytes";
    QTest::newRow("prWord") << 5 << "5108 bytes";
    QTest::newRow("prShortInt") << 6 << "2608 bytes";
    QTest::newRow("prByte") << 7 << "2608 bytes";
}

void TestExportPages::streamSizes()
{
    QFETCH(int, precision);
    QFETCH(QString, size);
    auto* page = Open<TfrmSavePrec>("Different numeric precisions");
    page->cbPrecision->setCurrentIndex(precision);
    QCOMPARE(int(page->Precision()), precision);
    QTest::mouseClick(page->btnSave, Qt::LeftButton);
    QCOMPARE(page->lblSize->text(), size);
    QCOMPARE(page->Copy().Rows(), 50);
    QCOMPARE(page->Copy().Cols(), 50);
    QCOMPARE(QString::fromStdString(page->StringGrid2->Cells(1, 1)), QString::number(page->Copy()(0, 0), 'f', 10));
}

void TestExportPages::copiesAgainstNumpy()
{
    auto* page = Open<TfrmSavePrec>("Different numeric precisions");
    const std::vector<double>& inputs = kPrecisionRows[0].Values;
    TMtx& src = page->Source();
    for (int k = 0; k < 2500; ++k) src.Values()[k] = inputs[k % inputs.size()];
    page->ShowSource();
    for (const TPrecisionRow& row : kPrecisionRows) {
        if (row.Precision < 0) continue;
        page->cbPrecision->setCurrentIndex(row.Precision);
        page->cbRounding->setCurrentIndex(row.Rounding);
        QTest::mouseClick(page->btnSave, Qt::LeftButton);
        const TMtx& copy = page->Copy();
        for (int k = 0; k < 2500; ++k) {
            const double want = row.Values[k % row.Values.size()];
            QVERIFY2(copy.Values()[k] == want,
                     qPrintable(QStringLiteral("%1, element %2: %3 instead of %4")
                                    .arg(row.What)
                                    .arg(k)
                                    .arg(copy.Values()[k], 0, 'g', 17)
                                    .arg(want, 0, 'g', 17)));
        }
    }
}

// ---- TMSOffice -----------------------------------------------------------------------------------------------

void TestExportPages::officePageShowsTheZeroedMatrixFirst()
{
    auto* page = Open<TMSOffice>("MSOffice");
    QVERIFY(page);
    QVERIFY(page->RichEdit1->toPlainText().contains("clipboard"));
    QVERIFY(!FWindow->btnHelp->isEnabled());
    QCOMPARE(page->btnExport->text(), QStringLiteral("Tarnel -> Excel"));
    QCOMPARE(page->btnImport->text(), QStringLiteral("Word -> Tarnel"));
    // "Word -> Tarnel" first: the pooled matrix as the pool handed it out, 0 x 0.
    QTest::mouseClick(page->btnImport, Qt::LeftButton);
    QCOMPARE(gViewed.size(), 1);
    QCOMPARE(gViewed[0].Caption, QStringLiteral("Importing from Word"));
    QCOMPARE(gViewed[0].Rows, 0);
    QCOMPARE(gViewed[0].Cols, 0);
    QTest::mouseClick(page->btnExport, Qt::LeftButton);
    QCOMPARE(gViewed[1].Caption, QStringLiteral("Exporting to Excel"));
    QCOMPARE(gViewed[1].Rows, 5);
    QCOMPARE(gViewed[1].Cols, 4);
    QVERIFY(!gViewed[1].Complex);
    QVERIFY(std::any_of(gViewed[1].Values.begin(), gViewed[1].Values.end(), [](double x) { return x != 0; }));
    // Then the import zeroes the 5 x 4 values.
    QTest::mouseClick(page->btnImport, Qt::LeftButton);
    QCOMPARE(gViewed[2].Rows, 5);
    QCOMPARE(gViewed[2].Cols, 4);
    QCOMPARE(gViewed[2].Values, std::vector<double>(20, 0.0));
}

QTEST_MAIN(TestExportPages)
#include "test_export_pages.moc"
