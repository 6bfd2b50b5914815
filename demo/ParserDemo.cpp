#include "demo/ParserDemo.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "demo/DemoFiles.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/NumText.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

// The call templates and their help texts; the help line finds a function's row by the name before "(".
struct TFunctionHelp {
    const char* Template;
    const char* Text;
};
constexpr TFunctionHelp kFunctionHelp[27] = {
    {"()", "() = brackets"},
    {"abs()", "abs(x) = absolute value"},
    {"arccos()", "arccos(x) = inverse cosine of x in rad"},
    {"arccosh()", "arccosh(x) = inverse hyperbolic cosine in rad"},
    {"arcsin()", "arcsin(x) = inverse sine of x in rad"},
    {"arcsinh()", "arcsinh(x) = inverse hyperbolic sine in rad"},
    {"cos()", "cos(x) = cosine of an angle in rad"},
    {"cosh()", "cosh(x) = hyperbolic cosine of an angle in rad"},
    {"degtorad()", "degtorad(x) = conversion from degrees to radians"},
    {"exp()", "exp(x) = the value of e raised to the power of x"},
    {"if(,,)", "if(x1,x2,x3) = if x1=True(or 1) then x2 else x3"},
    {"ln()", "ln(x) = natural logarithm of x"},
    {"log10()", "log10(x) = logarithm base 10 of x"},
    {"logn(,)", "logn(x1,x2) = logarithm base x1 of x2"},
    {"max(,)", "max(x1,x2) = the maximum of both arguments"},
    {"min(,)", "min(x1,x2) = the minimum of both arguments"},
    {"pi", "pi = 3.1415926535897932385"},
    {"radtodeg()", "radtodeg(x) = conversion from radians to degrees"},
    {"randg(,)", "randg(x1,x2) = Draw from normal distrib. (mean=x1, sd =x2"},
    {"random", "random = random number between 0 and 1"},
    {"round()", "round(x) = round to the nearest integer"},
    {"sin()", "sin(x) = sine of an angle in rad"},
    {"sinh()", "sinh(x) = hyperbolic sine of an angle in rad"},
    {"sqr()", "sqr(x) = the square of a number (x*x)"},
    {"sqrt()", "sqrt(x) = the square root of a number"},
    {"tanh()", "tanh(x) = the hyperbolic tangent of an angle (rad)"},
    {"trunc()", "trunc(x) = truncates a real number to an integer"},
};

// The keypad: caption (the text inserted), hint, row and column. The decimal-point button's caption is set at
// creation.
struct TKey {
    const char* Caption;
    const char* Hint;
    int Row, Col;
};
constexpr TKey kKeys[] = {
    {"7", "", 0, 0},
    {"8", "", 0, 1},
    {"9", "", 0, 2},
    {" + ", "", 0, 3},
    {" - ", "", 0, 4},
    {"(", "bracket", 0, 5},
    {")", "bracket", 0, 6},
    {" = ", "", 0, 7},
    {"4", "", 1, 0},
    {"5", "", 1, 1},
    {"6", "", 1, 2},
    {" * ", "", 1, 3},
    {" / ", "", 1, 4},
    {"^", "", 1, 5},
    {"%", "", 1, 6},
    {" <> ", "", 1, 7},
    {"1", "", 2, 0},
    {"2", "", 2, 1},
    {"3", "", 2, 2},
    {" div ", "integer devide (truncate result)", 2, 3},
    {" mod ", "", 2, 4},
    {"!", "", 2, 5},
    {"E", "Exponent in scientific notation of numbers", 2, 6},
    {" < ", "", 2, 7},
    {"0", "", 3, 0},
    {".", "", 3, 1},
    {"'", "delimiter for string constants", 3, 2},
    {" not ", "", 3, 3},
    {" and ", "", 3, 4},
    {" or ", "", 3, 5},
    {" xor ", "", 3, 6},
    {" > ", "", 3, 7},
    {"x", "", 4, 0},
    {"y", "", 4, 1},
    {"z", "", 4, 2},
    {" := ", "assign to variable", 4, 3},
    {" <= ", "", 4, 6},
    {" >= ", "", 4, 7},
};

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

}  // namespace

TfrmParser::TfrmParser(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/ParserDemo.rtf"));

    auto* middle = new QGridLayout(Panel3);
    middle->setContentsMargins(6, 4, 6, 4);
    middle->addWidget(new QLabel(QStringLiteral("Mathematical or logical expression:"), Panel3), 0, 0, 1, 2);
    ExpressionEdit = new QLineEdit(Panel3);
    ExpressionEdit->setObjectName("ExpressionEdit");
    ExpressionEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    ExpressionEdit->installEventFilter(this);
    middle->addWidget(ExpressionEdit, 1, 0, 1, 2);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    miUndo = PopupMenu1->addAction(QStringLiteral("&Undo"));
    miUndo->setObjectName("miUndo");
    miUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    miRedo = PopupMenu1->addAction(QStringLiteral("&Redo "));
    miRedo->setObjectName("miRedo");
    miRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    for (QAction* a : {miUndo, miRedo}) a->setShortcutContext(Qt::WidgetShortcut);  // the line handles the keys

    // The keypad.
    GroupOperands = new QGroupBox(QStringLiteral("Operands: "), Panel3);
    GroupOperands->setObjectName("GroupOperands");
    auto* keys = new QGridLayout(GroupOperands);
    keys->setSpacing(3);
    for (const TKey& k : kKeys) {
        const bool decimal = QLatin1String(k.Caption) == QLatin1String(".");
        auto* b = new QPushButton(decimal ? QString(QChar::fromLatin1(DecimalSeparator())) : QString(k.Caption),
                                  GroupOperands);
        b->setToolTip(QString::fromLatin1(k.Hint));
        b->setMinimumWidth(38);
        b->installEventFilter(this);
        if (decimal) {
            btnDecimal = b;
            b->setObjectName("btnDecimal");
        }
        keys->addWidget(b, k.Row, k.Col);
        Keypad << b;
        connect(b, &QPushButton::clicked, this, Guard([this, b] { InsertText(b->text()); }));
    }
    middle->addWidget(GroupOperands, 2, 0, Qt::AlignTop);

    // The lists, the help line and the variables.
    auto* side = new QGridLayout;
    side->addWidget(new QLabel(QStringLiteral("Functions:"), Panel3), 0, 0);
    cbFunctions = new QComboBox(Panel3);
    cbFunctions->setObjectName("cbFunctions");
    cbFunctions->setMaxVisibleItems(20);
    cbFunctions->setMinimumWidth(130);
    btnAddFunction = new QPushButton(QStringLiteral("Add"), Panel3);
    btnAddFunction->setObjectName("btnAddFunction");
    side->addWidget(cbFunctions, 0, 1);
    side->addWidget(btnAddFunction, 0, 2);
    helplabel = new QLabel(Panel3);
    helplabel->setObjectName("helplabel");
    helplabel->setMinimumWidth(330);
    side->addWidget(helplabel, 1, 0, 1, 3);
    side->addWidget(new QLabel(QStringLiteral("Constants:"), Panel3), 2, 0);
    cbConstants = new QComboBox(Panel3);
    cbConstants->setObjectName("cbConstants");
    cbConstants->setMaxVisibleItems(20);
    cbConstants->setMinimumWidth(130);
    btnAddConstant = new QPushButton(QStringLiteral("Add"), Panel3);
    btnAddConstant->setObjectName("btnAddConstant");
    side->addWidget(cbConstants, 2, 1);
    side->addWidget(btnAddConstant, 2, 2);
    for (QWidget* w : {static_cast<QWidget*>(cbFunctions), static_cast<QWidget*>(cbConstants),
                       static_cast<QWidget*>(btnAddFunction), static_cast<QWidget*>(btnAddConstant)})
        w->installEventFilter(this);
    side->addWidget(new QLabel(QStringLiteral("Variables:"), Panel3), 3, 0);
    const char* names[3] = {"x", "y", "z"};
    for (int v = 0; v < 3; ++v) {
        side->addWidget(new QLabel(QStringLiteral("%1 =").arg(QLatin1String(names[v])), Panel3), 4 + v, 0,
                        Qt::AlignRight);
        FVarEdits[v] = new QLineEdit(QStringLiteral("0"), Panel3);
        FVarEdits[v]->setObjectName(QStringLiteral("Edit%1").arg(QChar::fromLatin1(names[v][0]).toUpper()));
        side->addWidget(FVarEdits[v], 4 + v, 1, 1, 2);
        connect(FVarEdits[v], &QLineEdit::editingFinished, this, Guard([this, v] { ReadVariable(v); }));
    }
    EditX = FVarEdits[0];
    EditY = FVarEdits[1];
    EditZ = FVarEdits[2];
    side->setRowStretch(7, 1);
    middle->addLayout(side, 2, 1);
    middle->setColumnStretch(1, 1);

    // The bottom: evaluation and its result.
    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(6, 4, 6, 4);
    btnEvaluate = new QPushButton(QStringLiteral("Evaluate"), Panel2);
    btnEvaluate->setObjectName("btnEvaluate");
    bottom->addWidget(btnEvaluate);
    bottom->addWidget(new QLabel(QStringLiteral("Result = "), Panel2));
    ResultEdit = new QLineEdit(Panel2);
    ResultEdit->setObjectName("ResultEdit");
    ResultEdit->setReadOnly(true);
    bottom->addWidget(ResultEdit, 1);
    bottom->addWidget(new QLabel(QStringLiteral("Expr. size ="), Panel2));
    lblExprSize = new QLabel(Panel2);
    lblExprSize->setObjectName("lblExprSize");
    lblExprSize->setMinimumWidth(30);
    bottom->addWidget(lblExprSize);
    CheckOptimize = new QCheckBox(QStringLiteral("Optimize?"), Panel2);
    CheckOptimize->setObjectName("CheckOptimize");
    CheckOptimize->setChecked(true);
    CheckHex = new QCheckBox(QStringLiteral("Hexadecimal"), Panel2);
    CheckHex->setObjectName("CheckHex");
    bottom->addWidget(CheckOptimize);
    bottom->addWidget(CheckHex);

    // The parser and its variables, read from their edits.
    FParser = std::make_unique<TMtxExpression>();
    for (int v = 0; v < 3; ++v) {
        FParser->DefineVariable(names[v], FVars[v]);
        FVars[v] = StrToCplx(FVarEdits[v]->text().toStdString());
    }

    // The lists: the constants, and the functions without the operators (which are functions too).
    QStringList constants, functions;
    QVector<int> argCounts;
    for (int i = 0, n = FParser->WordCount(); i < n; ++i) {
        TExprWord* w = FParser->Words(i);
        if (dynamic_cast<TFunction*>(w)) {
            if (w->IsOperator()) continue;
            functions << Text(w->Name());
            argCounts << w->ArgCount();
        } else if (dynamic_cast<TDoubleConstant*>(w) && !dynamic_cast<TGeneratedVariable*>(w) &&
                   w->Kind() == wkNumber) {
            constants << Text(w->Name());
        }
    }
    // Both lists sorted; each function keeps its argument count for its template.
    QVector<int> order(functions.size());
    for (int i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](int a, int b) { return functions[a] < functions[b]; });
    for (int i : order) cbFunctions->addItem(functions[i], argCounts[i]);
    constants.sort();
    cbConstants->addItems(constants);
    cbFunctions->setCurrentIndex(-1);
    cbConstants->setCurrentIndex(-1);

    connect(ExpressionEdit, &QLineEdit::textChanged, this, [this] {
        if (!FDetached) Record();
    });
    connect(ExpressionEdit, &QLineEdit::selectionChanged, this, [this] { RememberSelection(); });
    connect(ExpressionEdit, &QLineEdit::cursorPositionChanged, this, [this] { RememberSelection(); });
    connect(ExpressionEdit, &QLineEdit::returnPressed, this, Guard([this] { Evaluate(); }));
    connect(ExpressionEdit, &QWidget::customContextMenuRequested, this, Guard([this](const QPoint& p) {
                MenuPopup();
                PopupMenu1->popup(ExpressionEdit->mapToGlobal(p));
            }));
    connect(miUndo, &QAction::triggered, this, Guard([this] { Undo(); }));
    connect(miRedo, &QAction::triggered, this, Guard([this] { Redo(); }));
    connect(cbFunctions, &QComboBox::currentIndexChanged, this, Guard([this] { FunctionChosen(); }));
    connect(btnAddFunction, &QPushButton::clicked, this, Guard([this] { AddFunction(); }));
    connect(btnAddConstant, &QPushButton::clicked, this, Guard([this] { AddConstant(); }));
    connect(btnEvaluate, &QPushButton::clicked, this, Guard([this] { Evaluate(); }));
    FParser->OnChange = [this](TStringList&) {
        if (!FDetached) Record();
    };

    FHelp.Apply(HelpKept);
}

TfrmParser::~TfrmParser()
{
    FParser->OnChange = nullptr;  // the parser's clean-up records nothing
}

void TfrmParser::RememberSelection()
{
    if (FLeaving) return;  // the line drops its selection as it loses the focus: keep the one it had
    if (ExpressionEdit->hasSelectedText()) {
        FSelStart = ExpressionEdit->selectionStart();
        FSelLength = static_cast<int>(ExpressionEdit->selectedText().size());
    } else {
        FSelStart = ExpressionEdit->cursorPosition();
        FSelLength = 0;
    }
}

void TfrmParser::InsertText(QString Insert)
{
    if (Insert.isEmpty()) Insert = QStringLiteral(" ");
    const QString text = ExpressionEdit->text();
    const int start = std::clamp(FSelStart, 0, static_cast<int>(text.size()));
    const int length = std::clamp(FSelLength, 0, static_cast<int>(text.size()) - start);
    const qsizetype bracket = Insert.indexOf(QLatin1Char('('));
    QString result;
    int caret;
    if (bracket < 0 || length == 0) {
        // The text replaces the selection; into the last pair of brackets when it holds one.
        result = text.left(start) + Insert + text.mid(start + length);
        caret = start + static_cast<int>(Insert.size()) - (bracket >= 0 ? 1 : 0);
    } else {
        // The selection wrapped: the text up to its first "(" before it, the rest after it.
        const QString head = Insert.left(bracket + 1), rest = Insert.mid(bracket + 1);
        result = text.left(start) + head + text.mid(start, length) + rest + text.mid(start + length);
        caret = start + static_cast<int>(head.size()) + length + static_cast<int>(rest.size()) - 1;
    }
    ExpressionEdit->setText(result);  // recorded as one change
    ExpressionEdit->setCursorPosition(caret);
    FSelStart = caret;
    FSelLength = 0;
}

QString TfrmParser::Template(int FunctionItem) const
{
    if (FunctionItem < 0 || FunctionItem >= cbFunctions->count()) return QString();
    const QString name = cbFunctions->itemText(FunctionItem);
    const int args = cbFunctions->itemData(FunctionItem).toInt();
    if (args == 0) return name;
    return name + QLatin1Char('(') + QString(args - 1, QChar::fromLatin1(FParser->Separator())) + QLatin1Char(')');
}

void TfrmParser::AddFunction()
{
    InsertText(Template(cbFunctions->currentIndex()));
}

void TfrmParser::AddConstant()
{
    InsertText(cbConstants->currentText());
}

QString TfrmParser::HelpText(const QString& Name) const
{
    for (const TFunctionHelp& row : kFunctionHelp) {
        const QString key = QString::fromLatin1(row.Template).section(QLatin1Char('('), 0, 0);
        if (key.isEmpty() || key != Name) continue;
        QString help = QString::fromLatin1(row.Text);
        const char sep = FParser->Separator();
        if (sep != ',') help.replace(QLatin1Char(','), QChar::fromLatin1(sep));
        return help;
    }
    return QString();
}

void TfrmParser::FunctionChosen()
{
    helplabel->setText(HelpText(cbFunctions->currentText()));
}

void TfrmParser::Evaluate()
{
    FParser->SetOptimize(CheckOptimize->isChecked());
    FParser->Add(ExpressionEdit->text().toStdString());
    const QString result =
        CheckHex->isChecked() ? Text(FParser->AsHexadecimal()) : Text(CplxToStr(FParser->AsCplx(), 0));
    ResultEdit->setText(result);
    lblExprSize->setText(QString::number(FParser->OperationCount()));
    // An expression may have assigned the variables.
    for (int v = 0; v < 3; ++v) {
        const QSignalBlocker hold(FVarEdits[v]);
        FVarEdits[v]->setText(Text(CplxToStr(FVars[v], 0)));
    }
}

void TfrmParser::ReadVariable(int Index)
{
    const QString text = FVarEdits[Index]->text();
    if (!text.isEmpty()) FVars[Index] = StrToCplx(text.toStdString());
}

void TfrmParser::Record()
{
    FRedoMark = -1;
    const QString text = ExpressionEdit->text();
    if (FIndex >= 0 && text == FRing[FIndex]) return;
    FIndex = (FIndex + 1) % kRingSize;
    FRing[FIndex] = text;
}

void TfrmParser::ShowSlot()
{
    FDetached = true;
    ExpressionEdit->setText(FRing[FIndex]);
    FDetached = false;
    ExpressionEdit->setCursorPosition(static_cast<int>(ExpressionEdit->text().size()));
    FSelStart = static_cast<int>(ExpressionEdit->text().size());
    FSelLength = 0;
}

void TfrmParser::Undo()
{
    if (FIndex < 0) return;  // nothing recorded yet
    if (FRedoMark < 0) FRedoMark = FIndex;
    FIndex = FIndex == 0 ? kRingSize - 1 : FIndex - 1;
    ShowSlot();
}

void TfrmParser::Redo()
{
    if (FRedoMark < 0 || FIndex == FRedoMark) return;  // nothing undone
    FIndex = (FIndex + 1) % kRingSize;
    ShowSlot();
}

void TfrmParser::MenuPopup()
{
    miUndo->setEnabled(FIndex != -1);
    miRedo->setEnabled(FRedoMark != -1 && FRedoMark != FIndex);
}

bool TfrmParser::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == ExpressionEdit) {
        if (Event->type() == QEvent::FocusOut) {
            // The line's own handler (which drops the selection) runs here, with the selection kept.
            FLeaving = true;
            ExpressionEdit->event(Event);
            FLeaving = false;
            return true;
        }
        if (Event->type() == QEvent::ShortcutOverride || Event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(Event);
            const bool undo = key->matches(QKeySequence::Undo);
            const bool redo = key->matches(QKeySequence::Redo) ||
                              (key->key() == Qt::Key_Y && key->modifiers() == Qt::ControlModifier);
            if (undo || redo) {
                // The ring's undo and redo, not the line's own.
                if (Event->type() == QEvent::ShortcutOverride) {
                    Event->accept();
                    return true;
                }
                Guarded([&] { undo ? Undo() : Redo(); });
                return true;
            }
        }
        return TBasicForm2::eventFilter(Watched, Event);
    }
    if (Event->type() == QEvent::KeyPress) {
        // A key on a keypad button or a list goes to the expression line, at the end of its selection.
        auto* key = static_cast<QKeyEvent*>(Event);
        const int k = key->key();
        if (k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Shift || k == Qt::Key_Control ||
            k == Qt::Key_Alt || k == Qt::Key_Meta)
            return TBasicForm2::eventFilter(Watched, Event);
        ExpressionEdit->setFocus(Qt::OtherFocusReason);
        ExpressionEdit->setCursorPosition(FSelStart + FSelLength);
        RememberSelection();
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                       static_cast<ushort>(key->count()));
        QCoreApplication::sendEvent(ExpressionEdit, &copy);
        return true;
    }
    return TBasicForm2::eventFilter(Watched, Event);
}

}  // namespace paxtor
