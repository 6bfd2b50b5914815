#include "components/TarnelEdit.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "core/Dovi387.h"
#include "core/TempGuard.h"
#include "core/messages.h"
#include "core/text_exchange.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Settings.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"

namespace tarnel::gui {

namespace {

// The framework's texts for fixed counts that leave no cell to scroll.
constexpr const char* kFixedRowTooBig = "Fixed row count must be less than row count";
constexpr const char* kFixedColTooBig = "Fixed column count must be less than column count";

}  // namespace

// ---- The model over a cell grid ---------------------------------------------------------------------------------

TCellGridModel::TCellGridModel(TCellGrid& Cells, QObject* parent) : QAbstractTableModel(parent), FCells(Cells) {}

int TCellGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FCells.RowCount();
}

int TCellGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FCells.ColCount();
}

QVariant TCellGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: {
            // Painting must not see an exception: a cell that cannot be made shows nothing.
            QString text;
            try {
                text = QString::fromStdString(FCells.Cells(index.column(), index.row()));
            } catch (...) {
            }
            return text;
        }
        case Qt::BackgroundRole:
            if (IsFixed(index.column(), index.row())) return QPalette().button();
            return {};
        default:
            return {};
    }
}

bool TCellGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    const int col = index.column();
    const int row = index.row();
    if (!Guarded([&] { FCells.SetCells(col, row, value.toString().toStdString()); })) return false;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags TCellGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    if (IsFixed(index.column(), index.row())) return Qt::ItemIsEnabled;
    if (IsHeader(index.column(), index.row())) return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (FEditing) f |= Qt::ItemIsEditable;
    return f;
}

void TCellGridModel::SetFixed(int Rows, int Cols)
{
    if (Rows == FFixedRows && Cols == FFixedCols) return;
    FFixedRows = Rows;
    FFixedCols = Cols;
    Reset();
}

void TCellGridModel::SetHeaderLines(int Rows, int Cols)
{
    FHeaderRows = Rows;
    FHeaderCols = Cols;
}

void TCellGridModel::SetEditing(bool Value)
{
    if (Value == FEditing) return;
    FEditing = Value;
    Reset();
}

void TCellGridModel::Reset()
{
    beginResetModel();
    FPending = false;
    endResetModel();
}

void TCellGridModel::CellChanged(int Col, int Row)
{
    if (!FPending) {
        FPending = true;
        FTop = FBottom = Row;
        FLeft = FRight = Col;
        QTimer::singleShot(0, this, [this] { FlushChanges(); });
        return;
    }
    FTop = std::min(FTop, Row);
    FBottom = std::max(FBottom, Row);
    FLeft = std::min(FLeft, Col);
    FRight = std::max(FRight, Col);
}

void TCellGridModel::FlushChanges()
{
    if (!FPending) return;  // a reset came first and covered it
    FPending = false;
    // The counts may have shrunk since the cells changed.
    const int bottom = std::min(FBottom, rowCount() - 1);
    const int right = std::min(FRight, columnCount() - 1);
    if (FTop <= bottom && FLeft <= right) emit dataChanged(index(FTop, FLeft), index(bottom, right));
}

// ---- The view ---------------------------------------------------------------------------------------------------

TGridView::TGridView(QWidget* parent) : QTableView(parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    // Fixed sections: no header measures 1000 columns of text, and every column has the default width.
    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->setMinimumSectionSize(1);
        h->setSectionResizeMode(QHeaderView::Fixed);
    }
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::ContiguousSelection);  // a range of cells
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    SetDefaultColWidth(64);
    SetDefaultRowHeight(24);
}

void TGridView::Attach(TCellGrid& Cells)
{
    FModel = new TCellGridModel(Cells, this);
    setModel(FModel);
    CountsChanged();
}

void TGridView::SetFixedRows(int Value)
{
    if (Value < 0 || Value >= FModel->rowCount()) ERaise(kFixedRowTooBig);
    FModel->SetFixed(Value, FModel->FixedCols());
}

void TGridView::SetFixedCols(int Value)
{
    if (Value < 0 || Value >= FModel->columnCount()) ERaise(kFixedColTooBig);
    FModel->SetFixed(FModel->FixedRows(), Value);
}

void TGridView::SetEditing(bool Value)
{
    FModel->SetEditing(Value);
    setEditTriggers(Value ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                                QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                          : QAbstractItemView::NoEditTriggers);
}

// A section holds the cell and its grid line, as the framework's widths leave the line out.
int TGridView::DefaultColWidth() const
{
    return horizontalHeader()->defaultSectionSize() - 1;
}

void TGridView::SetDefaultColWidth(int Value)
{
    horizontalHeader()->setDefaultSectionSize(std::max(Value, 0) + 1);
}

int TGridView::DefaultRowHeight() const
{
    return verticalHeader()->defaultSectionSize() - 1;
}

void TGridView::SetDefaultRowHeight(int Value)
{
    verticalHeader()->setDefaultSectionSize(std::max(Value, 0) + 1);
}

void TGridView::CountsChanged()
{
    const int rows = std::min(FModel->FixedRows(), std::max(FModel->rowCount() - 1, 0));
    const int cols = std::min(FModel->FixedCols(), std::max(FModel->columnCount() - 1, 0));
    FModel->SetFixed(rows, cols);
    FModel->Reset();
}

// ---- The string grid --------------------------------------------------------------------------------------------

TStringGrid::TStringGrid(QWidget* parent) : TGridView(parent)
{
    Attach(*this);
    Model().SetFixed(1, 1);
}

void TStringGrid::SetCells(int Col, int Row, const std::string& S)
{
    FCells.SetCells(Col, Row, S);
    Model().CellChanged(Col, Row);
}

void TStringGrid::SetColCount(int Value)
{
    FCells.SetColCount(Value);
    CountsChanged();
}

void TStringGrid::SetRowCount(int Value)
{
    FCells.SetRowCount(Value);
    CountsChanged();
}

}  // namespace tarnel::gui

// =================================================================================================================
// The value viewer and editor
// =================================================================================================================

namespace tarnel {

namespace {

using gui::Guarded;

constexpr const char* kCaption = "View values";
constexpr const char* kSection = "TarnelEditor";
constexpr int kRowHeight = 18;
constexpr int kStayOnTop = 3;     // fsStayOnTop
constexpr int kScreenCenter = 4;  // poScreenCenter
constexpr int kDesigned = 0;      // poDesigned: FormLeft, FormTop

const QString kOpenFilter = QStringLiteral("Mtx files (*.mtx)|*.MTX|Vec files (*.vec)|*.VEC|text file (*.txt)|*.TXT");
const QString kSaveFilter = QStringLiteral(
    "Mtx files (*.mtx)|*.MTX|Vec files (*.vec)|*.VEC|text file (*.txt)|*.TXT|Matrix market files (*.mtx)|*.tmx");
const QString kDelimiterCaption = QStringLiteral("Delimiter = ");
const QString kTabCode = QStringLiteral("#9");

std::vector<TMtxEditTeeItemClass>& TeeItemList()
{
    static std::vector<TMtxEditTeeItemClass> list;
    return list;
}

// Mtx := Vec as one column (an empty vector gives 0 × 1).
void ColumnFromVec(TMtx& Mtx, const TVecs& Vec)
{
    if (Vec.Length() == 0)
        Mtx.Size(0, 1, Vec.Complex());
    else
        Mtx.CopyVec(Vec, Vec.Length());
}

QString Folder(const QString& fileName)
{
    return QFileInfo(fileName).absolutePath();
}

// Clipboard text as lines, split as the run-time's string list splits a stream (LF, CR LF, CR; a final line end adds
// no line).
TStringList TextLines(const QString& text)
{
    TStringStream stream(text.toStdString());
    TStringList lines;
    lines.LoadFromStream(stream);
    return lines;
}

// A delimiter text of the box: "#n" is the character of code n (1..255); another text is the delimiter itself.
// Nothing usable (no text, no code, code 0 or above 255) gives no delimiter.
bool DelimiterFromText(const QString& text, QString& delimiter)
{
    const auto hash = text.indexOf('#');
    if (hash < 0) {
        if (text.isEmpty()) return false;
        delimiter = text;
        return true;
    }
    int code = 0;
    if (!TryStrToInt(text.mid(hash + 1).toStdString(), code) || code < 1 || code > 255) return false;
    delimiter = QChar(code);
    return true;
}

}  // namespace

// ---- The working matrix as the grid's cells ---------------------------------------------------------------------

// Row 0 and column 0 are headers, as ValuesToGrid writes them with headers at (0, 0); the corner cell holds
// "Rows x Cols". Each text is made when asked for, by the format ValuesToGrid would use. A value cell set takes the
// number parsed from its text (StrToSample, whose error leaves the matrix as it was).
class TTarnelEditForm::TValueCells : public TCellGrid {
public:
    explicit TValueCells(TTarnelEditForm& Form) : F(Form) {}
    int ColCount() const override { return F.FValues.Cols() * Width() + 1; }
    int RowCount() const override { return F.FValues.Rows() + 1; }
    std::string Cells(int Col, int Row) const override
    {
        CheckCell(Col, Row);
        if (Row == 0 && Col == 0) return std::to_string(F.FValues.Rows()) + "x" + std::to_string(F.FValues.Cols());
        if (Row == 0) return detail::GridColumnHeader((Col - 1) / Width(), F.FValues.Complex(), (Col - 1) % Width());
        if (Col == 0) return std::to_string(Row - 1);
        return FormatSample(Format, Value(Col, Row), CurrentFormatSettings());
    }
    void SetCells(int Col, int Row, const std::string& S) override
    {
        CheckCell(Col, Row);
        if (Row == 0 || Col == 0) ERaise(msg::kGridIndex);  // headers are not values
        const double x = StrToSample(S);
        Value(Col, Row) = x;
    }
    // The number format, kept as the library takes it.
    std::string Format;

private:
    int Width() const { return F.FValues.Complex() ? 2 : 1; }
    double& Value(int Col, int Row) const
    {
        const std::int64_t element = std::int64_t{Row - 1} * F.FValues.Cols();
        return F.FValues.Values()[element * Width() + (Col - 1)];
    }
    TTarnelEditForm& F;
};

namespace {

class TValueGrid : public gui::TGridView {
public:
    TValueGrid(TCellGrid& Cells, QWidget* parent) : TGridView(parent) { Attach(Cells); }
};

}  // namespace

// ---- Plug-in entries --------------------------------------------------------------------------------------------

TMtxEditTeeItem::TMtxEditTeeItem(TTarnelEditForm& Form) : FForm(Form)
{
    FAction = new QAction(&Form);
    FMenuItem = Form.ChartMenu()->addAction(QString());
    const auto sync = [this] {
        if (!FMenuItem || !FAction) return;
        FMenuItem->setText(FAction->text());
        FMenuItem->setEnabled(FAction->isEnabled());
        FMenuItem->setVisible(FAction->isVisible());
        FMenuItem->setCheckable(FAction->isCheckable());
        FMenuItem->setChecked(FAction->isChecked());
    };
    QObject::connect(FAction, &QAction::changed, FMenuItem, sync);
    QObject::connect(FMenuItem, &QAction::triggered, FAction, [this] { FAction->trigger(); });
    QObject::connect(FAction, &QAction::triggered, &Form, gui::Guard([this] { Execute(); }));
}

TMtxEditTeeItem::~TMtxEditTeeItem()
{
    delete FMenuItem.data();
    delete FAction.data();
}

const std::vector<TMtxEditTeeItemClass>& TMtxEditTeeItems()
{
    return TeeItemList();
}

void RegisterTeeItem(TMtxEditTeeItemClass Class)
{
    auto& list = TeeItemList();
    if (std::find(list.begin(), list.end(), Class) == list.end()) list.push_back(Class);
}

void UnregisterTeeItem(TMtxEditTeeItemClass Class)
{
    auto& list = TeeItemList();
    list.erase(std::remove(list.begin(), list.end(), Class), list.end());
}

// ---- The form ---------------------------------------------------------------------------------------------------

TTarnelEditForm::TTarnelEditForm() : QDialog(nullptr), FCells(std::make_unique<TValueCells>(*this))
{
    setWindowTitle(QString::fromLatin1(kCaption));
    setMinimumWidth(180);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    FMenuBar = new QMenuBar(this);
    layout->setMenuBar(FMenuBar);
    FCells->Format = FStringFormat.toStdString();
    FGrid = new TValueGrid(*FCells, this);
    FGrid->setObjectName(QStringLiteral("StringGrid1"));
    FGrid->SetDefaultRowHeight(kRowHeight);
    FGrid->Model().SetHeaderLines(1, 1);
    FGrid->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);  // thumb tracking
    FGrid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    layout->addWidget(FGrid);
    BuildMenus();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdateActions(); });
    FOpenDialog.Filter = kOpenFilter;
    FSaveDialog.Filter = kSaveFilter;
    FSaveDialog.Save = true;
}

TTarnelEditForm::~TTarnelEditForm()
{
    FTeeItems.clear();
    Guarded([this] { WriteSettings(); });
}

QAction* TTarnelEditForm::AddAction(QMenu* Menu, const QString& Name, const QString& Caption, const QKeySequence& Key,
                                    void (TTarnelEditForm::*Work)())
{
    auto* a = new QAction(Caption, this);
    a->setObjectName(Name);
    a->setShortcut(Key);
    Menu->addAction(a);
    addAction(a);  // the shortcut works while the window is active, menus closed
    if (Work) connect(a, &QAction::triggered, this, gui::Guard([this, Work] { (this->*Work)(); }));
    return a;
}

void TTarnelEditForm::BuildMenus()
{
    QMenu* file = FMenuBar->addMenu(QStringLiteral("&File"));
    AddAction(file, "Load", "Load", {}, &TTarnelEditForm::Load);
    AddAction(file, "Save", "Save", {}, &TTarnelEditForm::Save);
    QAction* close = AddAction(file, "Close", "Close", {}, nullptr);
    connect(close, &QAction::triggered, this, [this] { this->close(); });

    QMenu* edit = FMenuBar->addMenu(QStringLiteral("&Edit"));
    AddAction(edit, "Copy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), &TTarnelEditForm::CopyAsIs);
    AddAction(edit, "CopyAsReal", "Copy as real", {}, &TTarnelEditForm::CopyAsReal);
    AddAction(edit, "Paste", "Paste", QKeySequence(Qt::CTRL | Qt::Key_V), &TTarnelEditForm::PasteAsIs);
    AddAction(edit, "PasteAsComplex", "Paste as complex", {}, &TTarnelEditForm::PasteAsComplex);
    AddAction(edit, "Size", "&Size", QKeySequence(Qt::CTRL | Qt::Key_S), &TTarnelEditForm::SizeValues);
    AddAction(edit, "Zero", "Initialize to zero", QKeySequence(Qt::CTRL | Qt::Key_I), &TTarnelEditForm::ZeroValues);

    QMenu* ops = FMenuBar->addMenu(QStringLiteral("Operations"));
    AddAction(ops, "Transp", "Transp", {}, &TTarnelEditForm::Transp);
    AddAction(ops, "Adjung", "Adjung", {}, &TTarnelEditForm::Adjung);
    AddAction(ops, "RealPart", "Real part", {}, &TTarnelEditForm::RealPart);
    AddAction(ops, "ImagPart", "Imag part", {}, &TTarnelEditForm::ImagPart);
    AddAction(ops, "Mag", "Mag", {}, &TTarnelEditForm::Mag);

    QMenu* options = FMenuBar->addMenu(QStringLiteral("&Options"));
    QAction* editable = AddAction(options, "Editable", "Editable", {}, nullptr);
    editable->setCheckable(true);
    connect(editable, &QAction::toggled, this, [this](bool on) { SetEditable(on); });
    AddAction(options, "ColumnWidth", "Column width", {}, &TTarnelEditForm::AskColumnWidth);
    AddAction(options, "Delimiter", kDelimiterCaption + kTabCode, {}, &TTarnelEditForm::AskDelimiter);
    AddAction(options, "StringFormat", "String format", {}, &TTarnelEditForm::AskStringFormat);
    QAction* scientific = AddAction(options, "Scientific", "Use scientific format", {}, nullptr);
    scientific->setCheckable(true);
    scientific->setVisible(false);
    connect(scientific, &QAction::toggled, this, [this](bool on) { FScientific = on; });

    FChartMenu = FMenuBar->addMenu(QStringLiteral("Chart"));
    FChartMenu->menuAction()->setVisible(false);
    for (QMenu* m : {file, edit, ops, options, FChartMenu})
        connect(m, &QMenu::aboutToShow, this, [this] { UpdateActions(); });
}

QAction* TTarnelEditForm::FindAction(const QString& Name) const
{
    return findChild<QAction*>(Name, Qt::FindDirectChildrenOnly);
}

void TTarnelEditForm::UpdateActions()
{
    const bool complex = FValues.Complex();
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    const bool text = clip && clip->hasText();
    for (const char* name : {"CopyAsReal", "RealPart", "ImagPart", "Mag"}) FindAction(name)->setEnabled(complex);
    for (const char* name : {"Paste", "PasteAsComplex"}) FindAction(name)->setEnabled(text);
    for (const char* name : {"Transp", "Adjung"}) FindAction(name)->setEnabled(!FIsVector);
    for (auto& item : FTeeItems) Guarded([&] { item->Update(); });
}

void TTarnelEditForm::SetEditable(bool Value)
{
    FEditable = Value;
    FGrid->SetEditing(Value);
    QAction* a = FindAction(QStringLiteral("Editable"));
    if (a->isChecked() != Value) a->setChecked(Value);
}

void TTarnelEditForm::SetDialogDefaults(const QString& Ext, int FilterIndex)
{
    for (gui::TFileDialog* d : {&FOpenDialog, &FSaveDialog}) {
        d->DefaultExt = Ext;
        d->FilterIndex = FilterIndex;
    }
}

// ---- Settings ---------------------------------------------------------------------------------------------------

namespace {

QString SettingsKey()
{
    return QString::fromLatin1(MtxRegistryKey) + '\\' + QString::fromLatin1(kSection);
}

QRect Available(const QWidget& w)
{
    const QScreen* s = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

void TTarnelEditForm::ReadSettings(int& Left, int& Top)
{
    gui::TRegistry reg;
    reg.OpenKey(SettingsKey(), true);
    FFormStyle = reg.ReadInteger(QStringLiteral("FormStyle"), 0);
    FFormPosition = reg.ReadInteger(QStringLiteral("FormPosition"), kScreenCenter);
    Left = reg.ReadInteger(QStringLiteral("FormLeft"), x());
    Top = reg.ReadInteger(QStringLiteral("FormTop"), y());
    // A stored delimiter that is empty would run the numbers together: a tab instead.
    const QString d = reg.ReadString(QStringLiteral("Delimiter"));
    FDelimiter = d.isEmpty() ? QStringLiteral("\t") : d;
    FStringFormat = reg.ValueExists(QStringLiteral("StringFormat")) ? reg.ReadString(QStringLiteral("StringFormat"))
                                                                    : QString::fromLatin1(kDefaultStringFormat);
    FColumnWidth = reg.ReadInteger(QStringLiteral("ColumnWidth"), kDefaultColumnWidth);
    if (FColumnWidth < 4) FColumnWidth = kDefaultColumnWidth;
    FScientific = reg.ReadBool(QStringLiteral("Scientific"), false);
    FLastSaveDir = reg.ReadString(QStringLiteral("LastSaveDir"));
    FLastOpenDir = reg.ReadString(QStringLiteral("LastOpenDir"));
    const QRect screen = Available(*this);
    resize(reg.ReadInteger(QStringLiteral("Width"), screen.width() / 2),
           reg.ReadInteger(QStringLiteral("Height"), screen.height() / 2));
}

void TTarnelEditForm::WriteSettings()
{
    gui::TRegistry reg;
    if (!reg.OpenKey(SettingsKey(), true)) return;
    reg.WriteInteger(QStringLiteral("FormStyle"), FFormStyle);  // not the stay-on-top of one call
    reg.WriteInteger(QStringLiteral("FormPosition"), FFormPosition);
    reg.WriteInteger(QStringLiteral("FormLeft"), x());
    reg.WriteInteger(QStringLiteral("FormTop"), y());
    reg.WriteString(QStringLiteral("Delimiter"), FDelimiter);
    reg.WriteString(QStringLiteral("StringFormat"), FStringFormat);
    reg.WriteInteger(QStringLiteral("ColumnWidth"), FColumnWidth);
    reg.WriteBool(QStringLiteral("Scientific"), FScientific);
    reg.WriteString(QStringLiteral("LastSaveDir"), FLastSaveDir);
    reg.WriteString(QStringLiteral("LastOpenDir"), FLastOpenDir);
    reg.WriteInteger(QStringLiteral("Width"), width());
    reg.WriteInteger(QStringLiteral("Height"), height());
}

// ---- Set-up and display -----------------------------------------------------------------------------------------

void TTarnelEditForm::Setup(const QString& Caption, bool Modal, bool StayOnTop, TMtx* CallerMtx, TVec* CallerVec)
{
    FIsVector = CallerVec != nullptr;
    int left = 0;
    int top = 0;
    ReadSettings(left, top);
    setWindowFlag(Qt::WindowStaysOnTopHint, StayOnTop || FFormStyle == kStayOnTop);
    QString caption = Caption;
    if (caption.isEmpty())
        caption = QString::fromStdString(CallerVec ? CallerVec->Caption() : CallerMtx ? CallerMtx->Caption() : "");
    if (!caption.isEmpty()) setWindowTitle(caption);  // no caption at all keeps "View values"
    if (FFormPosition == kDesigned) move(left, top);
    FindAction(QStringLiteral("Scientific"))->setChecked(FScientific);
    FOpenDialog.InitialDir = FLastOpenDir;
    FSaveDialog.InitialDir = FLastSaveDir;
    ShowValues();
    if (FFormPosition == kScreenCenter) {
        const QRect screen = Available(*this);
        move(screen.center() - QPoint(width() / 2, height() / 2));
    }
    FModal = Modal;
    if (Modal) {
        FCallerMtx = CallerMtx;
        FCallerVec = CallerVec;
        exec();
        FCallerMtx = nullptr;
        FCallerVec = nullptr;
    } else {
        show();
    }
}

void TTarnelEditForm::showEvent(QShowEvent* event)
{
    RebuildChartMenu();
    UpdateActions();
    QDialog::showEvent(event);
}

void TTarnelEditForm::RebuildChartMenu()
{
    FTeeItems.clear();
    FChartMenu->clear();
    const auto& classes = TMtxEditTeeItems();
    FChartMenu->menuAction()->setVisible(!classes.empty());
    for (TMtxEditTeeItemClass make : classes) FTeeItems.push_back(make(*this));
}

void TTarnelEditForm::ShowValues()
{
    FCells->Format = FScientific ? std::string() : FStringFormat.toStdString();
    FGrid->SetDefaultColWidth(FColumnWidth);
    const int rowCount = FCells->RowCount();
    const int colCount = FCells->ColCount();
    FGrid->Model().SetFixed(rowCount >= 2 ? 1 : 0, colCount >= 2 ? 1 : 0);
    FGrid->Model().Reset();

    const QRect screen = Available(*this);
    const int rowHeight = FGrid->DefaultRowHeight();
    int w = (FColumnWidth + 1) * colCount + 15;
    int maxW = static_cast<int>(0.85 * (screen.width() - (x() - screen.x())));
    if (maxW < 64) maxW = 64;
    w = std::min(std::max(w, 64), maxW);
    // Height less client height: what the menu takes.
    const int nonClient = FMenuBar->sizeHint().height();
    int h = nonClient + (rowHeight + 1) * (rowCount + 1) - 13;
    const int maxH = static_cast<int>(0.85 * (screen.height() - (y() - screen.y())));
    h = std::max(h, rowHeight + 1);
    h = std::min(h, maxH);
    resize(std::max(w, minimumWidth()), h);
    UpdateActions();
}

void TTarnelEditForm::done(int r)
{
    if (FModal && FEditable) {
        Guarded([this] {
            if (FCallerMtx) FCallerMtx->Copy(FValues);
            if (FCallerVec) FCallerVec->CopyMtx(FValues);
        });
    }
    QDialog::done(r);
}

// ---- The entries ------------------------------------------------------------------------------------------------

void TTarnelEditForm::Load()
{
    struct TRedisplay {  // the values are shown again on every way out, a cancelled dialog included
        TTarnelEditForm& F;
        ~TRedisplay()
        {
            Guarded([this] { F.ShowValues(); });
        }
    } redisplay{*this};
    if (!FOpenDialog.Execute()) return;
    FLastOpenDir = Folder(FOpenDialog.FileName);
    const std::string fileName = FOpenDialog.FileName.toStdString();
    detail::TMtxTemp loaded;  // a file that fails half-way leaves the values as they were
    switch (FOpenDialog.FilterIndex) {
        case 1:
            loaded->LoadFromFile(fileName);
            break;
        case 2: {
            detail::TVecTemp vec;
            vec->LoadFromFile(fileName);
            ColumnFromVec(*loaded, *vec);
            break;
        }
        case 3: {
            TFileStream stream(fileName, fmOpenRead);
            TStringList lines;
            lines.LoadFromStream(stream);
            loaded->StringsToValues(lines, FDelimiter.toStdString());
            break;
        }
        default:
            return;
    }
    FValues.Copy(*loaded);
}

void TTarnelEditForm::Save()
{
    if (!FSaveDialog.Execute()) return;
    FLastSaveDir = Folder(FSaveDialog.FileName);
    const std::string fileName = FSaveDialog.FileName.toStdString();
    switch (FSaveDialog.FilterIndex) {
        case 1:
            FValues.SaveToFile(fileName, false);
            break;
        case 2: {
            detail::TVecTemp vec;
            vec->CopyMtx(FValues);
            vec->SaveToFile(fileName, false);
            break;
        }
        case 3: {
            TStringList lines;
            FValues.ValuesToStrings(lines, FDelimiter.toStdString());
            lines.SaveToFile(fileName);
            break;
        }
        case 4:
            FValues.SaveToMatrixMarketFile(fileName);
            break;
        default:
            break;
    }
}

void TTarnelEditForm::CopyValues(bool AsReal)
{
    TStringList lines;
    if (AsReal) {
        detail::TMtxTemp real;
        real->Copy(FValues);
        real->SetComplex(false);
        real->ValuesToStrings(lines, FDelimiter.toStdString());
    } else {
        FValues.ValuesToStrings(lines, FDelimiter.toStdString());
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(lines.Text()));
}

void TTarnelEditForm::PasteValues(bool AsComplex)
{
    const TStringList lines = TextLines(QGuiApplication::clipboard()->text());
    detail::TMtxTemp pasted;  // taken whole or not at all
    pasted->StringsToValues(lines, FDelimiter.toStdString());
    if (AsComplex) pasted->SetComplex(true);
    FValues.Copy(*pasted);
    ShowValues();
}

void TTarnelEditForm::SizeValues()
{
    int rows = 0;
    int cols = 1;
    if (FIsVector) {
        rows = StrToInt(gui::InputBox("New vector length", "Length:", QString::number(FValues.Rows())).toStdString());
    } else {
        rows = StrToInt(gui::InputBox("New number of rows", "Rows:", QString::number(FValues.Rows())).toStdString());
        cols = StrToInt(gui::InputBox("New number of cols", "Cols:", QString::number(FValues.Cols())).toStdString());
    }
    FValues.Resize(rows, cols);
    ShowValues();
}

void TTarnelEditForm::ZeroValues()
{
    FValues.SetZero();
    ShowValues();
}

void TTarnelEditForm::Transp()
{
    FValues.Transp();
    ShowValues();
}

void TTarnelEditForm::Adjung()
{
    FValues.Adjung();
    ShowValues();
}

void TTarnelEditForm::Transform(TMtx1& (TMtx1::*Op)(const TMtx1&))
{
    detail::TMtxTemp part;
    ((*part).*Op)(FValues);
    FValues.Copy(*part);
    ShowValues();
}

void TTarnelEditForm::RealPart()
{
    Transform(&TMtx1::RealPart);
}

void TTarnelEditForm::ImagPart()
{
    Transform(&TMtx1::ImagPart);
}

void TTarnelEditForm::Mag()
{
    Transform(&TMtx1::Mag);
}

void TTarnelEditForm::AskColumnWidth()
{
    const int w = StrToInt(
        gui::InputBox("Column width selection", "New column width:", QString::number(FColumnWidth)).toStdString());
    FColumnWidth = w < 4 ? kDefaultColumnWidth : w;  // as a stored width: too narrow to show anything
    ShowValues();
}

void TTarnelEditForm::AskDelimiter()
{
    const QString text = gui::InputBox("Set new delimiter", "Delimiter:", kTabCode);
    QAction* a = FindAction(QStringLiteral("Delimiter"));
    if (DelimiterFromText(text, FDelimiter)) {
        a->setText(kDelimiterCaption + text);
    } else {
        a->setText(kDelimiterCaption + kTabCode);
        FDelimiter = QStringLiteral("\t");
    }
    ShowValues();
}

void TTarnelEditForm::AskStringFormat()
{
    FStringFormat = gui::InputBox("String format selection", "New string format:", FStringFormat);
    ShowValues();
}

// ---- Opening ----------------------------------------------------------------------------------------------------

void ViewValues(TMtx& Mtx, const QString& Caption, bool Modal, bool StayOnTop)
{
    auto form = std::make_unique<TTarnelEditForm>();
    form->SetDialogDefaults(QStringLiteral("mtx"), 1);
    form->Values().Copy(Mtx);
    if (!Modal) form->setAttribute(Qt::WA_DeleteOnClose);
    form->Setup(Caption, Modal, StayOnTop, &Mtx, nullptr);
    if (!Modal) form.release();  // frees itself when closed
}

void ViewValues(TVec& Vec, const QString& Caption, bool Modal, bool StayOnTop)
{
    auto form = std::make_unique<TTarnelEditForm>();
    form->SetDialogDefaults(QStringLiteral("vec"), 2);
    ColumnFromVec(form->Values(), Vec);
    if (!Modal) form->setAttribute(Qt::WA_DeleteOnClose);
    form->Setup(Caption, Modal, StayOnTop, nullptr, &Vec);
    if (!Modal) form.release();
}

}  // namespace tarnel
