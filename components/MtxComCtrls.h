// The number edit control and its buttons.
//
// TMtxFloatEdit is a one-line edit for a real or complex number with a pair of up/down buttons (TUDButton) at its
// right edge that step the value by an increment. It keeps optional lower and upper bounds, shows the value through
// format strings for the real and imaginary parts, opens a small dialog for its formats and increment on
// Ctrl+double-click (TMtxStepEditForm, components/MtxStepEdit.h), and can keep its value and formats in the settings
// store between runs. TTimerSpeedButton is the auto-repeating button of the pair.
//
// Every handler of user input runs guarded: an error (a text that makes no number, an increment that does not
// parse) ends the action and goes to the error box. Properties of the framework's edit that Qt's QLineEdit has
// (ReadOnly, MaxLength, Font, ...) are QLineEdit's own.
#pragma once

#include <QFlags>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QToolButton>
#include <QWidget>
#include <functional>

#include "core/Dovi387.h"

namespace tarnel {

class TMtxStepEditForm;

// The framework's beep, sounded where input is refused. Tests install a procedure that counts the beeps; an empty
// procedure restores the sound.
using TBeepProc = std::function<void()>;
void SetBeep(TBeepProc Proc);
void Beep();

// An event with the component that fired it.
using TControlEvent = std::function<void(QObject* Sender)>;

// ---- TTimerSpeedButton -------------------------------------------------------------------------------------------

enum TTimeBtnStateItem { tbFocusRect = 0x1, tbAllowTimer = 0x2 };
Q_DECLARE_FLAGS(TTimeBtnState, TTimeBtnStateItem)
Q_DECLARE_OPERATORS_FOR_FLAGS(TTimeBtnState)

// A small tool button. With tbAllowTimer it clicks when pressed and again while it is held: first after 400 ms, then
// every 100 ms (Qt's auto-repeat); the release adds no click. Without it, it clicks on release as any button. A
// click that raises ends the repeat (the button comes up) and its error is shown once. With tbFocusRect a focus
// rectangle is drawn inset by 3 pixels, shifted by 1 while the button is down.
class TTimerSpeedButton : public QToolButton {
    Q_OBJECT
public:
    static constexpr int kInitRepeatPause = 400;
    static constexpr int kRepeatPause = 100;

    explicit TTimerSpeedButton(QWidget* parent = nullptr);

    TTimeBtnState TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(TTimeBtnState Value);

    // Runs on each click; may raise.
    std::function<void()> OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DoClick(bool Repeating);
    TTimeBtnState FTimeBtnState;
};

// ---- TUDButton ---------------------------------------------------------------------------------------------------

// An up button above a down button, 20 × 25 at creation. Pressing either clicks it (OnUpClick or OnDownClick with the
// pair as Sender) and hands the keyboard focus to FocusControl. With TabStop the pair takes the focus itself, keeps a
// focus mark on one of its buttons and answers Space (click the marked button), Up and Down (mark that button and
// click it).
class TUDButton : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinWidth = 15;

    explicit TUDButton(QWidget* parent = nullptr);

    TTimerSpeedButton* UpButton() const { return FUpButton; }
    TTimerSpeedButton* DownButton() const { return FDownButton; }
    // The button that carries the focus mark (the up button at start).
    TTimerSpeedButton* FocusedButton() const { return FFocusedButton; }

    // Glyphs hold NumGlyphs images side by side (1 to 4: normal, disabled, down, exclusive); the first is shown and
    // the second, when there is one, while disabled. A null pixmap restores our default arrow as a single image.
    QPixmap UpGlyph() const { return FUpGlyph; }
    void SetUpGlyph(const QPixmap& Value);
    QPixmap DownGlyph() const { return FDownGlyph; }
    void SetDownGlyph(const QPixmap& Value);
    int UpNumGlyphs() const { return FUpNumGlyphs; }
    void SetUpNumGlyphs(int Value);
    int DownNumGlyphs() const { return FDownNumGlyphs; }
    void SetDownNumGlyphs(int Value);
    // Our default arrows.
    static QPixmap DefaultUpGlyph();
    static QPixmap DefaultDownGlyph();

    // The control that takes the keyboard focus when a button is pressed; cleared when that control goes.
    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* Value) { FFocusControl = Value; }
    // Default False: the pair does not take the focus.
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void SetTabStop(bool Value);

    TControlEvent OnUpClick;
    TControlEvent OnDownClick;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BtnClick(TTimerSpeedButton* Button);
    void BtnMouseDown(TTimerSpeedButton* Button);
    void SetFocusBtn(TTimerSpeedButton* Button);
    void AdjustBounds();
    void ApplyGlyph(TTimerSpeedButton* Button, const QPixmap& Glyph, int NumGlyphs);

    TTimerSpeedButton* FUpButton;
    TTimerSpeedButton* FDownButton;
    TTimerSpeedButton* FFocusedButton;
    QPointer<QWidget> FFocusControl;
    QPixmap FUpGlyph;
    QPixmap FDownGlyph;
    int FUpNumGlyphs = 1;
    int FDownNumGlyphs = 1;
};

// ---- TMtxFloatEdit -----------------------------------------------------------------------------------------------

// The number edit. A new control shows "0.00": value 0, no bounds (both 0), increment 0.1, the formats
// "0.00#;-0.00#" and "+0.00#i;-0.00#i".
//
// Setting a value clamps it and shows it; the control remembers the value as given. Bounds clamp each part on its
// own (a part not at least the minimum's, NaN included, becomes the minimum's; one above the maximum's the
// maximum's); equal bounds clamp nothing. Setting a bound sets the value again from the text, so the new bound
// applies part by part.
//
// With StoreInRegistry the settings live in the store's key RegistryPath + "\" + objectName: Loaded (called by
// whoever builds the control, after setting its properties) reads "Value", "Scientific", "ReFormat", "ImFormat" and
// "Increment", the destructor writes them. A stored value or increment that does not parse is ignored.
class TMtxFloatEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kButtonWidth = 15;

    explicit TMtxFloatEdit(QWidget* AOwner = nullptr);
    ~TMtxFloatEdit() override;  // writes the settings

    void Loaded();

    // ---- Published properties ----------------------------------------------------------------------------------
    // The edit text; setting reads the text as a complex number, a text that does not parse is ignored.
    QString Value() const { return text(); }
    void SetValue(const QString& S);
    // The real part of the text's value (raises on a text that makes no number); setting sets (x, 0).
    double Position() const;
    void SetPosition(double Value) { SetCplxValue(Cplx(Value, 0)); }
    // Position rounded to the nearest integer, ties to even.
    int IntPosition() const;
    void SetIntPosition(int Value) { SetPosition(Value); }
    // Texts as CplxToStr with 0 digits; the setters raise EConvertError on a text that does not parse.
    QString Increment() const;
    void SetIncrement(const QString& S);
    QString MaxValue() const;
    void SetMaxValue(const QString& S);
    QString MinValue() const;
    void SetMinValue(const QString& S);
    QString ReFormat() const { return FReFormat; }
    void SetReFormat(const QString& Value);
    QString ImFormat() const { return FImFormat; }
    void SetImFormat(const QString& Value);
    // Show the value as CplxToStr (v, 0) instead of the formats; takes effect with the next value set.
    bool Scientific() const { return FScientific; }
    void SetScientific(bool Value) { FScientific = Value; }
    // Round the parts of each increment set from now on to integers (ties to even).
    bool IntegerIncrement() const { return FIntegerIncrement; }
    void SetIntegerIncrement(bool Value) { FIntegerIncrement = Value; }
    // Cut and paste (keys, context menu, drops, middle-button paste) only while set and not ReadOnly.
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    bool StoreInRegistry() const { return FStoreInRegistry; }
    void SetStoreInRegistry(bool Value) { FStoreInRegistry = Value; }
    QString RegistryPath() const { return FRegistryPath; }
    void SetRegistryPath(const QString& Value) { FRegistryPath = Value; }
    // Select the whole text on entry (unless by a left-button press).
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void SetTabStop(bool Value) { setFocusPolicy(Value ? Qt::StrongFocus : Qt::NoFocus); }

    // ---- Value and steps ---------------------------------------------------------------------------------------
    TCplx CplxValue() const;  // StrToCplx of the text; raises on a text that makes no number
    void SetCplxValue(const TCplx& Value);
    // The value as last set, before clamping.
    TCplx RememberedValue() const { return FValue; }
    TCplx CplxIncrement() const { return FIncrement; }
    // Beep when ReadOnly; else the text's value plus (minus) the increment. Raise on a text that makes no number.
    void UpClick();
    void DownClick();

    // Opens the step editor. Raises "<objectName>: Editor is already active!" while one is open.
    void ShowStepEditor(bool Modal);
    bool EditorActive() const { return FEditorActive; }
    TMtxStepEditForm* StepEditor() const;  // the open dialog, or nullptr
    TUDButton* Button() const { return FButton; }
    // 4 border heights + the font height + min (font height, the application font's height) / 4 + 2.
    int MinHeight() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TMtxStepEditForm;
    bool CanCutPaste() const { return FEditorEnabled && !isReadOnly(); }
    TCplx Clamped(const TCplx& z) const;
    void SetBound(TCplx& Bound, const QString& S);
    void UpdateLayout();
    void ReadSettings();
    void WriteSettings();

    TUDButton* FButton;
    TCplx FValue = C_ZERO;
    TCplx FMinValue = C_ZERO;
    TCplx FMaxValue = C_ZERO;
    TCplx FIncrement = C_ZERO;
    QString FReFormat;
    QString FImFormat;
    QString FRegistryPath;
    bool FScientific = false;
    bool FIntegerIncrement = false;
    bool FEditorEnabled = true;
    bool FStoreInRegistry = false;
    bool FAutoSelect = true;
    bool FEditorActive = false;
    bool FCtrlDouble = false;  // the last left press was a Ctrl+double-click
    QPointer<TMtxStepEditForm> FStepEditor;
};

// Module start-up and shut-down: register and unregister TMtxFloatEdit with the class registry by name.
void MtxComCtrlsInitialize();
void MtxComCtrlsFinalize();

}  // namespace tarnel
