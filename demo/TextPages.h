// The text pages: explanations and function lists that do nothing beyond showing their text and wiring the help
// button. TVecList and TMtxList here are pages, not the library's owning lists of the same names.
#pragma once

#include "demo/Basic3.h"
#include "demo/PageContract.h"

namespace paxtor {

class TTextPage : public TBasicForm3 {
    Q_OBJECT
public:
    TTextPage(QWidget* owner, const char* textFile, THelpKind help);
    const TPageHelp& Help() const { return FHelp; }

private:
    TPageHelp FHelp;
};

// clang-format off
class TIntroMtx : public TTextPage { public: explicit TIntroMtx(QWidget* o) : TTextPage(o, "Texts/IntroMtx.rtf", HelpOff) {} };
class TIntroVec : public TTextPage { public: explicit TIntroVec(QWidget* o) : TTextPage(o, "Texts/IntroVec.rtf", HelpOff) {} };
class TIntroExpImp : public TTextPage { public: explicit TIntroExpImp(QWidget* o) : TTextPage(o, "Texts/IntroExpImp.rtf", HelpOff) {} };
class TIntroMemMan : public TTextPage { public: explicit TIntroMemMan(QWidget* o) : TTextPage(o, "Texts/IntroMemMan.rtf", HelpOff) {} };
class TIntroPoly : public TTextPage { public: explicit TIntroPoly(QWidget* o) : TTextPage(o, "Texts/IntroPoly.rtf", HelpOff) {} };
class TIntroFunList : public TTextPage { public: explicit TIntroFunList(QWidget* o) : TTextPage(o, "Texts/IntroFunList.rtf", HelpOff) {} };
class TVecList : public TTextPage { public: explicit TVecList(QWidget* o) : TTextPage(o, "Texts/ListTVec.rtf", HelpNumber(7370)) {} };
class TMtxList : public TTextPage { public: explicit TMtxList(QWidget* o) : TTextPage(o, "Texts/ListTMtx.rtf", HelpNumber(3090)) {} };
class TMathList : public TTextPage { public: explicit TMathList(QWidget* o) : TTextPage(o, "Texts/ListDovi387.rtf", HelpNumber(10)) {} };
class TListOpt : public TTextPage { public: explicit TListOpt(QWidget* o) : TTextPage(o, "Texts/ListOpt.rtf", HelpNumber(1760)) {} };
class TListProb : public TTextPage { public: explicit TListProb(QWidget* o) : TTextPage(o, "Texts/ListProb.rtf", HelpNumber(1980)) {} };
class TListSpecFun : public TTextPage { public: explicit TListSpecFun(QWidget* o) : TTextPage(o, "Texts/ListSpecFun.rtf", HelpNumber(1510)) {} };
class TPolyList : public TTextPage { public: explicit TPolyList(QWidget* o) : TTextPage(o, "Texts/ListPoly.rtf", HelpNumber(1040)) {} };
class TfrmChanges101 : public TTextPage { public: explicit TfrmChanges101(QWidget* o) : TTextPage(o, "Texts/Changes101.rtf", HelpOff) {} };
class TfrmChanges102 : public TTextPage { public: explicit TfrmChanges102(QWidget* o) : TTextPage(o, "Texts/Changes102.rtf", HelpOff) {} };
class TfrmChanges15 : public TTextPage { public: explicit TfrmChanges15(QWidget* o) : TTextPage(o, "Texts/Changes15.rtf", HelpOff) {} };
class TQStart : public TTextPage { public: explicit TQStart(QWidget* o) : TTextPage(o, "Texts/QuickStart.rtf", HelpOff) {} };
// clang-format on

// Registers the text pages (TIntroduction included) by class name.
void RegisterTextPages();

}  // namespace paxtor
