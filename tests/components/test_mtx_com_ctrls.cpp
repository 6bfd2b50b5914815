// The number edit: its texts for values and formats, bounds, steps and integer increments against
// gen_float_edit_golden.py; typed characters, cut and paste rules; the repeat buttons; its settings (read back by
// Python's configparser); the step editor; the class registration; and the control as painted.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>
#include <memory>

#include "ComponentTestSupport.h"
#include "components/MtxComCtrls.h"
#include "components/MtxStepEdit.h"
#include "platform/gui/ClassRegistry.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Settings.h"
#include "platform/rtl/NumText.h"

namespace golden {
struct FormatRow {
    const char* What;
    const char* Value;
    const char* ReFormat;
    const char* ImFormat;
    bool Scientific;
    const char* Text;
};
struct ClampRow {
    const char* What;
    const char* Value;
    const char* MinValue;
    const char* MaxValue;
    const char* TextOnLeaving;
    const char* TextAfterBounds;
};
struct StepRow {
    const char* What;
    const char* Start;
    const char* Increment;
    bool IntegerIncrement;
    int Direction;
    const char* IncrementBack;
    const char* Text;
};
#include "float_edit_golden.inc"
}  // namespace golden

using namespace tarnel;

namespace {

using comptest::TErrorBoxes;

struct TBeeps {
    int Count = 0;
    TBeeps()
    {
        SetBeep([this] { ++Count; });
    }
    ~TBeeps() { SetBeep(nullptr); }
};

// A window with the edit and a second edit to move the focus to, shown and active.
struct TWindow {
    QWidget Window;
    TMtxFloatEdit* Edit;
    QLineEdit* Other;
    TWindow()
    {
        auto* l = new QVBoxLayout(&Window);
        Edit = new TMtxFloatEdit(&Window);
        Edit->setObjectName("E1");
        Other = new QLineEdit(&Window);
        l->addWidget(Edit);
        l->addWidget(Other);
        Window.show();
        Window.activateWindow();
    }
    bool Ready() { return QTest::qWaitForWindowActive(&Window); }
    void Leave() { Other->setFocus(Qt::TabFocusReason); }
};

TMtxStepEditForm* OpenStepEditor()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<TMtxStepEditForm*>(w); f && f->isVisible()) return f;
    return nullptr;
}

// One data row per golden row, named by its What.
template <class Row, std::size_t N>
void AddRows(const Row (&rows)[N])
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(N); ++i) QTest::newRow(rows[i].What) << i;
}

}  // namespace

class TestMtxComCtrls : public QObject {
    Q_OBJECT

    QTemporaryDir FSettings;

private slots:
    void initTestCase() { gui::SetSettingsFolder(FSettings.path()); }
    void init() { QFile::remove(gui::SettingsFileName()); }

    // A new control: value 0 shown as "0.00", no bounds, increment 0.1, the default formats, 90 wide.
    void NewControl()
    {
        TMtxFloatEdit e;
        QCOMPARE(e.text(), QStringLiteral("0.00"));
        QCOMPARE(e.Value(), QStringLiteral("0.00"));
        QVERIFY(Equal(e.RememberedValue(), C_ZERO));
        QCOMPARE(e.MinValue(), QStringLiteral("0"));
        QCOMPARE(e.MaxValue(), QStringLiteral("0"));
        QCOMPARE(e.Increment(), QStringLiteral("0.1"));
        QCOMPARE(e.ReFormat(), QStringLiteral("0.00#;-0.00#"));
        QCOMPARE(e.ImFormat(), QStringLiteral("+0.00#i;-0.00#i"));
        QCOMPARE(e.Scientific(), false);
        QCOMPARE(e.IntegerIncrement(), false);
        QCOMPARE(e.EditorEnabled(), true);
        QCOMPARE(e.StoreInRegistry(), false);
        QCOMPARE(e.RegistryPath(), QStringLiteral("\\Software\\Brisolt\\Tarnel"));
        QCOMPARE(e.AutoSelect(), true);
        QCOMPARE(e.TabStop(), true);
        QCOMPARE(e.width(), 90);
        QVERIFY(e.height() >= e.MinHeight());
    }

    void TextsForValuesAndFormats_data() { AddRows(golden::kFormats); }
    void TextsForValuesAndFormats()
    {
        QFETCH(int, row);
        const golden::FormatRow& r = golden::kFormats[row];
        TMtxFloatEdit e;
        e.SetScientific(r.Scientific);
        e.SetReFormat(r.ReFormat);
        e.SetImFormat(r.ImFormat);
        e.SetValue(r.Value);
        QCOMPARE(e.text(), QString::fromLatin1(r.Text));
        e.SetValue(QStringLiteral("1-"));  // makes no number: ignored
        QCOMPARE(e.text(), QString::fromLatin1(r.Text));
    }

    // Formats redisplay the remembered (unclamped) value; Scientific takes effect with the next value set.
    void FormatsRedisplayTheRememberedValue()
    {
        TMtxFloatEdit e;
        e.SetMinValue("0");
        e.SetMaxValue("1");
        e.SetValue("2.5");
        QCOMPARE(e.text(), QStringLiteral("1.00"));
        e.SetReFormat("0.0");
        QCOMPARE(e.text(), QStringLiteral("1.0"));
        e.SetMaxValue("10");  // set again from the text: 1.0 stays
        QCOMPARE(e.text(), QStringLiteral("1.0"));
        e.SetScientific(true);
        QCOMPARE(e.text(), QStringLiteral("1.0"));
        e.SetPosition(1.0 / 3);
        QCOMPARE(e.text(), QStringLiteral("0.333333333333333"));
    }

    void ClampOnLeaving_data() { AddRows(golden::kClamps); }
    void ClampOnLeaving()
    {
        QFETCH(int, row);
        const golden::ClampRow& r = golden::kClamps[row];
        TErrorBoxes boxes;
        TWindow w;
        QVERIFY(w.Ready());
        w.Edit->SetMinValue(r.MinValue);
        w.Edit->SetMaxValue(r.MaxValue);
        w.Edit->setFocus(Qt::TabFocusReason);
        w.Edit->setText(r.Value);  // typed
        w.Leave();
        QCOMPARE(w.Edit->text(), QString::fromLatin1(r.TextOnLeaving));
        QVERIFY(boxes.Shown.isEmpty());

        // The bounds set after the text: each setter sets the value again from the text, part by part.
        TMtxFloatEdit e;
        e.SetValue(r.Value);
        e.SetMinValue(r.MinValue);
        e.SetMaxValue(r.MaxValue);
        QCOMPARE(e.text(), QString::fromLatin1(r.TextAfterBounds));
    }

    // Leaving an empty edit raises the conversion error into the error box; bound texts that make no number raise
    // and change nothing; a bound setter leaves a text that makes no number as it is.
    void BadTexts()
    {
        TErrorBoxes boxes;
        TWindow w;
        QVERIFY(w.Ready());
        w.Edit->setFocus(Qt::TabFocusReason);
        w.Edit->setText("");
        w.Leave();
        QCOMPARE(boxes.Shown, QStringList{QStringLiteral("\"\" is an invalid float")});
        QCOMPARE(w.Edit->text(), QString());

        TMtxFloatEdit e;
        QVERIFY_THROWS_EXCEPTION(EConvertError, e.SetMaxValue("ten"));
        QVERIFY_THROWS_EXCEPTION(EConvertError, e.SetMinValue(""));
        QVERIFY_THROWS_EXCEPTION(EConvertError, e.SetIncrement("x"));
        QCOMPARE(e.MaxValue(), QStringLiteral("0"));
        QCOMPARE(e.MinValue(), QStringLiteral("0"));
        QCOMPARE(e.Increment(), QStringLiteral("0.1"));
        e.setText("-");
        e.SetMaxValue("5");
        QCOMPARE(e.text(), QStringLiteral("-"));
        QCOMPARE(e.MaxValue(), QStringLiteral("5"));
        QVERIFY_THROWS_EXCEPTION(EConvertError, e.Position());
    }

    void Steps_data() { AddRows(golden::kSteps); }
    void Steps()
    {
        QFETCH(int, row);
        const golden::StepRow& r = golden::kSteps[row];
        TMtxFloatEdit e;
        e.SetIntegerIncrement(r.IntegerIncrement);
        e.SetIncrement(r.Increment);
        QCOMPARE(e.Increment(), QString::fromLatin1(r.IncrementBack));
        e.SetValue(r.Start);
        QTest::keyClick(&e, r.Direction > 0 ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(e.text(), QString::fromLatin1(r.Text));
        // The button pair steps the same way.
        e.SetValue(r.Start);
        auto* b = r.Direction > 0 ? e.Button()->UpButton() : e.Button()->DownButton();
        b->click();
        QCOMPARE(e.text(), QString::fromLatin1(r.Text));
    }

    // ReadOnly steps nothing and beeps; Up on a text that makes no number shows the conversion error once.
    void StepsRefused()
    {
        TBeeps beeps;
        TErrorBoxes boxes;
        TMtxFloatEdit e;
        e.SetValue("1");
        e.setReadOnly(true);
        QTest::keyClick(&e, Qt::Key_Up);
        e.Button()->DownButton()->click();
        QCOMPARE(beeps.Count, 2);
        QCOMPARE(e.text(), QStringLiteral("1.00"));
        e.setReadOnly(false);
        e.setText("-");
        QTest::keyClick(&e, Qt::Key_Up);
        QCOMPARE(boxes.Shown, QStringList{QStringLiteral("\"-\" is an invalid float")});
        QCOMPARE(e.text(), QStringLiteral("-"));
        QCOMPARE(beeps.Count, 2);
    }

    void Positions()
    {
        TMtxFloatEdit e;
        e.SetValue("1.5-2i");
        QCOMPARE(e.Position(), 1.5);
        e.SetPosition(2.5);
        QCOMPARE(e.IntPosition(), 2);  // ties to even
        e.SetPosition(3.5);
        QCOMPARE(e.IntPosition(), 4);
        e.SetIntPosition(-7);
        QCOMPARE(e.text(), QStringLiteral("-7.00"));
        QCOMPARE(e.Position(), -7.0);
    }

    // Typed characters: signs, digits, i and the decimal separator pass; other characters and Enter beep and change
    // nothing; control keys pass without a beep.
    void TypedCharacters_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("beeps");
        QTest::newRow("a number") << "-1.5+2i"
                                  << "-1.5+2i" << 0;
        QTest::newRow("a letter") << "a"
                                  << "" << 1;
        QTest::newRow("letters among digits") << "1x2e3"
                                              << "123" << 2;
        QTest::newRow("a blank and a comma") << "1 ,5"
                                             << "15" << 2;
    }
    void TypedCharacters()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, beeps);
        TBeeps b;
        TMtxFloatEdit e;
        e.clear();
        QTest::keyClicks(&e, typed);
        QCOMPARE(e.text(), text);
        QCOMPARE(b.Count, beeps);
    }

    void ControlKeysAndEnter()
    {
        TBeeps b;
        TMtxFloatEdit e;
        e.setText("12");
        e.setCursorPosition(2);
        QTest::keyClick(&e, Qt::Key_Backspace);
        QTest::keyClick(&e, Qt::Key_Home);
        QTest::keyClick(&e, Qt::Key_Delete);
        QCOMPARE(b.Count, 0);
        QCOMPARE(e.text(), QString());
        QTest::keyClick(&e, Qt::Key_Return);
        QCOMPARE(b.Count, 1);
    }

    // Cut and paste by keys, the context menu and drops follow EditorEnabled and ReadOnly.
    void CutAndPasteRules_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("enabled") << true << false;
        QTest::newRow("editor disabled") << false << false;
        QTest::newRow("read only") << true << true;
    }
    void CutAndPasteRules()
    {
        QFETCH(bool, enabled);
        QFETCH(bool, readOnly);
        const bool allowed = enabled && !readOnly;
        TMtxFloatEdit e;
        e.SetEditorEnabled(enabled);
        e.setReadOnly(readOnly);
        e.setText("123");
        QApplication::clipboard()->setText("9");
        e.selectAll();
        QTest::keyClick(&e, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(e.text(), allowed ? QString() : QStringLiteral("123"));
        if (allowed) QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("123"));
        QApplication::clipboard()->setText("9");
        e.setText("123");
        e.setCursorPosition(3);
        QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.text(), allowed ? QStringLiteral("1239") : QStringLiteral("123"));

        // The context menu: cut and paste enabled only when allowed.
        e.setText("123");
        e.selectAll();
        QHash<QString, bool> states;
        QTimer::singleShot(0, [&states] {
            if (auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* a : m->actions()) states[a->objectName()] = a->isEnabled();
                m->close();
            }
        });
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), e.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&e, &menu);
        QVERIFY(!states.isEmpty());
        QCOMPARE(states.value("edit-cut", false), allowed);  // a read-only edit's menu has no such entries
        QCOMPARE(states.value("edit-paste", false), allowed);

        // A drop is refused unless allowed.
        QMimeData data;
        data.setText("7");
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&e, &enter);
        QCOMPARE(enter.isAccepted(), allowed);
    }

    // Focus: AutoSelect selects all on tabbing in; leaving clamps only when the bounds change the value.
    void AutoSelectOnEntry()
    {
        TWindow w;
        QVERIFY(w.Ready());
        w.Edit->SetValue("3.25");
        w.Other->setFocus(Qt::TabFocusReason);
        w.Edit->setFocus(Qt::TabFocusReason);
        QCOMPARE(w.Edit->selectedText(), QStringLiteral("3.25"));
        w.Other->setFocus(Qt::TabFocusReason);
        w.Edit->SetAutoSelect(false);
        w.Edit->setFocus(Qt::TabFocusReason);
        QCOMPARE(w.Edit->selectedText(), QString());
    }

    // The repeat button: one step on the press, none on the release; held, it repeats (after 400 ms, then every
    // 100 ms). A step that raises brings the button up (ending the repeat) and shows its error once.
    void RepeatButton()
    {
        TErrorBoxes boxes;
        TMtxFloatEdit e;
        e.resize(120, e.height());
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        TTimerSpeedButton* up = e.Button()->UpButton();
        QCOMPARE(up->autoRepeatDelay(), 400);
        QCOMPARE(up->autoRepeatInterval(), 100);
        QVERIFY(up->TimeBtnState() & tbAllowTimer);
        e.SetValue("1");
        const QPoint mid = up->rect().center();
        QTest::mousePress(up, Qt::LeftButton, Qt::NoModifier, mid);
        QCOMPARE(e.text(), QStringLiteral("1.10"));
        QTest::mouseRelease(up, Qt::LeftButton, Qt::NoModifier, mid);
        QCOMPARE(e.text(), QStringLiteral("1.10"));

        QTest::mousePress(up, Qt::LeftButton, Qt::NoModifier, mid);
        QTRY_VERIFY(e.Position() >= 1.35);  // the repeats come
        QTest::mouseRelease(up, Qt::LeftButton, Qt::NoModifier, mid);
        QVERIFY(!up->isDown());

        e.setText("-");
        QTest::mousePress(up, Qt::LeftButton, Qt::NoModifier, mid);
        QCOMPARE(boxes.Shown, QStringList{QStringLiteral("\"-\" is an invalid float")});
        QVERIFY(!up->isDown());  // which stops the repeat
        QTest::mouseRelease(up, Qt::LeftButton, Qt::NoModifier, mid);
        QCOMPARE(boxes.Shown.size(), 1);

        // Without tbAllowTimer the button clicks on release, as any button.
        int clicks = 0;
        TTimerSpeedButton plain;
        plain.resize(20, 20);
        plain.OnClick = [&clicks] { ++clicks; };
        QTest::mousePress(&plain, Qt::LeftButton);
        QCOMPARE(clicks, 0);
        QTest::mouseRelease(&plain, Qt::LeftButton);
        QCOMPARE(clicks, 1);
    }

    // The pair: 20 × 25, buttons overlapping by a pixel, at least 15 wide; glyphs; FocusControl; keys with TabStop.
    void ButtonPair()
    {
        TUDButton p;
        QCOMPARE(p.size(), QSize(20, 25));
        p.show();  // bounds follow resizes of a shown control
        QCOMPARE(p.UpButton()->geometry(), QRect(0, 0, 20, 12));
        QCOMPARE(p.DownButton()->geometry(), QRect(0, 11, 20, 14));
        p.resize(8, 30);
        QCOMPARE(p.width(), 15);
        QCOMPARE(p.DownButton()->geometry(), QRect(0, 14, 15, 16));
        QCOMPARE(p.TabStop(), false);

        QPixmap two(18, 6);
        two.fill(Qt::red);
        p.SetUpNumGlyphs(2);
        p.SetUpGlyph(two);
        QCOMPARE(p.UpButton()->iconSize(), QSize(9, 6));
        p.SetUpGlyph(QPixmap());
        QCOMPARE(p.UpNumGlyphs(), 1);
        QCOMPARE(p.UpGlyph().toImage(), TUDButton::DefaultUpGlyph().toImage());
        QCOMPARE(p.UpButton()->iconSize(), QSize(7, 4));

        auto target = std::make_unique<QLineEdit>();
        p.SetFocusControl(target.get());
        QCOMPARE(p.FocusControl(), target.get());
        target.reset();
        QCOMPARE(p.FocusControl(), nullptr);

        QStringList clicks;
        p.OnUpClick = [&clicks, &p](QObject* s) { clicks << (s == &p ? "up" : "?"); };
        p.OnDownClick = [&clicks, &p](QObject* s) { clicks << (s == &p ? "down" : "?"); };
        p.SetTabStop(true);
        p.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&p));
        p.setFocus(Qt::TabFocusReason);
        QVERIFY(p.FocusedButton() == p.UpButton() && (p.UpButton()->TimeBtnState() & tbFocusRect));
        QTest::keyClick(&p, Qt::Key_Space);
        QTest::keyClick(&p, Qt::Key_Down);
        QVERIFY(p.FocusedButton() == p.DownButton());
        QVERIFY(p.DownButton()->TimeBtnState() & tbFocusRect);
        QVERIFY(!(p.UpButton()->TimeBtnState() & tbFocusRect));
        QTest::keyClick(&p, Qt::Key_Space);
        QCOMPARE(clicks, (QStringList{"up", "down", "down"}));
    }

    // Pressing a button of the edit's pair gives the edit the focus.
    void ButtonGivesTheEditFocus()
    {
        TWindow w;
        QVERIFY(w.Ready());
        w.Other->setFocus(Qt::TabFocusReason);
        w.Edit->SetValue("1");
        QTest::mouseClick(w.Edit->Button()->DownButton(), Qt::LeftButton);
        QVERIFY(w.Edit->hasFocus());
        QCOMPARE(w.Edit->text(), QStringLiteral("0.90"));
    }

    // The pair sits at the right inside the frame, the text stops before it; the height is raised to the minimum.
    void Layout()
    {
        TMtxFloatEdit e;
        e.show();
        e.resize(150, 10);
        QCOMPARE(e.height(), e.MinHeight());
        TUDButton* b = e.Button();
        QCOMPARE(b->width(), TMtxFloatEdit::kButtonWidth);
        QVERIFY(b->geometry().right() < e.width());
        QVERIFY(b->geometry().right() >= e.width() - 4);
        QCOMPARE(e.textMargins().right(), TMtxFloatEdit::kButtonWidth + 2);
        QFont big = e.font();
        big.setPointSize(big.pointSize() * 3);
        e.setFont(big);
        QVERIFY(e.height() >= e.MinHeight());
        QVERIFY(e.MinHeight() > QFontMetrics(big).height());
    }

    // "E1" keeps its settings: written when it goes, read back by configparser, restored by Loaded. A stored value
    // or increment that does not parse is ignored; without StoreInRegistry nothing is read or written.
    void SettingsOfE1()
    {
        {
            TMtxFloatEdit e;
            e.setObjectName("E1");
            e.SetStoreInRegistry(true);
            e.Loaded();
            e.SetValue("1.5-2.25i");
            e.SetReFormat("0.000;-0.000");
            e.SetImFormat("+0.000i;-0.000i");
            e.SetIncrement("0.5+0.25i");
            e.SetScientific(true);
        }
        const std::string check =
            comptest::RunPythonCheck("check_float_edit_settings.py", gui::SettingsFileName().toStdString());
        QVERIFY2(check.empty(), check.c_str());
        {
            TMtxFloatEdit e;
            e.setObjectName("E1");
            e.SetStoreInRegistry(true);
            e.Loaded();
            QCOMPARE(e.text(), QStringLiteral("1.5-2.25i"));
            QCOMPARE(e.ReFormat(), QStringLiteral("0.000;-0.000"));
            QCOMPARE(e.ImFormat(), QStringLiteral("+0.000i;-0.000i"));
            QCOMPARE(e.Increment(), QStringLiteral("0.5+0.25i"));
            QCOMPARE(e.Scientific(), true);
        }
        {
            gui::TRegistry reg;
            QVERIFY(reg.OpenKey("\\Software\\Brisolt\\Tarnel\\E1", true));
            reg.WriteString("Increment", "0,5x");
            reg.WriteString("Value", "abc");
        }
        {
            TMtxFloatEdit e;
            e.setObjectName("E1");
            e.SetStoreInRegistry(true);
            e.Loaded();  // no error
            QCOMPARE(e.Increment(), QStringLiteral("0.1"));
            QCOMPARE(e.text(), QStringLiteral("0"));  // the value 0, shown by the stored scientific setting
            e.SetStoreInRegistry(false);
        }
        {
            TMtxFloatEdit e;
            e.setObjectName("E2");
            e.Loaded();
        }
        QVERIFY(!gui::TRegistry().KeyExists("\\Software\\Brisolt\\Tarnel\\E2"));
    }

    // The step editor: loaded from the control, changes applied at once, a second one refused, Cancel restores the
    // five values, closing frees it.
    void StepEditor()
    {
        TErrorBoxes boxes;
        TMtxFloatEdit e;
        e.setObjectName("E1");
        e.SetIntegerIncrement(true);
        e.SetValue("1.25");
        e.ShowStepEditor(false);
        QVERIFY(e.EditorActive());
        QPointer<TMtxStepEditForm> f = e.StepEditor();
        QVERIFY(f && f->isVisible());
        QCOMPARE(f->windowTitle(), QStringLiteral("Edit number properties"));
        if (const QString dir = qEnvironmentVariable("TARNEL_SHOT_DIR"); !dir.isEmpty()) {
            QVERIFY(QTest::qWaitForWindowExposed(f));
            QVERIFY(f->grab().save(QDir(dir).filePath("step_editor.png")));  // to be looked at
        }
        QVERIFY(f->width() >= TMtxStepEditForm::kClientWidth && f->height() >= TMtxStepEditForm::kClientHeight);
        QCOMPARE(f->RealPartEdit->text(), e.ReFormat());
        QCOMPARE(f->ImagPartEdit->text(), e.ImFormat());
        QCOMPARE(f->IncrementEdit->text(), QStringLiteral("0.1"));
        QCOMPARE(f->ScientificCheck->isChecked(), false);
        QCOMPARE(f->AutoSelectCheck->isChecked(), true);
        QVERIFY_THROWS_EXCEPTION(Exception, e.ShowStepEditor(false));
        try {
            e.ShowStepEditor(true);
        } catch (const Exception& x) {
            QCOMPARE(QString::fromUtf8(x.what()), QStringLiteral("E1: Editor is already active!"));
        }

        f->RealPartEdit->setText("0.0");
        QCOMPARE(e.ReFormat(), QStringLiteral("0.0"));
        QCOMPARE(e.text(), QStringLiteral("1.3"));
        f->ScientificCheck->click();
        QVERIFY(e.Scientific());
        QVERIFY(!f->RealPartEdit->isEnabled() && !f->ImagPartEdit->isEnabled());
        f->AutoSelectCheck->click();
        QVERIFY(!e.AutoSelect());
        f->IncrementEdit->setText("1.6");
        f->IncrementEdit->setFocus();
        QTest::keyClick(f->IncrementEdit, Qt::Key_Return);
        QCOMPARE(e.Increment(), QStringLiteral("2"));
        QCOMPARE(f->IncrementEdit->text(), QStringLiteral("2"));  // the control's text given back
        QVERIFY(f->isVisible());                                  // Enter moves on, it does not close
        f->IncrementEdit->setText("x");
        QTest::keyClick(f->IncrementEdit, Qt::Key_Return);
        QCOMPARE(boxes.Shown, QStringList{QStringLiteral("\"x\" is an invalid float")});
        QCOMPARE(e.Increment(), QStringLiteral("2"));

        f->CancelButton->click();
        QCOMPARE(e.ReFormat(), QStringLiteral("0.00#;-0.00#"));
        QCOMPARE(e.ImFormat(), QStringLiteral("+0.00#i;-0.00#i"));
        QVERIFY(!e.Scientific());
        QVERIFY(e.AutoSelect());
        QCOMPARE(e.Increment(), QStringLiteral("0.1"));
        QCOMPARE(e.text(), QStringLiteral("1.25"));
        QVERIFY(!e.EditorActive());
        QTRY_VERIFY(f.isNull());

        // OK keeps what was applied.
        e.ShowStepEditor(false);
        f = e.StepEditor();
        f->ImagPartEdit->setText("+0.0i;-0.0i");
        f->OKButton->click();
        QCOMPARE(e.ImFormat(), QStringLiteral("+0.0i;-0.0i"));
        QVERIFY(!e.EditorActive());
        QTRY_VERIFY(f.isNull());
    }

    // Ctrl+double-click opens the editor modally; a plain double click does not.
    void CtrlDoubleClickOpensTheEditor()
    {
        TMtxFloatEdit e;
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        int opened = 0;
        auto closeIt = [&opened] {
            if (TMtxStepEditForm* f = OpenStepEditor()) {
                ++opened;
                QVERIFY(f->isModal());
                f->OKButton->click();
            }
        };
        QTimer::singleShot(0, closeIt);
        QTest::mouseDClick(&e, Qt::LeftButton, Qt::ControlModifier, QPoint(10, 5));
        QTest::mouseRelease(&e, Qt::LeftButton, Qt::ControlModifier, QPoint(10, 5));  // mouseDClick ends pressed
        QCOMPARE(opened, 1);
        QVERIFY(!e.EditorActive());
        QTest::mouseDClick(&e, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
        QTest::mouseRelease(&e, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
        QTest::qWait(0);
        QVERIFY(!OpenStepEditor());
    }

    void RegisteredByName()
    {
        MtxComCtrlsInitialize();
        const gui::TRegisteredClass* c = gui::GetClass("TMtxFloatEdit");
        QVERIFY(c);
        std::unique_ptr<QWidget> w(c->Create(nullptr));
        QVERIFY(qobject_cast<TMtxFloatEdit*>(w.get()));
        MtxComCtrlsFinalize();
        QVERIFY(!gui::GetClass("TMtxFloatEdit"));
    }

    // The control as painted: text at the left, the two arrows at the right. With TARNEL_SHOT_DIR set the picture
    // is also written there (float_edit.png), to be looked at.
    void EditPaints()
    {
        QWidget w;
        w.setAutoFillBackground(true);
        auto* l = new QVBoxLayout(&w);
        auto* e = new TMtxFloatEdit(&w);
        auto* e2 = new TMtxFloatEdit(&w);
        e->SetValue("1.5-2.25i");
        e->setMinimumWidth(140);
        e2->SetValue("-3.14159");
        l->addWidget(e);
        l->addWidget(e2);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QImage shot = w.grab().toImage();
        if (const QString dir = qEnvironmentVariable("TARNEL_SHOT_DIR"); !dir.isEmpty())
            QVERIFY(shot.save(QDir(dir).filePath("float_edit.png")));
        auto dark = [&shot](QRect r) {
            int n = 0;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) n += qGray(shot.pixel(x, y)) < 100;
            return n;
        };
        const QRect up = e->Button()->UpButton()->geometry().translated(e->Button()->pos() + e->pos());
        const QRect down = e->Button()->DownButton()->geometry().translated(e->Button()->pos() + e->pos());
        QVERIFY(dark(up.adjusted(2, 2, -2, -2)) >= 10);  // an arrow of 16 pixels
        QVERIFY(dark(down.adjusted(2, 2, -2, -2)) >= 10);
        // The second edit's text (the first one, focused, shows its text selected).
        const QRect text(e2->pos().x() + 2, e2->pos().y() + 2, up.left() - e2->pos().x() - 4, e2->height() - 4);
        QVERIFY(dark(text) > 30);
    }
};

QTEST_MAIN(TestMtxComCtrls)
#include "test_mtx_com_ctrls.moc"
