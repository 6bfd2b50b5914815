#include "demo/PendingPage.h"

#include <QLabel>
#include <QVBoxLayout>

namespace paxtor {

TPendingPage::TPendingPage(QWidget* owner, const QString& className) : TForm(owner), FClassName(className), FHelp(this)
{
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(
        QStringLiteral("This page (%1) is not yet available in this version of the demo program.").arg(className),
        this);
    label->setObjectName("lblPending");
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    layout->addWidget(label);
    FHelp.Apply(HelpOff);
}

}  // namespace paxtor
