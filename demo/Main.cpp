#include "demo/Main.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "demo/DemoFiles.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Settings.h"
#include "platform/rtl/SysUtils.h"

namespace paxtor {

using namespace tarnel::gui;

const char* const PageTable =
    "Introduction;TIntroduction\n"
    "Matrix operations;TIntroMtx\n"
    " Multiplying large matrices;TMult1;Multiply1\n"
    " Copy and  transpose operation;TCopyComp;CopyCompare\n"
    " Calculating the inverse of squared matrix;TInvMtx;InverseMtx\n"
    " Calculating squared root of matrix;TfrmSqrtMtx;CalcSqrtMtx\n"
    " Eigenvalues and eigenvectors;TEigVec1;EigenVectors1\n"
    " LQ and QR decomposition;TLQRDemo;LQR1\n"
    " Solving system of equations;TLinearSystem1;SysLinear1\n"
    "Vector operations;TIntroVec\n"
    " Levinson Yule Walker;TYuleLev;YuleLevinson\n"
    " Displaying large amounts of data;TDownS;PixelDownS\n"
    "Exporting/Importing;TIntroExpImp\n"
    " Saving/Loading;TFileH1;FileHandling1\n"
    " Different numeric precisions;TfrmSavePrec;Save_Precision\n"
    " MSOffice;TMSOffice;ClipboardMSOffice\n"
    "Memory managemet;TIntroMemMan\n"
    " Comparing CreateIt/FreeIt with Create/Destroy;TMemComp1;MemoryCompare1\n"
    " GetMem vs SliceIt;TGetMemC;GetMemComp\n"
    " Using Default arrays;TDefArray;DefaultArray\n"
    "Polynomial routines;TIntroPoly\n"
    " Linear and cubic interpolation;TInterpolating1;Interp1\n"
    " Least-square fitting;TLQRPoly;QRPoly1\n"
    "Optimization problems\n"
    " New minimization algorithms;TfrmMtxOptim;MtxOptim\n"
    "Probabilities unit;TProb1;ProbCalc\n"
    "Tarnel Components\n"
    " New minimization algorithms;TfrmMtxOptim;MtxOptim\n"
    " TMtxFloatEdit control;TfrmFloatEdit1;FloatEdit1\n"
    " Progress Dialog;TfrmProgDialog;ProgDialog\n"
    " Math Parser;TfrmParser;ParserDemo\n"
    "Tarnel package function list;TIntroFunList\n"
    " TVec object function list;TVecList\n"
    " TMtx object function list;TMtxList\n"
    " Dovi387 function list;TMathList\n"
    " Optimization function list;TListOpt\n"
    " Probability function list;TListProb\n"
    " SpecialFunc function list;TListSpecFun\n"
    " Polynoms function list;TPolyList\n"
    "Release 1.01\n"
    " List of new features;TfrmChanges101\n"
    " Different numeric precisions;TfrmSavePrec;Save_Precision\n"
    " MSOffice;TMSOffice;ClipboardMSOffice\n"
    " New minimization algorithms;TfrmMtxOptim;MtxOptim\n"
    "Release 1.02\n"
    " List of new features;TfrmChanges102\n"
    " TMtxFloatEdit control;TfrmFloatEdit1;FloatEdit1\n"
    "Release 1.5\n"
    " List of new features;TfrmChanges15\n"
    " Progress Dialog;TfrmProgDialog;ProgDialog\n"
    " Support for sparse matrices;TfrmSparseTest;SparseTest\n"
    " Math Parser;TfrmParser;ParserDemo\n"
    " Block Processing;TfrmBlockProc;BlockProcessing\n"
    " Calculating squared root of matrix;TfrmSqrtMtx;CalcSqrtMtx\n"
    " Viewing matrix values;TfrmMtxGridSeries;MtxGridSeries_Demo\n"
    "Quick Start;TQStart\n";

namespace {

// The address shown in the banner; a click opens it in the browser.
const char* const WebAddress = "https://tarnel.example.org";

const char* const Slogan =
    "\"Tarnel was created to help shorten development time of commericial scientific application.\"";

constexpr int IndexRole = Qt::UserRole;     // the node's absolute index
constexpr int InfoRole = Qt::UserRole + 1;  // index into FInfos, -1 for a heading

void FillBackground(QWidget* w, const QColor& color)
{
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, color);
    w->setPalette(pal);
}

void SetTextColor(QWidget* w, const QColor& color)
{
    QPalette pal = w->palette();
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        pal.setColor(QPalette::Active, role, color);
        pal.setColor(QPalette::Inactive, role, color);
        pal.setColor(QPalette::Disabled, role, color.darker(150));
    }
    w->setPalette(pal);
}

// The maker's logo: a white plot frame with a blue curve.
QPixmap MakeLogo()
{
    QPixmap pix(72, 72);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(QRectF(4, 4, 64, 64), 10, 10);
    QPainterPath curve;
    curve.moveTo(12, 48);
    curve.cubicTo(24, 8, 36, 8, 40, 36);
    curve.cubicTo(44, 60, 56, 56, 62, 22);
    p.setPen(QPen(QColor(255, 220, 0), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    return pix;
}

}  // namespace

// ---- The source viewer ---------------------------------------------------------------------------------------

const std::vector<const char*> SourceKeywords = {
    "alignas",       "alignof",      "and",          "and_eq",      "asm",          "auto",
    "bitand",        "bitor",        "bool",         "break",       "case",         "catch",
    "char",          "char8_t",      "char16_t",     "char32_t",    "class",        "compl",
    "concept",       "const",        "consteval",    "constexpr",   "constinit",    "const_cast",
    "continue",      "co_await",     "co_return",    "co_yield",    "decltype",     "default",
    "delete",        "do",           "double",       "dynamic_cast", "else",        "enum",
    "explicit",      "export",       "extern",       "false",       "float",        "for",
    "friend",        "goto",         "if",           "inline",      "int",          "long",
    "mutable",       "namespace",    "new",          "noexcept",    "not",          "not_eq",
    "nullptr",       "operator",     "or",           "or_eq",       "private",      "protected",
    "public",        "register",     "reinterpret_cast", "requires", "return",      "short",
    "signed",        "sizeof",       "static",       "static_assert", "static_cast", "struct",
    "switch",        "template",     "this",         "thread_local", "throw",       "true",
    "try",           "typedef",      "typeid",       "typename",    "union",        "unsigned",
    "using",         "virtual",      "void",         "volatile",    "wchar_t",      "while",
    "xor",           "xor_eq",
};

bool IsSourceKeyword(QStringView word)
{
    for (const char* k : SourceKeywords)
        if (word == QLatin1String(k)) return true;
    return false;
}

namespace {

TFolderBrowserProc& FolderBrowser()
{
    static TFolderBrowserProc proc;
    return proc;
}

bool IsWordStart(QChar c)
{
    const char16_t u = c.unicode();
    return u == '_' || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= 0x80 && c.isLetter());
}

bool IsDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

bool IsWordChar(QChar c)
{
    return IsWordStart(c) || IsDigit(c) || (c.unicode() >= 0x80 && c.isLetterOrNumber());
}

// The encoding prefixes that make a following string literal a raw one.
bool IsRawPrefix(QStringView word)
{
    return word == u"R" || word == u"LR" || word == u"uR" || word == u"UR" || word == u"u8R";
}

// Behind the literal that opens at text[pos] with quote: to the closing quote (backslashes escape), or to the
// line's end for one left open.
int SkipLiteral(const QString& text, int pos, QChar quote)
{
    const int n = static_cast<int>(text.size());
    for (++pos; pos < n; ++pos) {
        const QChar c = text[pos];
        if (c == u'\\') {
            ++pos;
        } else if (c == quote) {
            return pos + 1;
        } else if (c == u'\n') {
            return pos;
        }
    }
    return n;
}

// Behind the raw string R"delim( ... )delim" whose quote is text[pos]; one left open runs to the end.
int SkipRawString(const QString& text, int pos)
{
    const int open = static_cast<int>(text.indexOf(u'(', pos + 1));
    if (open < 0) return static_cast<int>(text.size());
    const QString close = u')' + text.mid(pos + 1, open - pos - 1) + u'"';
    const int end = static_cast<int>(text.indexOf(close, open + 1));
    return end < 0 ? static_cast<int>(text.size()) : end + static_cast<int>(close.size());
}

// Behind the number that starts at text[pos]: digits, letters, "_", ".", digit separators and the sign of an
// exponent ("1'000", "0x1Fp-3", "2.5e+10f").
int SkipNumber(const QString& text, int pos)
{
    const int n = static_cast<int>(text.size());
    while (pos < n) {
        const QChar c = text[pos];
        if (IsWordChar(c) || c == u'.') {
            const char16_t u = c.unicode();
            ++pos;
            if ((u == 'e' || u == 'E' || u == 'p' || u == 'P') && pos < n && (text[pos] == u'+' || text[pos] == u'-'))
                ++pos;
        } else if (c == u'\'' && pos + 1 < n && IsWordChar(text[pos + 1])) {
            pos += 2;
        } else {
            break;
        }
    }
    return pos;
}

void FormatRange(QTextCursor& cursor, int from, int to, const QTextCharFormat& format)
{
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.setCharFormat(format);
}

QTextCharFormat CommentFormat()
{
    QTextCharFormat f;
    f.setFontItalic(true);
    f.setForeground(ColorFromBGR(0x800000));  // navy
    return f;
}

}  // namespace

void SetFolderBrowser(TFolderBrowserProc proc)
{
    FolderBrowser() = std::move(proc);
}

bool HighlightNextToken(const QString& text, int& position, QTextCursor& cursor)
{
    static const QTextCharFormat comment = CommentFormat();
    const int n = static_cast<int>(text.size());
    while (position < n) {
        const QChar c = text[position];
        const QChar next = position + 1 < n ? text[position + 1] : QChar();
        if (IsWordStart(c)) {
            const int start = position;
            while (position < n && IsWordChar(text[position])) ++position;
            const QStringView word = QStringView(text).mid(start, position - start);
            if (position < n && text[position] == u'"' && IsRawPrefix(word)) {
                position = SkipRawString(text, position);
                continue;
            }
            cursor.setPosition(start);
            cursor.setPosition(position, QTextCursor::KeepAnchor);
            return IsSourceKeyword(word);
        }
        if (IsDigit(c) || (c == u'.' && IsDigit(next))) {
            position = SkipNumber(text, position);
        } else if (c == u'/' && next == u'/') {
            int end = static_cast<int>(text.indexOf(u'\n', position));
            if (end < 0) end = n;
            FormatRange(cursor, position, end, comment);
            position = end;
        } else if (c == u'/' && next == u'*') {
            int end = static_cast<int>(text.indexOf(QStringLiteral("*/"), position + 2));
            end = end < 0 ? n : end + 2;
            FormatRange(cursor, position, end, comment);
            position = end;
        } else if (c == u'"' || c == u'\'') {
            position = SkipLiteral(text, position, c);
        } else {
            ++position;
        }
    }
    return false;
}

void HighlightSource(QTextEdit* viewer)
{
    QTextDocument* doc = viewer->document();
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    const QString text = doc->toPlainText();  // one character per document position
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    int position = 0;
    while (position < text.size())
        if (HighlightNextToken(text, position, cursor)) cursor.setCharFormat(bold);
    cursor.endEditBlock();
    doc->setUndoRedoEnabled(undo);
    viewer->moveCursor(QTextCursor::Start);
}

QString GetDemoPath()
{
    QString result;
    TRegistry reg;
    if (reg.OpenKeyReadOnly(QString::fromLatin1(DemoKey))) result = reg.ReadString(QString::fromLatin1(DemoPathValue));
    if (result.isEmpty()) {
        const QString data = DataFolder();
        if (!data.isEmpty() && QFileInfo::exists(QDir(data).filePath(QString::fromLatin1(ProjectFileName))))
            result = data;
    }
    return result;
}

std::vector<TPageRow> ParsePageTable(const QString& text)
{
    std::vector<TPageRow> rows;
    int previous = -1;
    const QStringList lines = text.split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith('\r')) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        int level = 0;
        while (level < line.size() && (line[level] == ' ' || line[level] == '\t')) ++level;
        if (level > previous + 1)
            throw tarnel::Exception("Invalid level (" + std::to_string(level) + ") in line " + std::to_string(n + 1) +
                                    " of the page table");
        previous = level;
        TPageRow row;
        row.Level = level;
        const QString body = line.mid(level);
        const int first = body.indexOf(';');
        if (first < 0) {
            row.Caption = body;
        } else {
            row.Caption = body.left(first);
            const QString rest = body.mid(first + 1);
            const int second = rest.indexOf(';');
            row.ClassName = second < 0 ? rest : rest.left(second);
            row.UnitName = second < 0 ? QString() : rest.mid(second + 1);
        }
        rows.push_back(row);
    }
    return rows;
}

TfrmMain::TfrmMain(const QString& pageTable)
{
    setWindowTitle(QStringLiteral("Corvath: Tarnel demo"));
    resize(750, 590);
    if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
    BuildControls();
    FormCreate(pageTable);
}

TfrmMain::~TfrmMain()
{
    // The page goes first, while the help button it may have wired still exists.
    delete FExampleForm;
    FExampleForm = nullptr;
}

void TfrmMain::BuildControls()
{
    const QColor panelColor = ColorFromBGR(0x976600);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    // Banner
    Panel2 = new QFrame(central);
    Panel2->setObjectName("Panel2");
    Panel2->setFixedHeight(100);
    FillBackground(Panel2, panelColor);
    auto* banner = new QGridLayout(Panel2);
    banner->setContentsMargins(10, 6, 14, 6);
    banner->setHorizontalSpacing(14);
    banner->setVerticalSpacing(2);
    Image1 = new QLabel(Panel2);
    Image1->setObjectName("Image1");
    Image1->setPixmap(MakeLogo());
    Image1->setFixedSize(72, 72);
    Label1 = new QLabel(Panel2);
    Label1->setObjectName("Label1");
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(28);
    Label1->setFont(titleFont);
    SetTextColor(Label1, Qt::white);
    Label2 = new QLabel(QString::fromLatin1(Slogan), Panel2);
    Label2->setObjectName("Label2");
    QFont sloganFont(QStringLiteral("Arial"));
    sloganFont.setItalic(true);
    Label2->setFont(sloganFont);
    Label2->setWordWrap(true);
    SetTextColor(Label2, QColor(0xC0, 0xC0, 0xC0));
    Label3 = new QLabel(QString::fromLatin1(WebAddress), Panel2);
    Label3->setObjectName("Label3");
    Label3->setCursor(Qt::PointingHandCursor);
    SetTextColor(Label3, Qt::yellow);
    banner->addWidget(Image1, 0, 0, 2, 1, Qt::AlignVCenter);
    banner->addWidget(Label1, 0, 1);
    banner->addWidget(Label2, 1, 1);
    banner->addWidget(Label3, 0, 2, 2, 1, Qt::AlignRight | Qt::AlignBottom);
    banner->setColumnStretch(1, 1);
    layout->addWidget(Panel2);

    // Tree and tabs
    Splitter1 = new QSplitter(Qt::Horizontal, central);
    Splitter1->setObjectName("Splitter1");
    Splitter1->setHandleWidth(2);
    Splitter1->setChildrenCollapsible(false);
    TreeView1 = new QTreeWidget(Splitter1);
    TreeView1->setObjectName("TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setIndentation(19);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setTextElideMode(Qt::ElideNone);
    TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TreeView1->header()->setStretchLastSection(false);
    TreeView1->setMouseTracking(true);
    {
        QPalette pal = TreeView1->palette();
        pal.setColor(QPalette::Base, ColorFromBGR(0xD5FFFF));
        // The selection stays visible when the tree loses the focus.
        pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     pal.color(QPalette::Active, QPalette::HighlightedText));
        TreeView1->setPalette(pal);
    }
    PageControl1 = new QTabWidget(Splitter1);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setTabPosition(QTabWidget::South);
    PageControl1->setDocumentMode(true);
    TabForm = new QWidget;
    TabForm->setObjectName("TabForm");
    auto* formLayout = new QVBoxLayout(TabForm);
    formLayout->setContentsMargins(0, 0, 0, 0);
    TabSource = new QWidget;
    TabSource->setObjectName("TabSource");
    auto* sourceLayout = new QVBoxLayout(TabSource);
    btnConfig = new QPushButton(QStringLiteral("Configure"), TabSource);
    btnConfig->setObjectName("btnConfig");
    btnConfig->setVisible(false);
    sourceLayout->setContentsMargins(0, 0, 0, 0);
    sourceLayout->addWidget(btnConfig, 0, Qt::AlignLeft);
    PageControl1->addTab(TabForm, QStringLiteral("Example"));
    PageControl1->addTab(TabSource, QStringLiteral("Source code"));
    Splitter1->addWidget(TreeView1);
    Splitter1->addWidget(PageControl1);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({218, 530});
    layout->addWidget(Splitter1, 1);

    // Navigation
    Panel1 = new QFrame(central);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedHeight(38);
    FillBackground(Panel1, panelColor);
    auto* nav = new QHBoxLayout(Panel1);
    nav->setContentsMargins(8, 4, 8, 4);
    btnPrevious = new TFlatButton(QStringLiteral("<"), Panel1);
    btnPrevious->setObjectName("btnPrevious");
    btnNext = new TFlatButton(QStringLiteral(">"), Panel1);
    btnNext->setObjectName("btnNext");
    btnClose = new TFlatButton(QStringLiteral("&Close"), Panel1);
    btnClose->setObjectName("btnClose");
    btnHelp = new TFlatButton(QStringLiteral("Tarnel &Help"), Panel1);
    btnHelp->setObjectName("btnHelp");
    QFont bold = btnPrevious->font();
    bold.setBold(true);
    for (TFlatButton* b : {btnPrevious, btnNext, btnClose, btnHelp}) {
        SetTextColor(b, Qt::white);
        b->setMinimumWidth(b == btnHelp ? 100 : 60);
    }
    btnPrevious->setFont(bold);
    btnNext->setFont(bold);
    nav->addWidget(btnPrevious);
    nav->addWidget(btnNext);
    nav->addStretch(1);
    nav->addWidget(btnHelp);
    nav->addWidget(btnClose);
    layout->addWidget(Panel1);

    StatusBar1 = new QLabel;
    StatusBar1->setObjectName("StatusBar1");
    statusBar()->addWidget(StatusBar1, 1);

    btnPrevious->OnClick = [this] { btnPreviousClick(); };
    btnNext->OnClick = [this] { btnNextClick(); };
    btnClose->OnClick = [this] { close(); };
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, Guard([this] { TreeView1Change(); }));
    connect(PageControl1, &QTabWidget::currentChanged, this, Guard([this] { PageControl1Change(); }));
    connect(btnConfig, &QPushButton::clicked, this, Guard([this] { btnConfigClick(); }));

    for (QWidget* w : std::initializer_list<QWidget*>{Label3, Panel2, Image1, TreeView1->viewport()}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

void TfrmMain::FormCreate(const QString& pageTable)
{
    PageControl1->setCurrentWidget(TabForm);
    const std::vector<TPageRow> rows = ParsePageTable(pageTable);
    std::vector<QTreeWidgetItem*> lastAtLevel;
    for (const TPageRow& row : rows) {
        QTreeWidgetItem* item =
            row.Level == 0 ? new QTreeWidgetItem(TreeView1) : new QTreeWidgetItem(lastAtLevel.at(row.Level - 1));
        lastAtLevel.resize(row.Level);
        lastAtLevel.push_back(item);
        item->setText(0, row.Caption);
        item->setData(0, IndexRole, static_cast<int>(FNodes.size()));
        item->setData(0, InfoRole, -1);
        if (!row.IsHeading()) {
            FInfos.push_back(std::make_unique<TExampleInfo>(TExampleInfo{&FindClass(row.ClassName), row.UnitName}));
            item->setData(0, InfoRole, static_cast<int>(FInfos.size()) - 1);
        }
        FNodes.push_back(item);
    }
    // The tree opens with every top-level node that has children expanded, so that all pages can be read.
    for (int i = 0; i < TreeView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = TreeView1->topLevelItem(i);
        if (top->childCount() > 0) top->setExpanded(true);
    }
    // The tree is as wide as its longest caption needs (at least 218 px), so no caption is cut off.
    const QFontMetrics metrics(TreeView1->font());
    int textWidth = 0;
    for (std::size_t i = 0; i < FNodes.size(); ++i)
        textWidth = std::max(
            textWidth, metrics.horizontalAdvance(FNodes[i]->text(0)) + TreeView1->indentation() * (rows[i].Level + 1));
    const int treeWidth =
        textWidth + 2 * TreeView1->frameWidth() + TreeView1->verticalScrollBar()->sizeHint().width() + 16;
    Splitter1->setSizes({std::max(218, treeWidth), 530});
    UpdateNavigation();
}

const TExampleInfo* TfrmMain::NodeInfo(int index) const
{
    if (index < 0 || index >= NodeCount()) return nullptr;
    const int info = FNodes[index]->data(0, InfoRole).toInt();
    return info < 0 ? nullptr : FInfos[info].get();
}

int TfrmMain::SelectedIndex() const
{
    const QTreeWidgetItem* item = TreeView1->currentItem();
    return item ? item->data(0, IndexRole).toInt() : -1;
}

void TfrmMain::SelectNode(int index)
{
    if (index < 0 || index >= NodeCount()) return;
    TreeView1->setCurrentItem(FNodes[index]);
    TreeView1->scrollToItem(FNodes[index]);
}

int TfrmMain::FindNode(const QString& caption) const
{
    for (int i = 0; i < NodeCount(); ++i)
        if (FNodes[i]->text(0) == caption) return i;
    return -1;
}

QString TfrmMain::SelectedUnitName() const
{
    const TExampleInfo* info = NodeInfo(SelectedIndex());
    return info ? info->UnitName : QString();
}

void TfrmMain::CreateExampleForm(const TRegisteredClass& formClass)
{
    QWidget* form = formClass.Create(this);
    FExampleForm = form;
    form->hide();
    form->setWindowFlags(Qt::Widget);  // no border: a part of the tab
    form->setParent(TabForm);
    TabForm->layout()->addWidget(form);
    form->show();
}

void TfrmMain::ShowSelectedExample()
{
    const int index = SelectedIndex();
    if (index < 0) return;
    if (const TExampleInfo* info = NodeInfo(index)) {
        // Freed now, not later: its destruction releases the help button before the next page wires it.
        QWidget* old = FExampleForm;
        FExampleForm = nullptr;
        delete old;
        CreateExampleForm(*info->FormClass);
    }
    const QString caption = FNodes[index]->text(0);
    Label1->setText(caption);
    StatusBar1->setText(caption);
}

void TfrmMain::TreeView1Change()
{
    // A page's destruction or construction that processes events may change the selection again: that change
    // is handled after this one, never inside it.
    if (FInChange) {
        FChangePending = true;
        return;
    }
    FInChange = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } reset{FInChange};
    do {
        FChangePending = false;
        // The tree may make a node current without selecting it (on getting the focus): show it selected.
        if (QTreeWidgetItem* item = TreeView1->currentItem(); item && !item->isSelected()) item->setSelected(true);
        PageControl1->setCurrentWidget(TabForm);
        ShowSelectedExample();
        UpdateNavigation();
        PageControl1->setTabVisible(PageControl1->indexOf(TabSource), !SelectedUnitName().isEmpty());
    } while (FChangePending);
}

void TfrmMain::UpdateNavigation()
{
    const int index = SelectedIndex();
    btnPrevious->setEnabled(index > 0);
    btnNext->setEnabled(index >= 0 && index < NodeCount() - 1);
    if (index < 0) PageControl1->setTabVisible(PageControl1->indexOf(TabSource), false);
}

void TfrmMain::btnPreviousClick()
{
    const int index = SelectedIndex();
    if (index > 0) SelectNode(index - 1);
}

void TfrmMain::btnNextClick()
{
    const int index = SelectedIndex();
    if (index >= 0 && index < NodeCount() - 1) SelectNode(index + 1);
}

void TfrmMain::PageControl1Change()
{
    if (PageControl1->currentWidget() != TabSource) return;
    const QString folder = GetDemoPath();
    // A folder without the project file is forgotten (an empty one names no folder to test).
    if (!folder.isEmpty() && !QFileInfo::exists(QDir(folder).filePath(QString::fromLatin1(ProjectFileName))))
        TRegistry().DeleteKey(QString::fromLatin1(DemoKey));
    const QString path = GetDemoPath();
    btnConfig->setVisible(path.isEmpty());
    const QString unit = SelectedUnitName();
    if (path.isEmpty() || unit.isEmpty()) {
        delete FSourceEdit;
        FSourceEdit = nullptr;
        FSourceUnit.clear();
        return;
    }
    if (unit == FSourceUnit && FSourceEdit) return;
    delete FSourceEdit;
    FSourceEdit = new QTextEdit(TabSource);
    FSourceEdit->setObjectName("SourceEdit");
    FSourceEdit->setReadOnly(true);
    FSourceEdit->setLineWrapMode(QTextEdit::NoWrap);
    FSourceEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    FSourceEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(9);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    FSourceEdit->setFont(font);
    FSourceEdit->document()->setDefaultFont(font);
    TabSource->layout()->addWidget(FSourceEdit);
    const QString file = QDir(path).filePath(unit + QStringLiteral(".cpp"));
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        throw tarnel::Exception("Cannot open file \"" + QDir::toNativeSeparators(file).toStdString() + "\". " +
                                source.errorString().toStdString());
    const QByteArray data = source.readAll();
    if (source.error() != QFileDevice::NoError)
        throw tarnel::Exception("Cannot read file \"" + QDir::toNativeSeparators(file).toStdString() + "\". " +
                                source.errorString().toStdString());
    FSourceEdit->setPlainText(QString::fromUtf8(data));
    HighlightSource(FSourceEdit);
    FSourceUnit = unit;
}

void TfrmMain::btnConfigClick()
{
    const QString title = QStringLiteral("Folder with Tarnel demo source");
    QString folder;
    if (FolderBrowser()) {
        folder = FolderBrowser()(this, title);
    } else {
        folder = QFileDialog::getExistingDirectory(this, title, QString(), QFileDialog::ShowDirsOnly);
    }
    if (folder.isEmpty()) return;
    TRegistry reg;
    if (reg.OpenKey(QString::fromLatin1(DemoKey), true)) reg.WriteString(QString::fromLatin1(DemoPathValue), folder);
    PageControl1Change();
}

void TfrmMain::Label3Click()
{
    if (!QDesktopServices::openUrl(QUrl(Label3->text())))
        throw tarnel::Exception("Cannot open " + Label3->text().toStdString());
}

void TfrmMain::SetLabel3Underline(bool underline)
{
    QFont f = Label3->font();
    if (f.underline() == underline) return;
    f.setUnderline(underline);
    Label3->setFont(f);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    const bool onLabel3 = watched == Label3;
    Guarded([&] {
        if (event->type() == QEvent::MouseMove) {
            SetLabel3Underline(onLabel3);
        } else if (onLabel3 && event->type() == QEvent::MouseButtonRelease) {
            Label3Click();
        }
    });
    // The label's mouse events end here: passed on to the banner below it they would undo the underline.
    if (onLabel3 && (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonRelease)) return true;
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace paxtor
