// The matrix grid series' editor page: it starts from the series, "Custom" hides the range group, and steps, style
// and colours reach the series; opened through the series editor by the class name the series gives.
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QSpinBox>
#include <QTest>

#include "components/MtxGridSerEdit.h"
#include "components/TarnelTee.h"
#include "platform/gui/ClassRegistry.h"

using namespace tarnel;

class TestMtxGridSerEdit : public QObject {
    Q_OBJECT
private slots:
    void pageStartsFromTheSeries();
    void changesReachTheSeries();
    void seriesEditorOpensThePage();
};

void TestMtxGridSerEdit::pageStartsFromTheSeries()
{
    gui::TChart chart(nullptr);
    auto* s = new TMtxGridSeries(chart.xAxis, chart.yAxis);
    s->SetPaletteSteps(7);
    s->SetPaletteStyle(palCustom);
    s->SetBottomColor(0x0000FF);
    TMtxGridSeriesEditor page(nullptr);
    QCOMPARE(page.Steps()->value(), 10);
    QCOMPARE(page.Steps()->minimum(), 2);
    QVERIFY(!page.Steps()->wrapping());
    const QStringList items{"Range", "Range(Custom)", "Custom"};
    for (int i = 0; i < items.size(); ++i) QCOMPARE(page.StyleList()->itemText(i), items[i]);
    page.SetSeries(s);
    page.show();
    QCOMPARE(page.Steps()->value(), 7);
    QCOMPARE(page.StyleList()->currentIndex(), int(palCustom));
    QVERIFY(page.RangeGroup()->isHidden());
    QCOMPARE(page.BottomShape()->palette().color(QPalette::Window), QColor(255, 0, 0));
    QCOMPARE(page.TopShape()->palette().color(QPalette::Window), QColor(255, 255, 255));
    // Setting the controls from the series changed nothing of it.
    QCOMPARE(s->PaletteStyle(), palCustom);
    QCOMPARE(s->PaletteSteps(), 7);
}

void TestMtxGridSerEdit::changesReachTheSeries()
{
    gui::TChart chart(nullptr);
    auto* s = new TMtxGridSeries(chart.xAxis, chart.yAxis);
    TMtx a;
    a.SetIt(1, 3, false, {0, 1, 2});
    DrawValues(a, *s);
    TMtxGridSeriesEditor page(nullptr);
    page.SetSeries(s);
    page.show();
    QVERIFY(page.RangeGroup()->isVisible());

    page.StyleList()->setCurrentIndex(palCustom);
    QCOMPARE(s->PaletteStyle(), palCustom);
    QVERIFY(page.RangeGroup()->isHidden());
    page.StyleList()->setCurrentIndex(palRange);
    QVERIFY(page.RangeGroup()->isVisible());

    page.Steps()->setValue(4);
    QCOMPARE(s->PaletteSteps(), 4);
    QCOMPARE(int(s->Palette().size()), 4);

    // A left click on a shape asks for its colour; Cancel changes nothing, a right click asks nothing.
    int asked = 0;
    QColor answer(0, 128, 0);
    bool cancel = false;
    gui::SetColorDialog([&](QColor& c) {
        ++asked;
        if (cancel) return false;
        c = answer;
        return true;
    });
    QTest::mouseClick(page.TopShape(), Qt::LeftButton);
    QCOMPARE(s->TopColor(), gui::TColor(0x008000));
    QCOMPARE(page.TopShape()->palette().color(QPalette::Window), answer);
    answer = QColor(1, 2, 3);
    QTest::mouseClick(page.BottomShape(), Qt::LeftButton);
    QCOMPARE(s->BottomColor(), gui::TColor(0x030201));
    QCOMPARE(s->Palette().front().Color, gui::TColor(0x030201));
    cancel = true;
    QTest::mouseClick(page.BottomShape(), Qt::LeftButton);
    QCOMPARE(s->BottomColor(), gui::TColor(0x030201));
    QTest::mouseClick(page.BottomShape(), Qt::RightButton);
    QCOMPARE(asked, 3);
    gui::SetColorDialog(nullptr);
}

void TestMtxGridSerEdit::seriesEditorOpensThePage()
{
    gui::TChart chart(nullptr);
    auto* s = new TMtxGridSeries(chart.xAxis, chart.yAxis);
    auto* plain = new QCPGraph(chart.xAxis, chart.yAxis);
    try {
        gui::EditSeries(&chart, plain);
        QFAIL("a series without a page was edited");
    } catch (const std::exception& e) {
        QCOMPARE(QString(e.what()), QString("The series has no editor page"));
    }
    try {
        gui::EditSeries(&chart, s);
        QFAIL("an unregistered page was opened");
    } catch (const std::exception& e) {
        QCOMPARE(QString(e.what()), QString("Class TMtxGridSeriesEditor not found"));
    }
    RegisterMtxGridSerEdit();
    TMtxGridSeriesEditor* opened = nullptr;
    gui::SetSeriesEditorExec([&](QDialog& w) {
        opened = w.findChild<TMtxGridSeriesEditor*>();
        QVERIFY(opened);
        QCOMPARE(opened->Series(), s);
        w.show();
        opened->StyleList()->setCurrentIndex(palRangeCustom);
    });
    gui::EditSeries(&chart, s);
    gui::SetSeriesEditorExec(nullptr);
    QVERIFY(opened);
    QCOMPARE(s->PaletteStyle(), palRangeCustom);
    gui::UnRegisterClass("TMtxGridSeriesEditor");
}

QTEST_MAIN(TestMtxGridSerEdit)
#include "test_mtx_grid_ser_edit.moc"
