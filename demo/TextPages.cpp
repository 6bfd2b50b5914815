#include "demo/TextPages.h"

#include "demo/DemoFiles.h"
#include "demo/Intro.h"
#include "platform/gui/ClassRegistry.h"

namespace paxtor {

TTextPage::TTextPage(QWidget* owner, const char* textFile, THelpKind help) : TBasicForm3(owner), FHelp(this)
{
    LoadPageText(RichEdit1, QString::fromLatin1(textFile));
    FHelp.Apply(help);
}

namespace {

template <class TPage>
void Register(const char* name)
{
    tarnel::gui::RegisterClass(QString::fromLatin1(name), [](QWidget* owner) { return new TPage(owner); });
}

}  // namespace

void RegisterTextPages()
{
    Register<TIntroduction>("TIntroduction");
    Register<TIntroMtx>("TIntroMtx");
    Register<TIntroVec>("TIntroVec");
    Register<TIntroExpImp>("TIntroExpImp");
    Register<TIntroMemMan>("TIntroMemMan");
    Register<TIntroPoly>("TIntroPoly");
    Register<TIntroFunList>("TIntroFunList");
    Register<TVecList>("TVecList");
    Register<TMtxList>("TMtxList");
    Register<TMathList>("TMathList");
    Register<TListOpt>("TListOpt");
    Register<TListProb>("TListProb");
    Register<TListSpecFun>("TListSpecFun");
    Register<TPolyList>("TPolyList");
    Register<TfrmChanges101>("TfrmChanges101");
    Register<TfrmChanges102>("TfrmChanges102");
    Register<TfrmChanges15>("TfrmChanges15");
    Register<TQStart>("TQStart");
}

}  // namespace paxtor
