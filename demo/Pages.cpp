#include "demo/Pages.h"

#include "demo/CopyCompare.h"
#include "demo/Multiply1.h"
#include "demo/PendingPage.h"
#include "demo/TextPages.h"
#include "demo/ProbCalc.h"
#include "demo/MtxOptim.h"
#include "demo/Interp1.h"
#include "demo/QRPoly1.h"
#include "platform/gui/ClassRegistry.h"

namespace paxtor {

QStringList PendingPageClasses()
{
    // Each demonstration page replaces its line here by its own registration when it is built.
    return {
        QStringLiteral("TInvMtx"),
        QStringLiteral("TfrmSqrtMtx"),
        QStringLiteral("TEigVec1"),
        QStringLiteral("TLQRDemo"),
        QStringLiteral("TLinearSystem1"),
        QStringLiteral("TYuleLev"),
        QStringLiteral("TDownS"),
        QStringLiteral("TFileH1"),
        QStringLiteral("TfrmSavePrec"),
        QStringLiteral("TMSOffice"),
        QStringLiteral("TMemComp1"),
        QStringLiteral("TGetMemC"),
        QStringLiteral("TDefArray"),
        QStringLiteral("TfrmFloatEdit1"),
        QStringLiteral("TfrmProgDialog"),
        QStringLiteral("TfrmParser"),
        QStringLiteral("TfrmSparseTest"),
        QStringLiteral("TfrmBlockProc"),
        QStringLiteral("TfrmMtxGridSeries"),
    };
}

void RegisterPages()
{
    static int registered = 0;
    if (registered++) return;
    RegisterTextPages();
    tarnel::gui::RegisterClass(QStringLiteral("TMult1"), [](QWidget* owner) { return new TMult1(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TCopyComp"), [](QWidget* owner) { return new TCopyComp(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TProb1"), [](QWidget* owner) { return new TProb1(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TfrmMtxOptim"), [](QWidget* owner) { return new TfrmMtxOptim(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TInterpolating1"),
                               [](QWidget* owner) { return new TInterpolating1(owner); });
    tarnel::gui::RegisterClass(QStringLiteral("TLQRPoly"), [](QWidget* owner) { return new TLQRPoly(owner); });
    for (const QString& name : PendingPageClasses())
        tarnel::gui::RegisterClass(name, [name](QWidget* owner) { return new TPendingPage(owner, name); });
}

}  // namespace paxtor
