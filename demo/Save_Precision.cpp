#include "demo/Save_Precision.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "demo/DemoFiles.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/Streams.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

const char* const kFormat = "0.0000000000";

gui::TStringGrid* MakeGrid(QWidget* parent, const char* name)
{
    auto* grid = new gui::TStringGrid(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->SetRowCount(51);
    grid->SetColCount(51);
    grid->SetDefaultColWidth(75);
    grid->SetDefaultRowHeight(16);
    return grid;
}

}  // namespace

TfrmSavePrec::TfrmSavePrec(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/SavePrecision.rtf"));

    auto* middle = new QGridLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);
    middle->addWidget(new QLabel(QStringLiteral("Original matrix (50x50): "), Panel3), 0, 0);
    middle->addWidget(new QLabel(QStringLiteral("Saved matrix (50x50): "), Panel3), 0, 1);
    StringGrid1 = MakeGrid(Panel3, "StringGrid1");
    StringGrid2 = MakeGrid(Panel3, "StringGrid2");
    middle->addWidget(StringGrid1, 1, 0);
    middle->addWidget(StringGrid2, 1, 1);

    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 4, 8, 4);
    bottom->addWidget(new QLabel(QStringLiteral("Precision : "), Panel2));
    cbPrecision = new QComboBox(Panel2);
    cbPrecision->setObjectName("cbPrecision");
    cbPrecision->addItems({"prDouble", "prSingle", "prInteger", "prCardinal", "prSmallInt", "prWord", "prShortInt",
                           "prByte"});
    bottom->addWidget(cbPrecision);
    bottom->addSpacing(12);
    bottom->addWidget(new QLabel(QStringLiteral("Rounding type : "), Panel2));
    cbRounding = new QComboBox(Panel2);
    cbRounding->setObjectName("cbRounding");
    cbRounding->addItems({"rnTrunc", "rnTruncNeg", "rnRound"});
    bottom->addWidget(cbRounding);
    bottom->addSpacing(12);
    bottom->addWidget(new QLabel(QStringLiteral("MemStream size : "), Panel2));
    lblSize = new QLabel(QStringLiteral("0"), Panel2);
    lblSize->setObjectName("lblSize");
    bottom->addWidget(lblSize);
    bottom->addSpacing(12);
    btnSave = new QPushButton(QStringLiteral("&Save"), Panel2);
    btnSave->setObjectName("btnSave");
    bottom->addWidget(btnSave);
    bottom->addStretch(1);

    FSource.Size(50, 50, false);
    FSource.RandGauss(5, 0.5);
    ShowSource();

    connect(cbPrecision, &QComboBox::currentIndexChanged, this,
            Guard([this](int i) { FPrecision = TPrecision(i < 0 ? 0 : i); }));
    connect(cbRounding, &QComboBox::currentIndexChanged, this,
            Guard([this](int i) { FRounding = TRounding(i < 0 ? 0 : i); }));
    connect(btnSave, &QPushButton::clicked, this, Guard([this] { Save(); }));
    FHelp.Apply(HelpKept);
}

void TfrmSavePrec::showEvent(QShowEvent* event)
{
    TBasicForm2::showEvent(event);
    Guarded([this] {
        cbPrecision->setCurrentIndex(0);
        cbRounding->setCurrentIndex(0);
    });
}

void TfrmSavePrec::ShowSource()
{
    FSource.ValuesToGrid(*StringGrid1, 0, 0, kFormat, true);
}

void TfrmSavePrec::Save()
{
    TMemoryStream stream;
    FSource.SaveToStream(stream, FPrecision, FRounding);
    lblSize->setText(QString::number(stream.Size()) + QStringLiteral(" bytes"));
    stream.Seek(0, soBeginning);
    FCopy.LoadFromStream(stream);
    FCopy.ValuesToGrid(*StringGrid2, 0, 0, kFormat, true);
}

}  // namespace paxtor
