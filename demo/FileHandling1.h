// TFileH1, "Saving/Loading": round trips of a matrix through a memory stream, of a vector through a binary file
// ("TestVec1.vec") and of a complex matrix through a tab-delimited text file ("ASCIIMtx.txt"), each with its own
// explanation in the second text box; "View loaded values" opens the value viewer on what came back.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "core/TempGuard.h"
#include "core/Tarnel.h"
#include "demo/Basic2.h"
#include "demo/PageContract.h"
#include "platform/gui/Controls.h"

namespace paxtor {

class TFileH1 : public TBasicForm2 {
    Q_OBJECT
public:
    explicit TFileH1(QWidget* owner);

    QLabel* Label1;                  // "Code used : "
    tarnel::gui::TRichEdit* RichEdit2;  // the explanation of the last action
    QCheckBox* CheckView;            // "View loaded values"
    QPushButton* btnStream;          // "Streams : Read/Write"
    QPushButton* btnFile;            // "Binary files : Read/Write"
    QPushButton* btnBlob;            // "BLOB files : Read/Write"
    QPushButton* btnText;            // "Text files : Read/Write"

    // The buttons' work; the files go to the working directory.
    void StreamsReadWrite();
    void BinaryFilesReadWrite();
    void BlobFilesReadWrite();
    void TextFilesReadWrite();

    // The page's pooled matrix and vector: what was written last.
    const tarnel::TMtx& Matrix() const { return *FMtx; }
    const tarnel::TVec& Vector() const { return *FVec; }

private:
    // Empties the second text box and loads the explanation (a missing file leaves it empty).
    void ShowCode(const QString& relative);

    tarnel::detail::TMtxTemp FMtx;  // from the pool for the page's lifetime
    tarnel::detail::TVecTemp FVec;
    TPageHelp FHelp;
};

}  // namespace paxtor
