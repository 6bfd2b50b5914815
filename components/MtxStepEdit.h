// The number edit's dialog "Edit number properties": its formats, Scientific, Auto select and the increment, each
// applied to the control as it changes. Cancel (also Escape and the window's close box) puts back the five values
// the dialog found; OK keeps what was applied. Closing frees the dialog and tells the control it is closed.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include "core/Dovi387.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tarnel {

class TMtxFloatEdit;

class TMtxStepEditForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 274;
    static constexpr int kClientHeight = 208;

    // A dialog over Edit, owned by Owner (a window of its own either way); Load fills it from the control.
    TMtxStepEditForm(TMtxFloatEdit* Edit, QWidget* Owner);
    ~TMtxStepEditForm() override;

    void Load();
    TMtxFloatEdit* Edit() const { return FEdit; }

    QLineEdit* RealPartEdit;
    QLineEdit* ImagPartEdit;
    QLineEdit* IncrementEdit;
    QCheckBox* ScientificCheck;
    QCheckBox* AutoSelectCheck;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    // Sets the control's increment from IncrementEdit and shows the text the control gives back.
    void ApplyIncrement();

    void done(int r) override;
    void reject() override;  // Cancel: restores the kept values

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Closed();

    QPointer<TMtxFloatEdit> FEdit;
    bool FLoading = false;
    bool FClosing = false;  // Cancel or OK has started: the increment edit's exit applies nothing
    bool FClosed = false;
    // The values found on loading, for Cancel.
    bool FKeptScientific = false;
    bool FKeptAutoSelect = true;
    QString FKeptReFormat;
    QString FKeptImFormat;
    TCplx FKeptIncrement = C_ZERO;  // the value itself: set again as text, IntegerIncrement would round it
};

}  // namespace tarnel
