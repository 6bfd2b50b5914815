#include "demo/FileHandling1.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "demo/DemoFiles.h"
#include "demo/ValueViewerSeam.h"
#include "platform/gui/Guard.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"

namespace paxtor {

using namespace tarnel;
using namespace tarnel::gui;

namespace {

const char* const kVecFile = "TestVec1.vec";
const char* const kTextFile = "ASCIIMtx.txt";

}  // namespace

TFileH1::TFileH1(QWidget* owner) : TBasicForm2(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QStringLiteral("Texts/Export1.rtf"));

    auto* middle = new QVBoxLayout(Panel3);
    middle->setContentsMargins(4, 4, 4, 4);
    Label1 = new QLabel(QStringLiteral("Code used : "), Panel3);
    middle->addWidget(Label1);
    RichEdit2 = new TRichEdit(Panel3);
    RichEdit2->setObjectName("RichEdit2");
    RichEdit2->setReadOnly(true);
    RichEdit2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    middle->addWidget(RichEdit2, 1);

    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(8, 4, 8, 4);
    CheckView = new QCheckBox(QStringLiteral("View loaded values"), Panel2);
    CheckView->setObjectName("CheckView");
    bottom->addWidget(CheckView);
    const auto button = [&](const char* caption, const char* name) {
        auto* b = new QPushButton(QString::fromLatin1(caption), Panel2);
        b->setObjectName(QString::fromLatin1(name));
        bottom->addWidget(b);
        return b;
    };
    btnStream = button("Streams : Read/Write", "btnStream");
    btnFile = button("Binary files : Read/Write", "btnFile");
    btnBlob = button("BLOB files : Read/Write", "btnBlob");
    btnText = button("Text files : Read/Write", "btnText");
    bottom->addStretch(1);

    connect(btnStream, &QPushButton::clicked, this, Guard([this] { StreamsReadWrite(); }));
    connect(btnFile, &QPushButton::clicked, this, Guard([this] { BinaryFilesReadWrite(); }));
    connect(btnBlob, &QPushButton::clicked, this, Guard([this] { BlobFilesReadWrite(); }));
    connect(btnText, &QPushButton::clicked, this, Guard([this] { TextFilesReadWrite(); }));
    FHelp.Apply(HelpOff);
}

void TFileH1::ShowCode(const QString& relative)
{
    RichEdit2->clear();
    LoadPageText(RichEdit2, relative);
}

void TFileH1::StreamsReadWrite()
{
    ShowCode(QStringLiteral("Texts/FileH1Stream.rtf"));
    FMtx->Size(10, 10, false);
    FMtx->RandGauss();
    TMemoryStream stream;
    FMtx->SaveToStream(stream, prDouble, rnTrunc);
    detail::TMtxTemp loaded;
    stream.Seek(0, soBeginning);
    loaded->LoadFromStream(stream);
    if (CheckView->isChecked()) ShowValuesModal(*loaded, QStringLiteral("Memory stream"));
}

void TFileH1::BinaryFilesReadWrite()
{
    ShowCode(QStringLiteral("Texts/FileH1FILE.rtf"));
    FVec->Size(100, false);
    FVec->RandUniform(-2, 2);
    FVec->SaveToFile(kVecFile);
    detail::TVecTemp loaded;
    loaded->LoadFromFile(kVecFile);
    if (CheckView->isChecked()) ShowValuesModal(*loaded, QStringLiteral("File Stream"));
}

void TFileH1::BlobFilesReadWrite()
{
    ShowCode(QStringLiteral("Texts/FileH1BLOB.rtf"));
}

void TFileH1::TextFilesReadWrite()
{
    ShowCode(QStringLiteral("Texts/FileH1TXT.rtf"));
    FMtx->Size(20, 20, true);
    FMtx->RandUniform(-1, 2);
    {
        TStringList lines;
        FMtx->ValuesToStrings(lines, "\t", " 0.###;-0.###", "+0.###i;-0.###i");
        lines.SaveToFile(kTextFile);
    }
    TStringList lines;
    lines.LoadFromFile(kTextFile);
    detail::TMtxTemp loaded;
    loaded->StringsToValues(lines, "\t");
    if (CheckView->isChecked()) ShowValuesModal(*loaded, QStringLiteral("TEXT file"));
}

}  // namespace paxtor
