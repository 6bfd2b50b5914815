#include "demo/ClipboardMSOffice.h"

#include <QHBoxLayout>

#include "demo/DemoFiles.h"
#include "demo/ValueViewerSeam.h"
#include "platform/gui/Guard.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

TMSOffice::TMSOffice(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/MSOffice.rtf"));
    FHelp.Apply(HelpOff);

    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 4, 8, 4);
    btnExport = new QPushButton(QStringLiteral("Tarnel -> Excel"), Panel2);
    btnExport->setObjectName("btnExport");
    btnImport = new QPushButton(QStringLiteral("Word -> Tarnel"), Panel2);
    btnImport->setObjectName("btnImport");
    bottom->addWidget(btnExport);
    bottom->addWidget(btnImport);
    bottom->addStretch(1);

    connect(btnExport, &QPushButton::clicked, this, Guard([this] { ExportToExcel(); }));
    connect(btnImport, &QPushButton::clicked, this, Guard([this] { ImportFromWord(); }));
}

void TMSOffice::ExportToExcel()
{
    FMtx->Size(5, 4, false);
    FMtx->RandGauss(3, 1);
    ShowValuesModal(*FMtx, QStringLiteral("Exporting to Excel"));
}

void TMSOffice::ImportFromWord()
{
    FMtx->SetZero();
    ShowValuesModal(*FMtx, QStringLiteral("Importing from Word"));
}

}  // namespace paxtor
