#include "demo/ProgDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "demo/DemoFiles.h"
#include "demo/MatrixPages.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/NumText.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

constexpr int kOrder = 100;
const QString kIndicator = QStringLiteral("Progress indicator: ");

// An integer edit of the page: the format "0", whole steps, nothing kept between runs.
TMtxFloatEdit* MakeIntegerEdit(QWidget* Parent, const char* Name, int Start, int Step)
{
    auto* e = new TMtxFloatEdit(Parent);
    e->setObjectName(Name);
    e->SetReFormat(QStringLiteral("0"));
    e->SetImFormat(QStringLiteral("+0i;-0i"));
    e->SetIntegerIncrement(true);
    e->SetIncrement(QString::number(Step));
    e->SetStoreInRegistry(false);
    e->SetIntPosition(Start);
    return e;
}

// The edit's value as an integer; false while its text makes no number (a text still being typed, such as "-").
bool TryInt(const TMtxFloatEdit* Edit, int& Value)
{
    try {
        Value = Edit->IntPosition();
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

}  // namespace

TfrmProgDialog::TfrmProgDialog(QWidget* owner)
    : TBasicForm2(owner), FThread(std::make_unique<TMtxProgressDialog>(nullptr)), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/ProgressDialog.rtf"));

    TMtxProgressDialog& dialog = *FThread;
    dialog.SetName("MtxThread");
    dialog.SetInternalLoop(true);
    dialog.SetInfiniteLoop(false);
    dialog.SetRange(0, 0);
    dialog.SetShowDialog(false);
    dialog.SetOnCompute([this](TComponent*) { Compute(); });
    dialog.SetOnProgressUpdate([this](TComponent*, TMtxProgressEvent Event) { ProgressUpdate(Event); });

    // The middle: the two radio groups and the check box, the priority and the interval, the loop range.
    auto* middle = new QHBoxLayout(Panel3);
    middle->setContentsMargins(8, 4, 8, 4);
    auto* modes = new QVBoxLayout;
    RadioGroup1 = MakeRadioGroup(Panel3, "RadioGroup1", QStringLiteral("Iterator control"),
                                 {"Internal loop", "External loop", "InProcedure"}, 1, IteratorItems);
    IteratorItems->button(itInternalLoop)->setChecked(true);
    RadioGroup2 = MakeRadioGroup(Panel3, "RadioGroup2", QStringLiteral("Loop type"), {"For loop", "While loop"}, 1,
                                 LoopTypeItems);
    LoopTypeItems->button(0)->setChecked(true);
    CheckBox1 = new QCheckBox(QStringLiteral("Show progress form"), Panel3);
    CheckBox1->setObjectName("CheckBox1");
    modes->addWidget(RadioGroup1);
    modes->addWidget(RadioGroup2);
    modes->addWidget(CheckBox1);
    modes->addStretch(1);
    middle->addLayout(modes);

    auto* settings = new QGridLayout;
    ComboBox1 = new QComboBox(Panel3);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems({"Idle", "Lowest", "Lower", "Normal", "Higher", "Highest", "Time critical"});
    ComboBox1->setCurrentIndex(tpNormal);
    settings->addWidget(new QLabel(QStringLiteral("Thread priority:"), Panel3), 0, 0);
    settings->addWidget(ComboBox1, 1, 0, 1, 2);
    IntervalEdit = MakeIntegerEdit(Panel3, "IntervalEdit", 200, 10);
    settings->addWidget(IntervalEdit, 2, 0);
    settings->addWidget(new QLabel(QStringLiteral("[ms]"), Panel3), 2, 1);
    settings->setRowStretch(3, 1);
    middle->addLayout(settings);

    GroupBox1 = new QGroupBox(QStringLiteral("Loop range"), Panel3);
    GroupBox1->setObjectName("GroupBox1");
    auto* range = new QGridLayout(GroupBox1);
    FromEdit = MakeIntegerEdit(GroupBox1, "FromEdit", 0, 100);
    ToEdit = MakeIntegerEdit(GroupBox1, "ToEdit", 1500, 100);
    range->addWidget(new QLabel(QStringLiteral("For Counter := "), GroupBox1), 0, 0);
    range->addWidget(FromEdit, 0, 1);
    range->addWidget(new QLabel(QStringLiteral("to "), GroupBox1), 1, 0, Qt::AlignRight);
    range->addWidget(ToEdit, 1, 1);
    range->addWidget(new QLabel(QStringLiteral("do"), GroupBox1), 1, 2);
    middle->addWidget(GroupBox1, 0, Qt::AlignTop);
    middle->addStretch(1);

    // The bottom: the buttons, the bar and its label.
    auto* bottom = new QGridLayout(Panel2);
    bottom->setContentsMargins(8, 4, 8, 4);
    btnStart = MakeButton(Panel2, "btnStart", QStringLiteral("Start"));
    btnStop = MakeButton(Panel2, "btnStop", QStringLiteral("Stop/Cancel"));
    ProgressBar1 = new QProgressBar(Panel2);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressLabel = new QLabel(QStringLiteral("Progress indicator:"), Panel2);
    ProgressLabel->setObjectName("ProgressLabel");
    bottom->addWidget(btnStart, 0, 0);
    bottom->addWidget(btnStop, 1, 0);
    bottom->addWidget(ProgressLabel, 0, 1);
    bottom->addWidget(ProgressBar1, 1, 1);
    bottom->setColumnStretch(1, 1);

    // Set-up: the priority shown and the range 0 .. 1500.
    dialog.SetThreadPriority(tpNormal);
    dialog.SetRange(0, 1500);
    FMin.store(dialog.Min());
    FMax.store(dialog.Max());

    connect(CheckBox1, &QCheckBox::toggled, this, Guard([this] { FThread->SetShowDialog(CheckBox1->isChecked()); }));
    connect(LoopTypeItems, &QButtonGroup::idClicked, this,
            Guard([this](int id) { FThread->SetInfiniteLoop(id == 1); }));
    connect(IteratorItems, &QButtonGroup::idClicked, this, Guard([this](int id) {
                FIterator.store(id);
                FThread->SetInternalLoop(id == itInternalLoop);
            }));
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, Guard([this](int index) {
                if (index >= 0) FThread->SetThreadPriority(static_cast<TThreadPriority>(index));
            }));
    connect(FromEdit, &QLineEdit::textChanged, this, Guard([this] { BoundChanged(FromEdit); }));
    connect(ToEdit, &QLineEdit::textChanged, this, Guard([this] { BoundChanged(ToEdit); }));
    connect(IntervalEdit, &QLineEdit::textChanged, this, Guard([this] {
                int interval;
                if (TryInt(IntervalEdit, interval)) FThread->SetUpdateInterval(interval);
            }));
    connect(btnStart, &QPushButton::clicked, this, Guard([this] { FThread->Execute(); }));
    connect(btnStop, &QPushButton::clicked, this, Guard([this] { FThread->SetStopped(true); }));

    FHelp.Apply(HelpKept);
}

TfrmProgDialog::~TfrmProgDialog()
{
    Guarded([this] { FThread->Stop(); });
}

QString TfrmProgDialog::ProgressText(int Counter, int Min, int Max)
{
    // The share of the range, not Counter / Max: that starts a run from 1000 to 1500 at 67 % and divides by zero
    // for Max = 0.
    const double percent = Min == Max ? 100.0 : (double(Counter) - Min) / (double(Max) - Min) * 100.0;
    return kIndicator + QString::fromStdString(FormatFloat("0 %", percent));
}

void TfrmProgDialog::BoundChanged(TMtxFloatEdit* Edit)
{
    // A text still being typed sets nothing; the bound follows once the text reads as a number.
    int value;
    if (TryInt(Edit, value)) Edit == FromEdit ? FThread->SetMin(value) : FThread->SetMax(value);
    FMin.store(FThread->Min());
    FMax.store(FThread->Max());
}

void TfrmProgDialog::ProgressUpdate(TMtxProgressEvent Event)
{
    TMtxProgressDialog& dialog = *FThread;
    switch (Event) {
        case peStart:
            dialog.SetupProgressBar(*ProgressBar1);
            CreateIt(FA, FB, FC);
            FA->Size(kOrder, kOrder, false);
            FA->RandGauss();
            FB->Copy(*FA);
            break;
        case peUpdate:
            ProgressBar1->setValue(dialog.Counter());
            ProgressLabel->setText(ProgressText(dialog.Counter(), dialog.Min(), dialog.Max()));
            break;
        case peFinish:
            if (!dialog.Stopped()) {
                ProgressBar1->setValue(dialog.Max());
                ProgressLabel->setText(kIndicator + QString::fromStdString(FormatFloat("0.00", 100)));
            }
            FreeIt(FA, FB, FC);
            break;
    }
}

void TfrmProgDialog::Product()
{
    if (BeforeProduct) BeforeProduct();
    FC->Mul(*FA, *FB, mtGeneral, mtGeneral, opNone, opNone);
    FProducts.fetch_add(1);
}

void TfrmProgDialog::Compute()
{
    TMtxProgressDialog& dialog = *FThread;
    switch (FIterator.load()) {
        case itInternalLoop:
            Product();
            break;
        case itExternalLoop: {
            const int min = FMin.load(), max = FMax.load();
            for (int i = min; i <= max; ++i) {
                dialog.SetCounter(i);
                if (dialog.Stopped()) break;
                Product();
                if (i == max) break;  // i + 1 would overflow at the top of the Integer range
            }
            break;
        }
        case itInProcedure:
            // While Counter is below Max, not while it differs from it: a "to" lowered below the counter during
            // the run ends the loop instead of leaving it to count on.
            while (dialog.Counter() < FMax.load() && !dialog.Stopped()) {
                Product();
                dialog.SetCounter(dialog.Counter() + 1);
            }
            break;
    }
}

}  // namespace paxtor
