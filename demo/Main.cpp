#include "demo/Main.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/gui/Guard.h"
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
    auto* sourceNote = new QLabel(QStringLiteral("The source viewer is not yet available in this version."), TabSource);
    sourceNote->setAlignment(Qt::AlignCenter);
    sourceLayout->addWidget(btnConfig, 0, Qt::AlignLeft);
    sourceLayout->addWidget(sourceNote, 1);
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
