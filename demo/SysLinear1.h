// TLinearSystem1, "Solving system of equations": a 4 × 4 system A·x = b in editable grids, solved by TMtx.LUSolve
// (with refinement and a condition estimate in a report) or by TMtx.SVDSolve (with the singular values).
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "components/TarnelEdit.h"
#include "core/TempGuard.h"
#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"

namespace paxtor {

class TLinearSystem1 : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TLinearSystem1(QWidget* owner);

    tarnel::gui::TStringGrid* GridA;  // "matrix A (LHS): ", 4 × 4, editable, 50-pixel columns
    tarnel::gui::TStringGrid* GridX;  // "vector x :", read-only
    tarnel::gui::TStringGrid* GridB;  // "vector b (RHS): ", editable
    QComboBox* ComboMethod;           // "Method : ": "LUSolve", "SVDSolve"
    QPushButton* btnSolve;            // "SOLVE"
    QWidget* PanelLU;                 // the report, the condition norm and "Refine solution"
    QPlainTextEdit* Memo1;            // "Report : "
    QGroupBox* RadioGroupNorm;        // "Condition Norm": "cnNone", "cnNorm1", "cnNormInf"
    QButtonGroup* NormItems;
    QCheckBox* CheckRefine;              // "Refine solution"
    QWidget* PanelSVD;                   // the singular values
    tarnel::gui::TStringGrid* GridSV;    // "Singular values : "

    // The method's item (0 LUSolve, 1 SVDSolve): its panel, the report cleared.
    void SelectMethod(int Item);
    void SetRefine(bool Refine);
    void SelectNorm(int Item);
    // "SOLVE": x of the system the grids hold, by the chosen method. A numerical failure raises before anything
    // changes.
    void Solve();

    const tarnel::TMtx& A() const { return FA; }
    const tarnel::TVec& B() const { return *FB; }
    const tarnel::TVec& X() const { return *FX; }
    const tarnel::TVec& SingularValues() const { return *FSV; }
    int Rank() const { return FRank; }

private:
    tarnel::TMtx FA;
    tarnel::detail::TVecTemp FB, FX, FSV;  // from the pool for the page's life
    int FRank = 0;
    TPageHelp FHelp;
};

}  // namespace paxtor
