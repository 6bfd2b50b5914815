#include "components/MtxStepEdit.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "components/MtxComCtrls.h"
#include "platform/gui/Guard.h"

namespace tarnel {

namespace {

QLineEdit* NamedEdit(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

}  // namespace

TMtxStepEditForm::TMtxStepEditForm(TMtxFloatEdit* Edit, QWidget* Owner)
    : QDialog(Owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), FEdit(Edit)
{
    setWindowTitle(QStringLiteral("Edit number properties"));

    auto* formats = new QGroupBox(QStringLiteral("Number formating"), this);
    RealPartEdit = NamedEdit("RealPartEdit", formats);
    ImagPartEdit = NamedEdit("ImagPartEdit", formats);
    ScientificCheck = new QCheckBox(QStringLiteral("Scientific"), formats);
    ScientificCheck->setObjectName(QStringLiteral("ScientificCheck"));
    AutoSelectCheck = new QCheckBox(QStringLiteral("Auto select"), formats);
    AutoSelectCheck->setObjectName(QStringLiteral("AutoSelectCheck"));
    auto* fg = new QGridLayout(formats);
    fg->addWidget(new QLabel(QStringLiteral("Real part:"), formats), 0, 0);
    fg->addWidget(RealPartEdit, 0, 1);
    fg->addWidget(new QLabel(QStringLiteral("Imaginary part:"), formats), 1, 0);
    fg->addWidget(ImagPartEdit, 1, 1);
    auto* checks = new QHBoxLayout;
    checks->addWidget(ScientificCheck);
    checks->addWidget(AutoSelectCheck);
    fg->addLayout(checks, 2, 0, 1, 2);

    auto* step = new QGroupBox(QStringLiteral("Up/Down step size"), this);
    IncrementEdit = NamedEdit("IncrementEdit", step);
    auto* sg = new QHBoxLayout(step);
    sg->addWidget(new QLabel(QStringLiteral("Increment:"), step));
    sg->addWidget(IncrementEdit, 1);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);

    auto* all = new QVBoxLayout(this);
    all->addWidget(formats);
    all->addWidget(step);
    all->addStretch(1);
    all->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(kClientWidth, kClientHeight)));

    // Every change reaches the control at once.
    connect(RealPartEdit, &QLineEdit::textChanged, this, gui::Guard([this](const QString& s) {
                if (FEdit && !FLoading) FEdit->SetReFormat(s);
            }));
    connect(ImagPartEdit, &QLineEdit::textChanged, this, gui::Guard([this](const QString& s) {
                if (FEdit && !FLoading) FEdit->SetImFormat(s);
            }));
    connect(ScientificCheck, &QCheckBox::clicked, this, gui::Guard([this](bool on) {
                RealPartEdit->setEnabled(!on);
                ImagPartEdit->setEnabled(!on);
                if (FEdit) FEdit->SetScientific(on);
            }));
    connect(AutoSelectCheck, &QCheckBox::clicked, this, gui::Guard([this](bool on) {
                if (FEdit) FEdit->SetAutoSelect(on);
            }));
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    IncrementEdit->installEventFilter(this);
}

TMtxStepEditForm::~TMtxStepEditForm()
{
    Closed();
}

void TMtxStepEditForm::Load()
{
    if (!FEdit) return;
    FLoading = true;
    FKeptScientific = FEdit->Scientific();
    FKeptReFormat = FEdit->ReFormat();
    FKeptImFormat = FEdit->ImFormat();
    FKeptAutoSelect = FEdit->AutoSelect();
    FKeptIncrement = FEdit->CplxIncrement();
    ScientificCheck->setChecked(FKeptScientific);
    RealPartEdit->setEnabled(!FKeptScientific);
    ImagPartEdit->setEnabled(!FKeptScientific);
    RealPartEdit->setText(FKeptReFormat);
    ImagPartEdit->setText(FKeptImFormat);
    AutoSelectCheck->setChecked(FKeptAutoSelect);
    IncrementEdit->setText(FEdit->Increment());
    FLoading = false;
}

void TMtxStepEditForm::ApplyIncrement()
{
    if (!FEdit) return;
    FEdit->SetIncrement(IncrementEdit->text());
    const QString back = FEdit->Increment();
    if (back != IncrementEdit->text()) IncrementEdit->setText(back);
}

bool TMtxStepEditForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == IncrementEdit) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                // Enter applies the increment and moves on to OK; it does not close the dialog.
                if (gui::Guarded([this] { ApplyIncrement(); })) OKButton->setFocus(Qt::TabFocusReason);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && !FClosing) {
            // Leaving the edit within the dialog; not the dialog going away (Cancel has put the increment back).
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                gui::Guarded([this] { ApplyIncrement(); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TMtxStepEditForm::reject()
{
    FClosing = true;
    gui::Guarded([this] {
        if (!FEdit) return;
        FEdit->SetScientific(FKeptScientific);
        FEdit->SetReFormat(FKeptReFormat);
        FEdit->SetImFormat(FKeptImFormat);
        FEdit->SetAutoSelect(FKeptAutoSelect);
        FEdit->FIncrement = FKeptIncrement;
    });
    QDialog::reject();
}

void TMtxStepEditForm::done(int r)
{
    FClosing = true;
    QDialog::done(r);
    Closed();
    deleteLater();
}

void TMtxStepEditForm::Closed()
{
    if (FClosed) return;
    FClosed = true;
    if (FEdit) FEdit->FEditorActive = false;
}

}  // namespace tarnel
