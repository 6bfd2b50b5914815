// The expression parser page, reached through the main window: text inserted at the caret or around the selection
// (keypad, function templates, constants), the lists (no operators, every function's template), the help line by
// name, the separator of a "," decimal separator, evaluation (complex, hexadecimal, an assignment to x, a bad
// expression), the variables read from their edits, keys on a keypad button, and the undo ring from a fresh page on.
#include <QApplication>
#include <QTest>
#include <memory>

#include "demo/Main.h"
#include "demo/Pages.h"
#include "demo/ParserDemo.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/NumText.h"
#include "tests/demo/PageTests.h"

using namespace paxtor;
using namespace tarnel;
using namespace tarnel::gui;

namespace {

QStringList gErrorBoxes;

}  // namespace

class TestParserDemo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startState();
    void insertAtCaretOrAroundSelection_data();
    void insertAtCaretOrAroundSelection();
    void selectionKeptWhenAButtonTakesTheFocus();
    void listsHoldFunctionsAndConstantsOnly();
    void helpLineByName_data();
    void helpLineByName();
    void commaDecimalSeparatorGivesSemicolons();
    void evaluate_data();
    void evaluate();
    void badExpressionKeepsTheResult();
    void keyOnKeypadGoesToTheLine();
    void undoRedoRing();

private:
    std::unique_ptr<TfrmMain> FWindow;
    TfrmParser* FPage = nullptr;
    void Open()
    {
        FWindow = std::make_unique<TfrmMain>();
        FWindow->resize(1100, 750);
        FPage = pagetest::Open<TfrmParser>(*FWindow, "Math Parser");
    }
    // Sets the line's text and selection as a user leaves them (the page follows the line's selection).
    void Line(const QString& Text, int Start, int Length)
    {
        FPage->ExpressionEdit->setText(Text);
        if (Length > 0)
            FPage->ExpressionEdit->setSelection(Start, Length);
        else
            FPage->ExpressionEdit->setCursorPosition(Start);
    }
    void Choose(QComboBox* Box, const QString& Item)
    {
        const int i = Box->findText(Item);
        QVERIFY2(i >= 0, qPrintable(Item));
        Box->setCurrentIndex(i);
    }
    QPushButton* Key(const QString& Caption)
    {
        for (QPushButton* b : FPage->Keypad)
            if (b->text() == Caption) return b;
        return nullptr;
    }
};

void TestParserDemo::initTestCase()
{
    RegisterPages();
    SetErrorBox([](const QString& m) { gErrorBoxes << m; });
}

void TestParserDemo::init()
{
    gErrorBoxes.clear();
    Open();
    QVERIFY(FPage);
}

void TestParserDemo::cleanup()
{
    FPage = nullptr;
    FWindow.reset();
    if (QByteArray(QTest::currentTestFunction()) != "badExpressionKeepsTheResult")
        QVERIFY2(gErrorBoxes.isEmpty(), qPrintable(gErrorBoxes.join("; ")));
}

void TestParserDemo::startState()
{
    QVERIFY(FPage->RichEdit1->toPlainText().contains("TMtxExpression"));
    QCOMPARE(FPage->Help().Kind().Mode, THelpKind::Kept);
    QCOMPARE(FPage->btnDecimal->text(), QString(QChar::fromLatin1(DecimalSeparator())));
    QCOMPARE(FPage->GroupOperands->title(), QString("Operands: "));
    for (QLineEdit* e : {FPage->EditX, FPage->EditY, FPage->EditZ}) QCOMPARE(e->text(), QString("0"));
    QVERIFY(FPage->CheckOptimize->isChecked());
    QVERIFY(!FPage->CheckHex->isChecked());
    QVERIFY(FPage->ResultEdit->isReadOnly());
    QCOMPARE(FPage->miUndo->text(), QString("&Undo"));
    QCOMPARE(FPage->miRedo->text(), QString("&Redo "));
    QCOMPARE(Key(" div ")->toolTip(), QString("integer devide (truncate result)"));
    QCOMPARE(Key(" := ")->toolTip(), QString("assign to variable"));
    QCOMPARE(FPage->Keypad.size(), 38);
    QCOMPARE(FPage->helplabel->text(), QString());
}

// Action: "f:NAME" adds the function, "c:NAME" the constant, "k:CAPTION" presses the keypad button.
void TestParserDemo::insertAtCaretOrAroundSelection_data()
{
    QTest::addColumn<QString>("Text");
    QTest::addColumn<int>("Start");
    QTest::addColumn<int>("Length");
    QTest::addColumn<QString>("Action");
    QTest::addColumn<QString>("Want");
    QTest::addColumn<int>("Caret");
    QTest::newRow("max around x+1") << "x+1" << 0 << 3 << "f:max"
                                    << "max(x+1,)" << 8;
    QTest::newRow("if around one character") << "abc" << 1 << 1 << "f:if"
                                             << "aif(b,,)c" << 7;
    QTest::newRow("abs at the caret") << "" << 0 << 0 << "f:abs"
                                      << "abs()" << 4;
    QTest::newRow("abs mid-text") << "2*" << 2 << 0 << "f:abs"
                                  << "2*abs()" << 6;
    QTest::newRow("random: no brackets") << "1+" << 2 << 0 << "f:random"
                                         << "1+random" << 8;
    QTest::newRow("constant replaces the selection") << "2*xy" << 2 << 2 << "c:pi"
                                                     << "2*pi" << 4;
    QTest::newRow("keypad replaces the selection") << "12" << 1 << 1 << "k: + "
                                                   << "1 + " << 4;
    QTest::newRow("keypad digit at the caret") << "12" << 1 << 0 << "k:7"
                                               << "172" << 2;
    QTest::newRow("no function chosen: a blank") << "ab" << 1 << 0 << "f:"
                                                 << "a b" << 2;
}

void TestParserDemo::insertAtCaretOrAroundSelection()
{
    QFETCH(QString, Text);
    QFETCH(int, Start);
    QFETCH(int, Length);
    QFETCH(QString, Action);
    QFETCH(QString, Want);
    QFETCH(int, Caret);
    Line(Text, Start, Length);
    const QString what = Action.mid(2);
    if (Action.startsWith("f:")) {
        if (!what.isEmpty()) Choose(FPage->cbFunctions, what);
        QTest::mouseClick(FPage->btnAddFunction, Qt::LeftButton);
    } else if (Action.startsWith("c:")) {
        Choose(FPage->cbConstants, what);
        QTest::mouseClick(FPage->btnAddConstant, Qt::LeftButton);
    } else {
        QTest::mouseClick(Key(what), Qt::LeftButton);
    }
    QCOMPARE(FPage->ExpressionEdit->text(), Want);
    QCOMPARE(FPage->ExpressionEdit->cursorPosition(), Caret);
}

void TestParserDemo::selectionKeptWhenAButtonTakesTheFocus()
{
    FWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
    QApplication::setActiveWindow(FWindow.get());
    FPage->ExpressionEdit->setFocus();
    Line("x+1", 0, 3);
    Choose(FPage->cbFunctions, "sqrt");
    FPage->btnAddFunction->setFocus();  // the click's focus change: the line drops its selection
    QVERIFY(!FPage->ExpressionEdit->hasSelectedText());
    QTest::mouseClick(FPage->btnAddFunction, Qt::LeftButton);
    QCOMPARE(FPage->ExpressionEdit->text(), QString("sqrt(x+1)"));
}

void TestParserDemo::listsHoldFunctionsAndConstantsOnly()
{
    QCOMPARE(FPage->cbFunctions->count(), 69);
    QCOMPARE(FPage->cbConstants->count(), 25);
    QStringList functions;
    for (int i = 0; i < FPage->cbFunctions->count(); ++i) functions << FPage->cbFunctions->itemText(i);
    QStringList sorted = functions;
    sorted.sort();
    QCOMPARE(functions, sorted);
    for (const char* op : {"+", "-@", ":=", "in", "div", "mod", "not", "and", "^@", "!", "="})
        QVERIFY2(!functions.contains(op), op);
    for (const char* v : {"x", "y", "z", "pi"}) QVERIFY2(!functions.contains(v), v);
    QVERIFY(FPage->cbConstants->findText("pi") >= 0 && FPage->cbConstants->findText("cinf") >= 0);
    QVERIFY(FPage->cbConstants->findText("x") < 0);
    const struct {
        const char* Name;
        const char* Template;
    } templates[] = {{"abs", "abs()"},     {"max", "max(,)"},   {"if", "if(,,)"},
                     {"random", "random"}, {"logn", "logn(,)"}, {"randg", "randg(,)"}};
    for (const auto& t : templates)
        QCOMPARE(FPage->Template(FPage->cbFunctions->findText(t.Name)), QString(t.Template));
    // Every template compiles once its arguments are filled in.
    for (int i = 0; i < FPage->cbFunctions->count(); ++i) {
        QString call = FPage->Template(i);
        call.replace("(", "(1").replace(",", ",1");
        FPage->Parser().Add(call.toStdString());
    }
}

void TestParserDemo::helpLineByName_data()
{
    QTest::addColumn<QString>("Name");
    QTest::addColumn<QString>("Help");
    QTest::newRow("abs") << "abs"
                         << "abs(x) = absolute value";
    QTest::newRow("max") << "max"
                         << "max(x1,x2) = the maximum of both arguments";
    QTest::newRow("radtodeg") << "radtodeg"
                              << "radtodeg(x) = conversion from radians to degrees";
    QTest::newRow("random") << "random"
                            << "random = random number between 0 and 1";
    QTest::newRow("trunc, the last row") << "trunc"
                                         << "trunc(x) = truncates a real number to an integer";
    QTest::newRow("tan: no row") << "tan"
                                 << "";
    QTest::newRow("arctan2: no row") << "arctan2"
                                     << "";
}

void TestParserDemo::helpLineByName()
{
    QFETCH(QString, Name);
    QFETCH(QString, Help);
    Choose(FPage->cbFunctions, "sqrt");  // a help text first, which a name without a row empties
    QCOMPARE(FPage->helplabel->text(), QString("sqrt(x) = the square root of a number"));
    Choose(FPage->cbFunctions, Name);
    QCOMPARE(FPage->helplabel->text(), Help);
}

void TestParserDemo::commaDecimalSeparatorGivesSemicolons()
{
    const char previous = DecimalSeparator();
    SetDecimalSeparator(',');
    Open();
    SetDecimalSeparator(previous);
    QCOMPARE(FPage->btnDecimal->text(), QString(","));
    Choose(FPage->cbFunctions, "max");
    QCOMPARE(FPage->helplabel->text(), QString("max(x1;x2) = the maximum of both arguments"));
    Line("", 0, 0);
    QTest::mouseClick(FPage->btnAddFunction, Qt::LeftButton);
    QCOMPARE(FPage->ExpressionEdit->text(), QString("max(;)"));
}

void TestParserDemo::evaluate_data()
{
    QTest::addColumn<QString>("Expression");
    QTest::addColumn<bool>("Hex");
    QTest::addColumn<QString>("Y");
    QTest::addColumn<QString>("Result");
    QTest::addColumn<QString>("Size");
    QTest::addColumn<QString>("X");
    QTest::newRow("x := 5 writes the x edit") << "x := 5" << false << "0"
                                              << "5"
                                              << "1"
                                              << "5";
    QTest::newRow("complex") << "2*i" << false << "0"
                             << "2i"
                             << "0"
                             << "0";  // folded to one constant
    QTest::newRow("y from its edit") << "y*2" << false << "1+2i"
                                     << "2+4i"
                                     << "1"
                                     << "0";
    QTest::newRow("hexadecimal") << "255" << true << "0"
                                 << "$FF"
                                 << "0"
                                 << "0";
    QTest::newRow("x := y + 1") << "x := y + 1" << false << "-3i"
                                << "1-3i"
                                << "2"
                                << "1-3i";
}

void TestParserDemo::evaluate()
{
    QFETCH(QString, Expression);
    QFETCH(bool, Hex);
    QFETCH(QString, Y);
    QFETCH(QString, Result);
    QFETCH(QString, Size);
    QFETCH(QString, X);
    FPage->EditY->setText(Y);
    emit FPage->EditY->editingFinished();  // leaving the edit
    FPage->CheckHex->setChecked(Hex);
    FPage->ExpressionEdit->setText(Expression);
    QTest::keyClick(FPage->ExpressionEdit, Qt::Key_Return);
    QCOMPARE(FPage->ResultEdit->text(), Result);
    QCOMPARE(FPage->lblExprSize->text(), Size);
    QCOMPARE(FPage->EditX->text(), X);
    QCOMPARE(FPage->EditY->text(), Y);
}

void TestParserDemo::badExpressionKeepsTheResult()
{
    FPage->ExpressionEdit->setText("1+2");
    QTest::mouseClick(FPage->btnEvaluate, Qt::LeftButton);
    QCOMPARE(FPage->ResultEdit->text(), QString("3"));
    for (const char* bad : {"1+", "max(1", "randg(1,2)"}) {
        gErrorBoxes.clear();
        FPage->ExpressionEdit->setText(bad);
        QTest::mouseClick(FPage->btnEvaluate, Qt::LeftButton);
        QCOMPARE(gErrorBoxes.size(), 1);
        QCOMPARE(FPage->ResultEdit->text(), QString("3"));
    }
    QCOMPARE(gErrorBoxes.first(), QString("RandomG: not supported!"));
    // A variable edit that makes no number: the error box, the value kept.
    gErrorBoxes.clear();
    FPage->EditZ->setText("abc");
    emit FPage->EditZ->editingFinished();
    QCOMPARE(gErrorBoxes.size(), 1);
    FPage->ExpressionEdit->setText("z");
    QTest::mouseClick(FPage->btnEvaluate, Qt::LeftButton);
    QCOMPARE(FPage->ResultEdit->text(), QString("0"));
}

void TestParserDemo::keyOnKeypadGoesToTheLine()
{
    Line("1+2", 1, 1);
    QTest::keyClick(Key("7"), Qt::Key_5);
    QCOMPARE(FPage->ExpressionEdit->text(), QString("1+52"));
    QTest::keyClick(FPage->cbFunctions, Qt::Key_9);
    QCOMPARE(FPage->ExpressionEdit->text(), QString("1+592"));
}

void TestParserDemo::undoRedoRing()
{
    QLineEdit* line = FPage->ExpressionEdit;
    // A fresh page: nothing to undo or redo, whatever the keys.
    FPage->MenuPopup();
    QVERIFY(!FPage->miUndo->isEnabled() && !FPage->miRedo->isEnabled());
    QTest::keyClick(line, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(line, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(line->text(), QString());
    QCOMPARE(FPage->RingIndex(), -1);
    QCOMPARE(FPage->RedoMark(), -1);

    for (const char* t : {"1", "12", "123"}) line->setText(t);
    QCOMPARE(FPage->RingIndex(), 2);
    FPage->MenuPopup();
    QVERIFY(FPage->miUndo->isEnabled() && !FPage->miRedo->isEnabled());
    QTest::keyClick(line, Qt::Key_Y, Qt::ControlModifier);  // no mark: nothing
    QCOMPARE(line->text(), QString("123"));

    // Undo back to the first entry and one more, to the empty slot 40; redo to the mark and no further.
    const char* undone[] = {"12", "1", ""};
    for (const char* t : undone) {
        QTest::keyClick(line, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(line->text(), QString(t));
        QCOMPARE(line->cursorPosition(), static_cast<int>(strlen(t)));
    }
    QCOMPARE(FPage->RingIndex(), 40);
    FPage->MenuPopup();
    QVERIFY(FPage->miRedo->isEnabled());
    for (const char* t : {"1", "12", "123", "123"}) {
        QTest::keyClick(line, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(line->text(), QString(t));
    }
    QCOMPARE(FPage->RingIndex(), 2);

    // A change after an undo drops the redo; evaluating records nothing new.
    QTest::keyClick(line, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(line, Qt::Key_4);
    QCOMPARE(line->text(), QString("124"));
    QCOMPARE(FPage->RedoMark(), -1);
    QTest::keyClick(line, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(line->text(), QString("124"));
    const int index = FPage->RingIndex();
    QTest::keyClick(line, Qt::Key_Return);
    QCOMPARE(FPage->RingIndex(), index);
    QCOMPARE(FPage->ResultEdit->text(), QString("124"));

    // The ring holds 41 texts: the 42nd overwrites the first.
    for (int k = 0; k < 41; ++k) line->setText(QString::number(k));
    QCOMPARE(FPage->RingSlot(FPage->RingIndex()), QString("40"));
    QCOMPARE(FPage->RingSlot((FPage->RingIndex() + 1) % TfrmParser::kRingSize), QString("0"));
}

QTEST_MAIN(TestParserDemo)
#include "test_parser_demo.moc"
