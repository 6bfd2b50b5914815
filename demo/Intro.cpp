#include "demo/Intro.h"

#include <QVBoxLayout>

#include "demo/DemoFiles.h"

namespace paxtor {

TIntroduction::TIntroduction(QWidget* owner) : TForm(owner), FHelp(this)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Label1 = new QLabel(QStringLiteral("Welcome to Tarnel v 1.5"), this);
    Label1->setObjectName("Label1");
    Label1->setFixedHeight(60);
    Label1->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(20);
    font.setBold(true);
    Label1->setFont(font);
    QPalette pal = Label1->palette();
    pal.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    Label1->setPalette(pal);
    layout->addWidget(Label1);

    RichEdit1 = new tarnel::gui::TRichEdit(this);
    RichEdit1->setObjectName("RichEdit1");
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette editPal = RichEdit1->palette();
    editPal.setColor(QPalette::Base, tarnel::gui::ColorFromBGR(0xFFDFDF));
    RichEdit1->setPalette(editPal);
    layout->addWidget(RichEdit1, 1);

    LoadPageText(RichEdit1, QStringLiteral("Texts/Intro.rtf"));
    FHelp.Apply(HelpOff);
}

}  // namespace paxtor
