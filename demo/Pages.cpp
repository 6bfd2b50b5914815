#include "demo/Pages.h"

#include "demo/CalcSqrtMtx.h"
#include "demo/CopyCompare.h"
#include "demo/EigenVectors1.h"
#include "demo/InverseMtx.h"
#include "demo/LQR1.h"
#include "demo/DefaultArray.h"
#include "demo/GetMemComp.h"
#include "demo/MemoryCompare1.h"
#include "demo/FileHandling1.h"
#include "demo/Save_Precision.h"
#include "demo/ClipboardMSOffice.h"
#include "demo/YuleLevinson.h"
#include "demo/PixelDownS.h"
#include "demo/Multiply1.h"
#include "demo/SysLinear1.h"
#include "demo/TextPages.h"
#include "demo/ProbCalc.h"
#include "demo/MtxOptim.h"
#include "demo/Interp1.h"
#include "demo/QRPoly1.h"
#include "demo/SparseTest.h"
#include "demo/ParserDemo.h"
#include "demo/BlockProcessing.h"
#include "demo/FloatEdit1.h"
#include "demo/ProgDialog.h"
#include "demo/MtxGridSeries_Demo.h"
#include "platform/gui/ClassRegistry.h"

namespace paxtor {

void RegisterPages()
{
    static int registered = 0;
    if (registered++) return;
    RegisterTextPages();
    tarnel::gui::RegisterClass(QStringLiteral("TMult1"), [](QWidget* owner) { return new TMult1(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TCopyComp"), [](QWidget* owner) { return new TCopyComp(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TInvMtx"), [](QWidget* owner) { return new TInvMtx(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TfrmSqrtMtx"), [](QWidget* owner) { return new TfrmSqrtMtx(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TEigVec1"), [](QWidget* owner) { return new TEigVec1(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TLQRDemo"), [](QWidget* owner) { return new TLQRDemo(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TLinearSystem1"),
                               [](QWidget* owner) { return new TLinearSystem1(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TMemComp1"), [](QWidget* owner) { return new TMemComp1(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TGetMemC"), [](QWidget* owner) { return new TGetMemC(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TDefArray"), [](QWidget* owner) { return new TDefArray(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TFileH1"), [](QWidget* owner) { return new TFileH1(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TfrmSavePrec"), [](QWidget* owner) { return new TfrmSavePrec(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TMSOffice"), [](QWidget* owner) { return new TMSOffice(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TProb1"), [](QWidget* owner) { return new TProb1(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TfrmMtxOptim"), [](QWidget* owner) { return new TfrmMtxOptim(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TYuleLev"), [](QWidget* owner) { return new TYuleLev(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TDownS"), [](QWidget* owner) { return new TDownS(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TInterpolating1"),
                               [](QWidget* owner) { return new TInterpolating1(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TLQRPoly"), [](QWidget* owner) { return new TLQRPoly(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TfrmSparseTest"),
                               [](QWidget* owner) { return new TfrmSparseTest(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TfrmParser"), [](QWidget* owner) { return new TfrmParser(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TfrmBlockProc"), [](QWidget* owner) { return new TfrmBlockProc(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TfrmFloatEdit1"),
                               [](QWidget* owner) { return new TfrmFloatEdit1(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TfrmProgDialog"),
                               [](QWidget* owner) { return new TfrmProgDialog(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TfrmMtxGridSeries"),
                               [](QWidget* owner) { return new TfrmMtxGridSeries(owner); });
}

}  // namespace paxtor
