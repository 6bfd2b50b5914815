// The visual framework layer: the event guard, the class registry, the RTF reader, the settings store, help by
// context number and the chart's zoom switch.
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <cstring>
#include <stdexcept>

#include "platform/gui/Chart.h"
#include "platform/gui/ClassRegistry.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Help.h"
#include "platform/gui/RtfReader.h"
#include "platform/gui/Settings.h"
#include "platform/rtl/SysUtils.h"

using namespace tarnel;
using namespace tarnel::gui;

namespace {

// Records the error boxes shown while it lives.
struct TErrorBoxes {
    QStringList Shown;
    TErrorBoxes()
    {
        SetErrorBox([this](const QString& m) { Shown << m; });
    }
    ~TErrorBoxes() { SetErrorBox(nullptr); }
};

// The character format at a text position of the document (the format of the character after it).
QTextCharFormat FormatAt(QTextDocument& doc, int pos)
{
    QTextCursor c(&doc);
    c.setPosition(pos + 1);
    return c.charFormat();
}

QString Rtf(const char* body)
{
    return QString::fromLatin1(
               "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
               "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}") +
           QString::fromLatin1(body) + QLatin1Char('}');
}

QString ReadText(const QByteArray& rtf, QTextDocument& doc)
{
    ReadRtf(rtf, doc);
    return doc.toPlainText();
}

}  // namespace

class TestGui : public QObject {
    Q_OBJECT
private slots:
    // ---- the event guard
    void guardShowsMessageOfEscapingException_data();
    void guardShowsMessageOfEscapingException();
    void guardDropsAbortSilently();
    void guardedSlotKeepsTheProgramRunning();
    void flatButtonRunsItsReplaceableHandler();

    // ---- the class registry
    void registryFindsRegisteredClassAndRegistersOnce();
    void registryRaisesClassNotFound();

    // ---- the RTF reader
    void rtfText_data();
    void rtfText();
    void rtfCharacterFormats();
    void rtfParagraphFormats();
    void rtfHangingIndentTabsToTheLeftIndent();
    void rtfMalformedInputGivesWhatCanBeRead_data();
    void rtfMalformedInputGivesWhatCanBeRead();
    void rtfManyFormatChangesInOneParagraph();
    void richEditRaisesOnMissingFile();

    // ---- settings, help, chart
    void settingsStoreKeysAsGroups();
    void settingsFloatsReadBackBitForBit();
    void helpOpensTopicOrRaisesForMissingOne();
    void chartZoomCanBeSwitchedOff();
};

// ---- the event guard ---------------------------------------------------------------------------------------

void TestGui::guardShowsMessageOfEscapingException_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("library error") << 0 << "B.Rows <> Rows";
    QTest::newRow("standard exception") << 1 << "vector too long";
    QTest::newRow("anything else") << 2 << "Unknown exception";
}

void TestGui::guardShowsMessageOfEscapingException()
{
    QFETCH(int, kind);
    QFETCH(QString, message);
    TErrorBoxes boxes;
    const bool finished = Guarded([&] {
        if (kind == 0) throw Exception(message.toStdString());
        if (kind == 1) throw std::length_error(message.toStdString());
        throw 42;
    });
    QVERIFY(!finished);
    QCOMPARE(boxes.Shown, QStringList{message});
}

void TestGui::guardDropsAbortSilently()
{
    TErrorBoxes boxes;
    QVERIFY(!Guarded([] { throw EAbort(); }));
    QVERIFY(Guarded([] {}));
    QVERIFY(boxes.Shown.isEmpty());
}

// A slot that raises through a real signal: the box shows, the next click runs again.
void TestGui::guardedSlotKeepsTheProgramRunning()
{
    TErrorBoxes boxes;
    QPushButton button;
    int runs = 0;
    QObject::connect(&button, &QPushButton::clicked, &button, Guard([&] {
        ++runs;
        if (runs == 1) throw Exception("first click fails");
        if (runs == 2) throw EAbort();
    }));
    button.click();
    button.click();
    button.click();
    QCOMPARE(runs, 3);
    QCOMPARE(boxes.Shown, QStringList{"first click fails"});
}

void TestGui::flatButtonRunsItsReplaceableHandler()
{
    TErrorBoxes boxes;
    TFlatButton button("Help", nullptr);
    button.click();  // no handler: nothing happens
    int a = 0, b = 0;
    button.OnClick = [&] { ++a; };
    button.click();
    button.OnClick = [&] {
        ++b;
        throw Exception("help failed");
    };
    button.click();
    button.OnClick = nullptr;
    button.click();
    QCOMPARE(a, 1);
    QCOMPARE(b, 1);
    QCOMPARE(boxes.Shown, QStringList{"help failed"});
}

// ---- the class registry ------------------------------------------------------------------------------------

void TestGui::registryFindsRegisteredClassAndRegistersOnce()
{
    RegisterClass("TFirst", [](QWidget* owner) {
        auto* w = new QWidget(owner);
        w->setObjectName("first");
        return w;
    });
    // A second registration of the same name is ignored, as a module initialised twice must not change it.
    RegisterClass("TFirst", [](QWidget* owner) {
        auto* w = new QWidget(owner);
        w->setObjectName("second");
        return w;
    });
    const TRegisteredClass& cls = FindClass("TFirst");
    QCOMPARE(cls.Name, QString("TFirst"));
    QWidget owner;
    QCOMPARE(cls.Create(&owner)->objectName(), QString("first"));
    QVERIFY(RegisteredClassNames().contains("TFirst"));
    UnRegisterClass("TFirst");
    QVERIFY(GetClass("TFirst") == nullptr);
}

void TestGui::registryRaisesClassNotFound()
{
    try {
        FindClass("TNoSuchPage");
        QFAIL("no exception");
    } catch (const EClassNotFound& e) {
        QCOMPARE(QString(e.what()), QString("Class TNoSuchPage not found"));
    }
    QVERIFY(GetClass("TNoSuchPage") == nullptr);
}

// ---- the RTF reader ----------------------------------------------------------------------------------------

void TestGui::rtfText_data()
{
    QTest::addColumn<QString>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain words") << Rtf("Hello world") << "Hello world";
    QTest::newRow("control word eats one blank") << Rtf("\\b bold\\b0  normal") << "bold normal";
    QTest::newRow("paragraphs") << Rtf("one\\par two\\par three") << "one\ntwo\nthree";
    QTest::newRow("bullet and tab") << Rtf("\\bullet\\tab item") << QString::fromUtf8("\u2022\titem");
    QTest::newRow("escaped symbols") << Rtf("a \\{b\\} \\\\c") << "a {b} \\c";
    QTest::newRow("code page 1252") << Rtf("caf\\'e9 \\'93q\\'94 \\'80") << QString::fromUtf8("café “q” €");
    QTest::newRow("unicode with substitute") << Rtf("\\u8364?x \\uc2\\u945 ab") << QString::fromUtf8("€x α");
    QTest::newRow("line break") << Rtf("a\\line b") << "a\nb";  // one paragraph: see rtfParagraphFormats
    QTest::newRow("font and colour tables do not show") << Rtf("x") << "x";
    QTest::newRow("ignorable destination") << Rtf("{\\*\\generator Writer 1.0;}text") << "text";
    QTest::newRow("info and numbering skipped") << Rtf("{\\info{\\title T}}{\\pn\\pnlvlblt{\\pntxtb x}}body") << "body";
    QTest::newRow("raw line breaks ignored") << Rtf("ab\r\ncd") << "abcd";
    QTest::newRow("backslash newline is a paragraph") << Rtf("ab\\\ncd") << "ab\ncd";
    QTest::newRow("not rtf: plain text") << QString::fromUtf8("plain {text}\nline 2") << "plain {text}\nline 2";
}

void TestGui::rtfText()
{
    QFETCH(QString, rtf);
    QFETCH(QString, text);
    QTextDocument doc;
    QCOMPARE(ReadText(rtf.toLatin1().isEmpty() ? QByteArray() : rtf.toUtf8(), doc), text);
}

void TestGui::rtfCharacterFormats()
{
    QTextDocument doc;
    ReadRtf(Rtf("n{\\b b}{\\i i}{\\ul u}\\fs40 L\\fs20 s\\cf1 r\\cf2 k\\cf0 a{\\f1 m}\\b\\i\\ul x\\plain p").toLatin1(),
            doc);
    QCOMPARE(doc.toPlainText(), QString("nbiuLsrkamxp"));
    const auto at = [&](int i) { return FormatAt(doc, i); };
    QCOMPARE(at(0).fontWeight(), int(QFont::Normal));
    QCOMPARE(at(1).fontWeight(), int(QFont::Bold));
    QVERIFY(at(2).fontItalic() && at(2).fontWeight() == QFont::Normal);
    QVERIFY(at(3).fontUnderline() && !at(3).fontItalic());
    QCOMPARE(at(0).fontPointSize(), 12.0);  // the RTF default of 24 half points
    QCOMPARE(at(4).fontPointSize(), 20.0);
    QCOMPARE(at(5).fontPointSize(), 10.0);
    QCOMPARE(at(6).foreground().color(), QColor(255, 0, 0));
    QCOMPARE(at(7).foreground().color(), QColor(0, 0, 255));
    QCOMPARE(at(8).foreground().style(), Qt::NoBrush);  // \cf0: automatic colour
    QCOMPARE(at(8).fontFamilies().toStringList(), QStringList{"Arial"});
    QCOMPARE(at(9).fontFamilies().toStringList(), QStringList{"Courier New"});
    QVERIFY(at(10).fontWeight() == QFont::Bold && at(10).fontItalic() && at(10).fontUnderline());
    QVERIFY(at(11).fontWeight() == QFont::Normal && !at(11).fontItalic() && !at(11).fontUnderline());
}

void TestGui::rtfParagraphFormats()
{
    QTextDocument doc;
    ReadRtf(
        Rtf("\\qc centred\\par\\pard\\li720\\fi-360\\tx1440 indented\\tab col\\par\\pard plain\\line same").toLatin1(),
        doc);
    QCOMPARE(doc.blockCount(), 3);  // \\line breaks the line, not the paragraph
    const QTextBlockFormat b0 = doc.findBlockByNumber(0).blockFormat();
    const QTextBlockFormat b1 = doc.findBlockByNumber(1).blockFormat();
    const QTextBlockFormat b2 = doc.findBlockByNumber(2).blockFormat();
    QCOMPARE(b0.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(b1.leftMargin(), 48.0);  // 720 twips at 96 pixels per inch
    QCOMPARE(b1.textIndent(), -24.0);
    QCOMPARE(b1.tabPositions().size(), 1);
    QCOMPARE(b1.tabPositions()[0].position, 96.0);
    QCOMPARE(b2.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QVERIFY(b2.tabPositions().isEmpty());
    QCOMPARE(b2.leftMargin(), 0.0);
}

// A bullet line: "\\li360\\fi-240\\bullet\\tab text" puts the text at the left indent.
void TestGui::rtfHangingIndentTabsToTheLeftIndent()
{
    QTextDocument doc;
    ReadRtf(Rtf("\\pard\\li360\\fi-240\\bullet\\tab item\\par").toLatin1(), doc);
    const QTextBlockFormat b = doc.firstBlock().blockFormat();
    QCOMPARE(b.tabPositions().size(), 1);
    QCOMPARE(b.tabPositions()[0].position, 24.0);
}

void TestGui::rtfMalformedInputGivesWhatCanBeRead_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("missing closing braces") << QByteArray("{\\rtf1 {\\b open") << "open";
    QTest::newRow("extra closing braces") << QByteArray("{\\rtf1 a}}} b}") << "a b";
    QTest::newRow("cut inside a hex escape") << QByteArray("{\\rtf1 a\\'4") << "a";
    QTest::newRow("cut after a backslash") << QByteArray("{\\rtf1 a\\") << "a";
    QTest::newRow("bad hex digits") << QByteArray("{\\rtf1 a\\'zzb}") << "azzb";
    QTest::newRow("huge parameters") << QByteArray("{\\rtf1\\fs99999999999999999999 x\\li-99999999999999 y}") << "xy";
    QTest::newRow("colour index beyond the table") << QByteArray("{\\rtf1{\\colortbl;\\red1;}\\cf9 c}") << "c";
    QTest::newRow("deep nesting") << "{\\rtf1" + QByteArray(20000, '{') + "deep"
                                  << "deep";
    QTest::newRow("empty") << QByteArray() << "";
}

void TestGui::rtfMalformedInputGivesWhatCanBeRead()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QTextDocument doc;
    QCOMPARE(ReadText(rtf, doc), text);
}

// One paragraph of many runs in alternating formats: every run keeps its text and its own format.
void TestGui::rtfManyFormatChangesInOneParagraph()
{
    constexpr int runs = 32768;  // about 288 KB of RTF
    QByteArray rtf("{\\rtf1 ");
    for (int i = 0; i < runs; ++i) rtf += "a\\b b\\b0 ";
    rtf += "}";
    QTextDocument doc;
    ReadRtf(rtf, doc);
    QCOMPARE(doc.blockCount(), 1);
    QCOMPARE(doc.toPlainText(), QString("ab").repeated(runs));
    for (const int run : {0, 1, runs / 2, runs - 1}) {
        QCOMPARE(FormatAt(doc, 2 * run).fontWeight(), int(QFont::Normal));
        QCOMPARE(FormatAt(doc, 2 * run + 1).fontWeight(), int(QFont::Bold));
    }
}

void TestGui::richEditRaisesOnMissingFile()
{
    QTemporaryDir dir;
    TRichEdit edit(nullptr);
    QVERIFY_THROWS_EXCEPTION(Exception, edit.LoadFromFile(dir.filePath("none.rtf")));
    QFile file(dir.filePath("t.rtf"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 {\\b Title}\\par body}");
    file.close();
    edit.LoadFromFile(file.fileName());
    QCOMPARE(edit.toPlainText(), QString("Title\nbody"));
}

// ---- settings, help, chart ---------------------------------------------------------------------------------

void TestGui::settingsStoreKeysAsGroups()
{
    QTemporaryDir dir;
    SetSettingsFolder(dir.path());
    QCOMPARE(SettingsFileName(), dir.filePath("Tarnel.ini"));

    TRegistry reg;
    QVERIFY(!reg.OpenKeyReadOnly("\\Software\\Corvath"));  // absent until something is written
    QVERIFY(reg.OpenKey("\\Software\\Corvath", true));
    QCOMPARE(reg.ReadString("DemoPath"), QString());
    reg.WriteString("DemoPath", "/home/user/demo sources");
    reg.WriteInteger("Count", -7);
    reg.WriteFloat("Step", 0.1);
    reg.WriteBool("On", true);
    QVERIFY(reg.OpenKey("\\Software\\Brisolt\\Tarnel\\TarnelEditor", true));
    reg.WriteString("Format", "0.00");

    TRegistry other;
    QVERIFY(other.OpenKeyReadOnly("\\Software\\Corvath\\"));
    QCOMPARE(other.ReadString("DemoPath"), QString("/home/user/demo sources"));
    QCOMPARE(other.ReadInteger("Count"), -7);
    QCOMPARE(other.ReadFloat("Step"), 0.1);
    QCOMPARE(other.ReadBool("On"), true);
    QCOMPARE(other.ReadInteger("DemoPath", 5), 5);                            // not a number: the default
    QVERIFY_THROWS_EXCEPTION(Exception, other.WriteString("DemoPath", "x"));  // opened read-only

    // Deleting a key takes everything below it and nothing beside it.
    QVERIFY(other.DeleteKey("\\Software\\Corvath"));
    QVERIFY(!other.KeyExists("\\Software\\Corvath"));
    QVERIFY(other.KeyExists("\\Software\\Brisolt\\Tarnel\\TarnelEditor"));
    QVERIFY(!other.DeleteKey("\\Software\\Corvath"));
    SetSettingsFolder(QString());
}

// A stored Double comes back with every bit, the sign of zero included.
void TestGui::settingsFloatsReadBackBitForBit()
{
    QTemporaryDir dir;
    SetSettingsFolder(dir.path());
    TRegistry reg;
    QVERIFY(reg.OpenKey("\\Software\\Corvath", true));
    const double values[] = {-0.0, 0.0, 0.1, -1e-300, 5e-324, 1.7976931348623157e308, -2.5};
    for (const double v : values) {
        reg.WriteFloat("x", v);
        const double back = reg.ReadFloat("x", 99);
        QVERIFY2(std::memcmp(&back, &v, sizeof v) == 0, qPrintable(QString::number(v, 'g', 17)));
    }
    SetSettingsFolder(QString());
}

void TestGui::helpOpensTopicOrRaisesForMissingOne()
{
    QTemporaryDir dir;
    QFile topic(dir.filePath("5340.html"));
    QVERIFY(topic.open(QIODevice::WriteOnly));
    topic.write("<html><head><title>Products</title></head><body>Matrix products</body></html>");
    topic.close();
    SetHelpFile(dir.path());
    SetApplicationTitle("Tarnel demo");

    HelpContext(5340);
    QTextBrowser* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QTextBrowser*>(w)) window = b;
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(window->toPlainText().contains("Matrix products"));
    QCOMPARE(window->windowTitle(), QString("Tarnel demo help"));

    try {
        HelpContext(1);
        QFAIL("no exception");
    } catch (const Exception& e) {
        QVERIFY(QString(e.what()).startsWith("Help topic 1 not found"));
    }

    QList<int> contexts;
    SetHelpViewer([&](int c) { contexts << c; });
    HelpContext(77);
    SetHelpViewer(nullptr);
    QCOMPARE(contexts, QList<int>{77});
    window->close();
}

void TestGui::chartZoomCanBeSwitchedOff()
{
    TChart chart(nullptr);
    QVERIFY(chart.ZoomAllowed());
    QCOMPARE(chart.selectionRectMode(), QCP::srmZoom);
    chart.SetZoomAllowed(false);
    QCOMPARE(chart.selectionRectMode(), QCP::srmNone);
    QVERIFY(chart.legend->visible());
    chart.SetZoomAllowed(true);
    QCOMPARE(chart.selectionRectMode(), QCP::srmZoom);
}

QTEST_MAIN(TestGui)
#include "test_gui.moc"
