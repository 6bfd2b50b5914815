// TMSOffice, "MSOffice": a matrix opened in the value viewer, whose clipboard commands exchange its values with a
// spreadsheet or a word processor as delimited text.
#pragma once

#include <QPushButton>

#include "core/TempGuard.h"
#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"

namespace paxtor {

class TMSOffice : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TMSOffice(QWidget* owner);

    QPushButton* btnExport;  // "Tarnel -> Excel"
    QPushButton* btnImport;  // "Word -> Tarnel"

    // "Tarnel -> Excel": 5 × 4 normal values (mean 3, deviation 1) in the viewer, to be copied out.
    void ExportToExcel();
    // "Word -> Tarnel": the matrix zeroed at its present size in the viewer, to be pasted into.
    void ImportFromWord();

    const tarnel::TMtx& Matrix() const { return *FMtx; }

private:
    tarnel::detail::TMtxTemp FMtx;  // from the pool for the page's lifetime
    TPageHelp FHelp;
};

}  // namespace paxtor
