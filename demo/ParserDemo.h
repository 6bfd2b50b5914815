// TfrmParser, "Math Parser": a calculator around the expression parser. A keypad and the lists of the parser's
// functions and constants insert text into the expression line, three complex variables x, y and z are bound to the
// parser, "Evaluate" shows the value as a complex number or in hexadecimal, a help line explains the chosen function,
// and a ring of 41 texts gives the expression line its undo and redo.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QString>
#include <QVector>
#include <memory>

#include "core/Dovi387.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"
#include "parser/MtxParseExpr.h"

namespace paxtor {

class TfrmParser : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TfrmParser(QWidget* owner);
    ~TfrmParser() override;

    QLineEdit* ExpressionEdit;  // "Mathematical or logical expression:"
    QMenu* PopupMenu1;          // its pop-up menu
    QAction* miUndo;            // "&Undo", Ctrl+Z
    QAction* miRedo;            // "&Redo ", Ctrl+Y
    QGroupBox* GroupOperands;   // "Operands: "
    QVector<QPushButton*> Keypad;
    QPushButton* btnDecimal;  // the system's decimal separator
    QComboBox* cbFunctions;   // "Functions:", sorted
    QPushButton* btnAddFunction;
    QLabel* helplabel;
    QComboBox* cbConstants;  // "Constants:", sorted
    QPushButton* btnAddConstant;
    QLineEdit* EditX;
    QLineEdit* EditY;
    QLineEdit* EditZ;
    QPushButton* btnEvaluate;
    QLineEdit* ResultEdit;  // "Result = ", read-only
    QLabel* lblExprSize;    // the value beside "Expr. size ="
    QCheckBox* CheckOptimize;
    QCheckBox* CheckHex;

    static constexpr int kRingSize = 41;

    // Inserts Text at the caret, or around the selection when Text holds "(" (the keypad and both "Add" buttons).
    void InsertText(QString Text);
    // The call template of a function of the list: its name, "(", ArgCount − 1 separators and ")"; the bare name
    // for a function without arguments.
    QString Template(int FunctionItem) const;
    // "Add" beside "Functions:" and beside "Constants:".
    void AddFunction();
    void AddConstant();
    // The help text of the function of that name ("" for a name without one), the separator as the parser's.
    QString HelpText(const QString& Name) const;
    // "Evaluate" (also Enter in the expression line).
    void Evaluate();
    // "&Undo", "&Redo " and the enabling done when the pop-up menu opens.
    void Undo();
    void Redo();
    void MenuPopup();

    tarnel::TMtxExpression& Parser() { return *FParser; }
    const tarnel::TCplx& VarX() const { return FVars[0]; }
    int RingIndex() const { return FIndex; }
    int RedoMark() const { return FRedoMark; }
    const QString& RingSlot(int Index) const { return FRing[Index]; }
    const TPageHelp& Help() const { return FHelp; }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    // The change handler of the expression line (also the parser's change event): one ring slot per new text.
    void Record();
    // The slot at the current index into the expression line, unrecorded, the caret at its end.
    void ShowSlot();
    void RememberSelection();
    void ReadVariable(int Index);
    void FunctionChosen();

    std::unique_ptr<tarnel::TMtxExpression> FParser;
    tarnel::TCplx FVars[3] = {};  // x, y, z, bound by name
    QLineEdit* FVarEdits[3] = {};
    QString FRing[kRingSize];
    int FIndex = -1;         // the current slot, -1 while the ring is empty
    int FRedoMark = -1;      // -1: nothing to redo
    bool FDetached = false;  // the expression line's change handler is off
    // The selection of the expression line as last seen while it had the focus: a click on a button takes the focus
    // and the line drops its selection, which the inserted text still wraps.
    int FSelStart = 0, FSelLength = 0;
    bool FLeaving = false;
    TPageHelp FHelp;
};

}  // namespace paxtor
