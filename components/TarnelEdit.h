// The value viewer and editor, and the string grid it and the matrix pages show values in.
//
// TGridView shows the cells of any TCellGrid (core/CellGrid.h) through a table model that asks the grid for a text
// only when a cell is painted: no item per cell. The first FixedRows rows and FixedCols columns are header cells,
// painted as such, never selected and never edited; the other cells are edited only while Editing is set, and an
// edit reaches the grid through its SetCells, so a grid that refuses a text (by raising) keeps the cell as it was
// and the error goes to the error box. The view's own headers are hidden: headers are cells, as in the framework.
//
// TStringGrid is the framework's string grid on Qt: a TGridView over cells held in memory, itself a TCellGrid, so
// ValuesToGrid and GridToValues of vectors and matrices write and read it. It lives in tarnel::gui because
// tarnel::TStringGrid is the core's grid in memory (the cells this one holds).
#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QPointer>
#include <QTableView>
#include <memory>
#include <string>
#include <vector>

#include "core/CellGrid.h"
#include "core/mtx_class.h"
#include "core/vec_class.h"
#include "platform/gui/Dialogs.h"

class QAction;
class QMenu;
class QMenuBar;

namespace tarnel::gui {

// The cells of a TCellGrid as a Qt table model. Rows and columns are the grid's; DisplayRole and EditRole give the
// cell's text, BackgroundRole the header colour on fixed cells.
class TCellGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TCellGridModel(TCellGrid& Cells, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Hands the text to the grid's SetCells, guarded: false (and the cell unchanged) when the grid raised.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int FixedRows() const { return FFixedRows; }
    int FixedCols() const { return FFixedCols; }
    void SetFixed(int Rows, int Cols);
    bool Editing() const { return FEditing; }
    void SetEditing(bool Value);
    bool IsFixed(int Col, int Row) const { return Row < FFixedRows || Col < FFixedCols; }
    // The first Rows rows and Cols columns are never edited, fixed or not (headers of a grid too small to have
    // fixed cells).
    void SetHeaderLines(int Rows, int Cols);
    bool IsHeader(int Col, int Row) const { return IsFixed(Col, Row) || Row < FHeaderRows || Col < FHeaderCols; }

    // The grid's counts or many of its texts changed: views ask again.
    void Reset();
    // One cell's text changed; the notifications of a burst are gathered into one, sent when control returns to
    // the event loop (writing a 100 × 100 block costs one repaint, not 10,000).
    void CellChanged(int Col, int Row);

private:
    void FlushChanges();
    TCellGrid& FCells;
    int FFixedRows = 0;
    int FFixedCols = 0;
    int FHeaderRows = 0;
    int FHeaderCols = 0;
    bool FEditing = false;
    bool FPending = false;  // a gathered change waits for the event loop
    int FTop = 0, FLeft = 0, FBottom = -1, FRight = -1;
};

// A table view of a TCellGrid with the string grid's display: lines, range selection, fixed header cells, a default
// column width and row height (every column and row has it), editing off until switched on.
class TGridView : public QTableView {
    Q_OBJECT
public:
    explicit TGridView(QWidget* parent);

    // The model over the cells given to Attach.
    TCellGridModel& Model() const { return *FModel; }
    int FixedRows() const { return FModel->FixedRows(); }
    int FixedCols() const { return FModel->FixedCols(); }
    // Raises "Fixed row count must be less than row count" (and the column text) unless 0 <= Value < the count.
    void SetFixedRows(int Value);
    void SetFixedCols(int Value);
    // Whether cells other than the fixed ones can be edited (double click, F2 or typing).
    bool Editing() const { return FModel->Editing(); }
    void SetEditing(bool Value);
    int DefaultColWidth() const;
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int Value);

protected:
    // Shows Cells (which must outlive the view); called once, from the constructor of the class that holds them.
    void Attach(TCellGrid& Cells);
    // After the grid's counts changed: fewer rows or columns than fixed ones leave count - 1 fixed ones.
    void CountsChanged();

private:
    TCellGridModel* FModel = nullptr;
};

// The framework's string grid: 5 × 5 empty cells at creation, one fixed row and column, columns 64 and rows 24
// pixels, editing off.
class TStringGrid : public TGridView, public TCellGrid {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);

    int ColCount() const override { return FCells.ColCount(); }
    int RowCount() const override { return FCells.RowCount(); }
    std::string Cells(int Col, int Row) const override { return FCells.Cells(Col, Row); }
    void SetCells(int Col, int Row, const std::string& S) override;
    // New counts keep the cells that stay inside, the new ones are empty; a negative count raises "Grid size < 0".
    void SetColCount(int Value);
    void SetRowCount(int Value);

private:
    tarnel::TStringGrid FCells{5, 5};
};

}  // namespace tarnel::gui

namespace tarnel {

class TTarnelEditForm;

// A plug-in entry of the viewer's "Chart" menu. A descendant's constructor (taking the form, as the base's) sets
// the action's caption; Execute runs when the entry is chosen (guarded: an error goes to the error box) and Update
// sets the action's state each time the menu opens. The action belongs to the form, the menu item to its "Chart"
// menu; both go with the entry.
class TMtxEditTeeItem {
public:
    explicit TMtxEditTeeItem(TTarnelEditForm& Form);
    virtual ~TMtxEditTeeItem();
    TMtxEditTeeItem(const TMtxEditTeeItem&) = delete;
    TMtxEditTeeItem& operator=(const TMtxEditTeeItem&) = delete;

    QAction* Action() const { return FAction; }
    TTarnelEditForm& Form() const { return FForm; }
    // The "Chart" menu's item, linked to Action: it shows the action's caption and state and triggers it.
    QAction* MenuItem() const { return FMenuItem; }

    virtual void Execute() {}
    virtual void Update() {}

private:
    QPointer<QAction> FAction;
    TTarnelEditForm& FForm;
    QPointer<QAction> FMenuItem;
};

// A class of entries: its virtual constructor. TeeItemClass<T>() is the class of T.
using TMtxEditTeeItemClass = std::unique_ptr<TMtxEditTeeItem> (*)(TTarnelEditForm& Form);
template <class T>
std::unique_ptr<TMtxEditTeeItem> TeeItemClass(TTarnelEditForm& Form)
{
    return std::make_unique<T>(Form);
}
// The registered classes in the order of registration (a function-local list, so no start-up order matters).
// Registering a class twice lists it once; unregistering removes it.
const std::vector<TMtxEditTeeItemClass>& TMtxEditTeeItems();
void RegisterTeeItem(TMtxEditTeeItemClass Class);
void UnregisterTeeItem(TMtxEditTeeItemClass Class);

// The "View values" window: a private working copy of a vector or matrix shown in a grid, edited, transformed,
// loaded, saved, copied and pasted; see ViewValues. Its settings live in the group "TarnelEditor" of the library's
// key.
//
// Edits are parsed into the working matrix as each cell is committed (a text that does not parse is refused with
// its error and the cell keeps its value), so the working matrix always holds what the grid shows, untouched values
// exactly, and nothing reads the grid's texts back.
class TTarnelEditForm : public QDialog {
    Q_OBJECT
public:
    // The form's defaults: column width 64, string format "0.0000".
    static constexpr int kDefaultColumnWidth = 64;
    static constexpr const char* kDefaultStringFormat = "0.0000";

    TTarnelEditForm();
    ~TTarnelEditForm() override;  // writes the settings

    // The working matrix (a vector's values are its one column) and whether cells may be edited.
    TMtx& Values() { return FValues; }
    const TMtx& Values() const { return FValues; }
    bool Editable() const { return FEditable; }
    void SetEditable(bool Value);
    bool IsVector() const { return FIsVector; }
    gui::TGridView& Grid() const { return *FGrid; }
    QMenu* ChartMenu() const { return FChartMenu; }

    QString Delimiter() const { return FDelimiter; }
    QString StringFormat() const { return FStringFormat; }
    int ColumnWidth() const { return FColumnWidth; }
    bool Scientific() const { return FScientific; }
    QString LastSaveDir() const { return FLastSaveDir; }
    QString LastOpenDir() const { return FLastOpenDir; }
    // The style asked for at set-up: 3 stays on top, 0 is normal.
    int FormStyle() const { return FFormStyle; }

    // The menu's actions, by their captions' names: File (Load, Save, Close), Edit (Copy, CopyAsReal, Paste,
    // PasteAsComplex, Size, Zero), Operations (Transp, Adjung, RealPart, ImagPart, Mag), Options (Editable,
    // ColumnWidth, Delimiter, StringFormat, Scientific).
    QAction* FindAction(const QString& Name) const;
    // Enables each action by its rule; runs when a menu opens and when the clipboard changes.
    void UpdateActions();

    // The entries' work, as the menu runs them.
    void Load();
    void Save();
    void CopyValues(bool AsReal);
    void CopyAsIs() { CopyValues(false); }
    void CopyAsReal() { CopyValues(true); }
    void PasteValues(bool AsComplex);
    void PasteAsIs() { PasteValues(false); }
    void PasteAsComplex() { PasteValues(true); }
    void SizeValues();
    void ZeroValues();
    void Transp();
    void Adjung();
    void RealPart();
    void ImagPart();
    void Mag();
    void AskColumnWidth();
    void AskDelimiter();
    void AskStringFormat();

    // Shows the working matrix: grid counts, window size, corner cell; texts come from the matrix when painted.
    void ShowValues();
    // Set-up and show (ViewValues). Modal returns when the window closed: a modal, editable window has then
    // written the working matrix back (a matrix is copied, a vector takes the values, length included).
    void Setup(const QString& Caption, bool Modal, bool StayOnTop, TMtx* CallerMtx, TVec* CallerVec);

    // Both file dialogs start with this default extension and filter (ViewValues: "mtx" and 1, a vector "vec"
    // and 2); the dialogs keep what the user last chose.
    void SetDialogDefaults(const QString& Ext, int FilterIndex);
    gui::TFileDialog& OpenDialog() { return FOpenDialog; }
    gui::TFileDialog& SaveDialog() { return FSaveDialog; }

protected:
    void done(int r) override;
    void showEvent(QShowEvent* event) override;

private:
    class TValueCells;
    void BuildMenus();
    QAction* AddAction(QMenu* Menu, const QString& Name, const QString& Caption, const QKeySequence& Key,
                       void (TTarnelEditForm::*Work)());
    void RebuildChartMenu();
    void ReadSettings(int& Left, int& Top);
    void WriteSettings();
    // Values := Op of the values, through a pooled copy.
    void Transform(TMtx1& (TMtx1::*Op)(const TMtx1&));

    TMtx FValues;
    std::unique_ptr<TValueCells> FCells;
    gui::TGridView* FGrid = nullptr;
    QMenuBar* FMenuBar = nullptr;
    QMenu* FChartMenu = nullptr;
    std::vector<std::unique_ptr<TMtxEditTeeItem>> FTeeItems;

    bool FIsVector = false;
    bool FEditable = false;
    bool FModal = false;
    TMtx* FCallerMtx = nullptr;  // only while modal: a window left open never touches the caller's object
    TVec* FCallerVec = nullptr;
    QString FDelimiter = QStringLiteral("\t");
    QString FStringFormat = QString::fromLatin1(kDefaultStringFormat);
    int FColumnWidth = kDefaultColumnWidth;
    bool FScientific = false;
    QString FLastSaveDir;
    QString FLastOpenDir;
    int FFormStyle = 0;  // as read from the settings, and written back so
    int FFormPosition = 4;
    gui::TFileDialog FOpenDialog;
    gui::TFileDialog FSaveDialog;
};

// Opens the "View values" window on a copy of Mtx (dialogs default to "mtx" and filter 1) or of Vec as one column
// ("vec", filter 2). Caption empty: the object's Caption. Modal: returns when the window closed; otherwise the
// window stays open on its own and frees itself when closed.
void ViewValues(TMtx& Mtx, const QString& Caption, bool Modal, bool StayOnTop);
void ViewValues(TVec& Vec, const QString& Caption, bool Modal, bool StayOnTop);

}  // namespace tarnel
