#include "components/MtxComCtrls.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStyleOptionFrame>
#include <QStylePainter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "components/MtxStepEdit.h"
#include "platform/gui/ClassRegistry.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Settings.h"
#include "platform/rtl/NumText.h"

namespace tarnel {

namespace {

constexpr const char* kEditorActive = ": Editor is already active!";
constexpr const char* kClassName = "TMtxFloatEdit";
// The height of a thin border line, the unit of the edit's minimum height.
constexpr int kBorderHeight = 1;

TBeepProc& BeepStore()
{
    static TBeepProc proc;
    return proc;
}

bool CanFocus(const QWidget* w)
{
    return w && w->isEnabled() && w->isVisible() && w->focusPolicy() != Qt::NoFocus;
}

// A black arrow of 7 × 4 pixels on a transparent ground, its point up or down.
QPixmap Arrow(bool Up)
{
    QImage img(7, 4, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int row = 0; row < 4; ++row) {
        const int y = Up ? row : 3 - row;
        for (int x = 3 - row; x <= 3 + row; ++x) img.setPixel(x, y, qRgb(0, 0, 0));
    }
    return QPixmap::fromImage(img);
}

std::string Std(const QString& s)
{
    return s.toStdString();
}

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

}  // namespace

void SetBeep(TBeepProc Proc)
{
    BeepStore() = std::move(Proc);
}

void Beep()
{
    if (BeepStore())
        BeepStore()();
    else
        QApplication::beep();
}

// ---- TTimerSpeedButton -------------------------------------------------------------------------------------------

TTimerSpeedButton::TTimerSpeedButton(QWidget* parent) : QToolButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoRepeatDelay(kInitRepeatPause);
    setAutoRepeatInterval(kRepeatPause);
    // Qt's auto-repeat gives pressed once on the press and once per repeat (each repeat also signals a release and
    // a click): a repeating button steps on pressed alone, so the final release adds nothing.
    connect(this, &QAbstractButton::pressed, this, [this] {
        if (FTimeBtnState & tbAllowTimer) DoClick(true);
    });
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (!(FTimeBtnState & tbAllowTimer)) DoClick(false);
    });
}

void TTimerSpeedButton::SetTimeBtnState(TTimeBtnState Value)
{
    if (Value == FTimeBtnState) return;
    FTimeBtnState = Value;
    setAutoRepeat(Value & tbAllowTimer);
    update();
}

void TTimerSpeedButton::DoClick(bool Repeating)
{
    try {
        if (OnClick) OnClick();
    } catch (...) {
        // The button comes up first, which stops the repeat: the error box must not be followed by more clicks.
        if (Repeating) setDown(false);
        gui::HandleCurrentException();
    }
}

void TTimerSpeedButton::paintEvent(QPaintEvent* event)
{
    QToolButton::paintEvent(event);
    if (!(FTimeBtnState & tbFocusRect)) return;
    QStylePainter p(this);
    QStyleOptionFocusRect o;
    o.initFrom(this);
    o.rect = rect().adjusted(3, 3, -3, -3);
    if (isDown()) o.rect.translate(1, 1);
    p.drawPrimitive(QStyle::PE_FrameFocusRect, o);
}

// ---- TUDButton ---------------------------------------------------------------------------------------------------

TUDButton::TUDButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    setCursor(Qt::ArrowCursor);  // not the text cursor of an edit it sits in
    setMinimumWidth(kMinWidth);
    FUpButton = new TTimerSpeedButton(this);
    FDownButton = new TTimerSpeedButton(this);
    for (TTimerSpeedButton* b : {FUpButton, FDownButton}) {
        b->SetTimeBtnState(tbAllowTimer);
        b->OnClick = [this, b] { BtnClick(b); };
        b->installEventFilter(this);
    }
    FFocusedButton = FUpButton;
    SetUpGlyph(QPixmap());
    SetDownGlyph(QPixmap());
    resize(20, 25);
    AdjustBounds();
}

QPixmap TUDButton::DefaultUpGlyph()
{
    return Arrow(true);
}

QPixmap TUDButton::DefaultDownGlyph()
{
    return Arrow(false);
}

void TUDButton::ApplyGlyph(TTimerSpeedButton* Button, const QPixmap& Glyph, int NumGlyphs)
{
    const int n = std::clamp(NumGlyphs, 1, 4);
    const int w = std::max(Glyph.width() / n, 1);
    QIcon icon;
    icon.addPixmap(Glyph.copy(0, 0, w, Glyph.height()), QIcon::Normal);
    if (n >= 2) icon.addPixmap(Glyph.copy(w, 0, w, Glyph.height()), QIcon::Disabled);
    Button->setIcon(icon);
    Button->setIconSize(QSize(w, Glyph.height()));
}

void TUDButton::SetUpGlyph(const QPixmap& Value)
{
    FUpGlyph = Value.isNull() ? DefaultUpGlyph() : Value;
    if (Value.isNull()) FUpNumGlyphs = 1;
    ApplyGlyph(FUpButton, FUpGlyph, FUpNumGlyphs);
}

void TUDButton::SetDownGlyph(const QPixmap& Value)
{
    FDownGlyph = Value.isNull() ? DefaultDownGlyph() : Value;
    if (Value.isNull()) FDownNumGlyphs = 1;
    ApplyGlyph(FDownButton, FDownGlyph, FDownNumGlyphs);
}

void TUDButton::SetUpNumGlyphs(int Value)
{
    FUpNumGlyphs = std::clamp(Value, 1, 4);
    ApplyGlyph(FUpButton, FUpGlyph, FUpNumGlyphs);
}

void TUDButton::SetDownNumGlyphs(int Value)
{
    FDownNumGlyphs = std::clamp(Value, 1, 4);
    ApplyGlyph(FDownButton, FDownGlyph, FDownNumGlyphs);
}

void TUDButton::SetTabStop(bool Value)
{
    setFocusPolicy(Value ? Qt::StrongFocus : Qt::NoFocus);
}

void TUDButton::BtnClick(TTimerSpeedButton* Button)
{
    const TControlEvent& handler = Button == FUpButton ? OnUpClick : OnDownClick;
    if (handler) handler(this);
}

bool TUDButton::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == FUpButton || watched == FDownButton) BtnMouseDown(static_cast<TTimerSpeedButton*>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

void TUDButton::BtnMouseDown(TTimerSpeedButton* Button)
{
    SetFocusBtn(Button);
    QWidget* fc = FFocusControl;
    if (fc && CanFocus(fc) && !fc->hasFocus())
        fc->setFocus(Qt::OtherFocusReason);  // no press of its own: an edit selects its text as on entry by keys
    else if (TabStop() && !hasFocus() && CanFocus(this))
        setFocus(Qt::MouseFocusReason);
}

void TUDButton::SetFocusBtn(TTimerSpeedButton* Button)
{
    if (!TabStop() || !CanFocus(this) || Button == FFocusedButton) return;
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() & ~TTimeBtnState(tbFocusRect));
    FFocusedButton = Button;
    if (hasFocus()) FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() | tbFocusRect);
}

void TUDButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_Up:
            SetFocusBtn(FUpButton);
            FUpButton->click();
            break;
        case Qt::Key_Down:
            SetFocusBtn(FDownButton);
            FDownButton->click();
            break;
        case Qt::Key_Space:
            FFocusedButton->click();
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void TUDButton::focusInEvent(QFocusEvent* event)
{
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() | tbFocusRect);
    QWidget::focusInEvent(event);
}

void TUDButton::focusOutEvent(QFocusEvent* event)
{
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() & ~TTimeBtnState(tbFocusRect));
    QWidget::focusOutEvent(event);
}

void TUDButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    AdjustBounds();
}

void TUDButton::AdjustBounds()
{
    // The two buttons overlap by one pixel, so their borders make one line.
    const int w = std::max(width(), kMinWidth);
    const int h = height();
    FUpButton->setGeometry(0, 0, w, h / 2);
    FDownButton->setGeometry(0, FUpButton->height() - 1, w, h - FUpButton->height() + 1);
}

// ---- TMtxFloatEdit -----------------------------------------------------------------------------------------------

TMtxFloatEdit::TMtxFloatEdit(QWidget* AOwner) : QLineEdit(AOwner)
{
    FButton = new TUDButton(this);
    FButton->resize(kButtonWidth, 17);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](QObject*) { UpClick(); };
    FButton->OnDownClick = [this](QObject*) { DownClick(); };
    FReFormat = QStringLiteral("0.00#;-0.00#");
    FImFormat = QStringLiteral("+0.00#i;-0.00#i");
    // Both bounds zero (no bounds) and the value zero: what setting 1+1i and then the bounds to zero leaves.
    SetCplxValue(C_ZERO);
    FIncrement = Cplx(0.1, 0);
    FRegistryPath = QString::fromLatin1(MtxRegistryKey);
    resize(90, std::max(sizeHint().height(), MinHeight()));
    UpdateLayout();
}

TMtxFloatEdit::~TMtxFloatEdit()
{
    // An open dialog goes first, while this control is whole.
    delete FStepEditor.data();
    gui::Guarded([this] { WriteSettings(); });
}

void TMtxFloatEdit::Loaded()
{
    ReadSettings();
}

// ---- Value -------------------------------------------------------------------------------------------------------

TCplx TMtxFloatEdit::CplxValue() const
{
    return StrToCplx(Std(text()));
}

TCplx TMtxFloatEdit::Clamped(const TCplx& z) const
{
    if (Equal(FMinValue, FMaxValue)) return z;
    auto part = [](double x, double lo, double hi) {
        if (!(x >= lo)) x = lo;  // NaN too
        if (x > hi) x = hi;
        return x;
    };
    return Cplx(part(z.Re, FMinValue.Re, FMaxValue.Re), part(z.Im, FMinValue.Im, FMaxValue.Im));
}

void TMtxFloatEdit::SetCplxValue(const TCplx& Value)
{
    FValue = Value;
    const TCplx z = Clamped(Value);
    setText(Q(FScientific ? CplxToStr(z, 0) : FormatCplx(z, Std(FReFormat), Std(FImFormat))));
}

void TMtxFloatEdit::SetValue(const QString& S)
{
    TCplx z;
    try {
        z = StrToCplx(Std(S));
    } catch (const EConvertError&) {
        return;  // a text that makes no number is ignored
    }
    SetCplxValue(z);
}

double TMtxFloatEdit::Position() const
{
    return CplxValue().Re;
}

int TMtxFloatEdit::IntPosition() const
{
    return Trunc(std::nearbyint(Position()));
}

QString TMtxFloatEdit::Increment() const
{
    return Q(CplxToStr(FIncrement, 0));
}

void TMtxFloatEdit::SetIncrement(const QString& S)
{
    TCplx z = StrToCplx(Std(S));
    if (FIntegerIncrement) z = CRound(z);
    FIncrement = z;
}

QString TMtxFloatEdit::MaxValue() const
{
    return Q(CplxToStr(FMaxValue, 0));
}

QString TMtxFloatEdit::MinValue() const
{
    return Q(CplxToStr(FMinValue, 0));
}

void TMtxFloatEdit::SetMaxValue(const QString& S)
{
    SetBound(FMaxValue, S);
}

void TMtxFloatEdit::SetMinValue(const QString& S)
{
    SetBound(FMinValue, S);
}

void TMtxFloatEdit::SetBound(TCplx& Bound, const QString& S)
{
    Bound = StrToCplx(Std(S));
    // The value is set again from the text, so the new bound clamps part by part. (Pulling it in with the complex
    // Min or Max, which compare by magnitude, would move -8 within [-10, 5] to 5.) A text that makes no number is
    // left to the user.
    TCplx z;
    try {
        z = CplxValue();
    } catch (const EConvertError&) {
        return;
    }
    SetCplxValue(z);
}

void TMtxFloatEdit::SetReFormat(const QString& Value)
{
    FReFormat = Value;
    SetCplxValue(FValue);
}

void TMtxFloatEdit::SetImFormat(const QString& Value)
{
    FImFormat = Value;
    SetCplxValue(FValue);
}

void TMtxFloatEdit::UpClick()
{
    if (isReadOnly()) return Beep();
    SetCplxValue(CAdd(CplxValue(), FIncrement));
}

void TMtxFloatEdit::DownClick()
{
    if (isReadOnly()) return Beep();
    SetCplxValue(CSub(CplxValue(), FIncrement));
}

// ---- Step editor -------------------------------------------------------------------------------------------------

TMtxStepEditForm* TMtxFloatEdit::StepEditor() const
{
    return FStepEditor.data();
}

void TMtxFloatEdit::ShowStepEditor(bool Modal)
{
    if (FEditorActive) throw Exception(Std(objectName()) + kEditorActive);
    auto* form = new TMtxStepEditForm(this, this);
    FStepEditor = form;
    form->Load();
    FEditorActive = true;
    if (Modal)
        form->exec();
    else
        form->show();
}

// ---- Keys, focus, mouse ------------------------------------------------------------------------------------------

void TMtxFloatEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        gui::Guarded([&] { key == Qt::Key_Up ? UpClick() : DownClick(); });
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste)) {
        if (CanCutPaste())
            QLineEdit::keyPressEvent(event);
        else
            event->accept();
        return;
    }
    // Typed characters: signs, digits, the letter i, the decimal separator and control characters other than
    // Enter. Keys with Ctrl are shortcuts, as the framework saw them (control characters).
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        Beep();
        QLineEdit::keyPressEvent(event);  // inserts nothing; a dialog's default button still hears it
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        const QChar sep = QLatin1Char(DecimalSeparator());
        const bool ok = std::all_of(typed.begin(), typed.end(), [sep](QChar c) {
            return c == '+' || c == '-' || (c >= '0' && c <= '9') || c == 'i' || c == sep || !c.isPrint();
        });
        if (!ok) {
            Beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TMtxFloatEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // A press on the edit itself places the cursor; entry by keys or from the button pair selects.
    if (FAutoSelect && event->reason() != Qt::MouseFocusReason) {
        selectAll();
    } else if (!FAutoSelect && (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)) {
        deselect();  // Qt selects on tabbing in by itself
    }
}

void TMtxFloatEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Another window taking over, or a menu opening, is no exit from the control.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
    gui::Guarded([this] {
        const TCplx z = CplxValue();
        if (!Equal(Clamped(z), z)) SetCplxValue(z);
    });
}

void TMtxFloatEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    FCtrlDouble = event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier);
    QLineEdit::mouseDoubleClickEvent(event);
}

void TMtxFloatEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && FCtrlDouble) {
        FCtrlDouble = false;
        event->accept();
        gui::Guarded([this] { ShowStepEditor(true); });
        return;
    }
    if (event->button() == Qt::MiddleButton && !CanCutPaste()) {  // the selection's paste
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TMtxFloatEdit::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    // Qt's entries are known by their captions (a read-only edit has neither).
    for (QAction* a : menu->actions()) {
        const bool cut = a->text().startsWith(QLineEdit::tr("Cu&t"));
        if (!cut && !a->text().startsWith(QLineEdit::tr("&Paste"))) continue;
        a->setObjectName(cut ? QStringLiteral("edit-cut") : QStringLiteral("edit-paste"));
        if (!CanCutPaste()) a->setEnabled(false);
    }
    menu->exec(event->globalPos());
}

void TMtxFloatEdit::dragEnterEvent(QDragEnterEvent* event)
{
    if (CanCutPaste())
        QLineEdit::dragEnterEvent(event);
    else
        event->ignore();
}

void TMtxFloatEdit::dragMoveEvent(QDragMoveEvent* event)
{
    if (CanCutPaste())
        QLineEdit::dragMoveEvent(event);
    else
        event->ignore();
}

void TMtxFloatEdit::dropEvent(QDropEvent* event)
{
    if (CanCutPaste())
        QLineEdit::dropEvent(event);
    else
        event->ignore();
}

// ---- Layout ------------------------------------------------------------------------------------------------------

int TMtxFloatEdit::MinHeight() const
{
    const int fh = fontMetrics().height();
    const int sh = QFontMetrics(QApplication::font()).height();
    return 4 * kBorderHeight + fh + std::min(fh, sh) / 4 + 2;
}

void TMtxFloatEdit::UpdateLayout()
{
    const int minH = MinHeight();
    if (minimumHeight() != minH) setMinimumHeight(minH);
    if (height() < minH) resize(width(), minH);  // a visible control comes back here at once
    // The pair sits inside the frame at the right; the text stops 2 pixels before it.
    QStyleOptionFrame opt;
    initStyleOption(&opt);
    const int f = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, this);
    const int bw = FButton->width();
    FButton->setGeometry(width() - f - bw, f, bw, height() - 2 * f);
    setTextMargins(0, 0, bw + 2, 0);
}

void TMtxFloatEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    UpdateLayout();
}

void TMtxFloatEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) UpdateLayout();
}

// ---- Settings ----------------------------------------------------------------------------------------------------

void TMtxFloatEdit::ReadSettings()
{
    if (!FStoreInRegistry || FRegistryPath.isEmpty()) return;
    gui::TRegistry reg;
    if (!reg.OpenKeyReadOnly(FRegistryPath + '\\' + objectName())) return;  // nothing stored yet
    auto read = [&reg](const char* name, const QString& current) {
        const QString n = QString::fromLatin1(name);
        return reg.ValueExists(n) ? reg.ReadString(n) : current;
    };
    SetValue(read("Value", Value()));
    FScientific = reg.ReadBool(QStringLiteral("Scientific"), FScientific);
    SetReFormat(read("ReFormat", FReFormat));
    SetImFormat(read("ImFormat", FImFormat));
    // An increment that does not parse (edited by hand, or from another locale) is ignored as the value is:
    // raising here would fail every later creation of the control.
    try {
        SetIncrement(read("Increment", Increment()));
    } catch (const EConvertError&) {
    }
}

void TMtxFloatEdit::WriteSettings()
{
    if (!FStoreInRegistry || FRegistryPath.isEmpty()) return;
    gui::TRegistry reg;
    if (!reg.OpenKey(FRegistryPath + '\\' + objectName(), true)) return;
    reg.WriteString(QStringLiteral("Value"), Q(CplxToStr(FValue, 0)));
    reg.WriteBool(QStringLiteral("Scientific"), FScientific);
    reg.WriteString(QStringLiteral("ReFormat"), FReFormat);
    reg.WriteString(QStringLiteral("ImFormat"), FImFormat);
    reg.WriteString(QStringLiteral("Increment"), Increment());
}

// ---- Module ------------------------------------------------------------------------------------------------------

void MtxComCtrlsInitialize()
{
    gui::RegisterClass(QString::fromLatin1(kClassName), [](QWidget* owner) { return new TMtxFloatEdit(owner); });
}

void MtxComCtrlsFinalize()
{
    gui::UnRegisterClass(QString::fromLatin1(kClassName));
}

}  // namespace tarnel
