#include "platform/gui/Controls.h"

#include <QFile>

#include "platform/gui/Guard.h"
#include "platform/gui/RtfReader.h"
#include "platform/rtl/SysUtils.h"

namespace tarnel::gui {

TForm::TForm(QWidget* owner) : QWidget(owner), FOwner(owner) {}

TFlatButton::TFlatButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QPushButton::clicked, this, Guard([this] {
                if (OnClick) {
                    // The handler may replace itself (a page that closes): run a copy.
                    const std::function<void()> handler = OnClick;
                    handler();
                }
            }));
}

TRichEdit::TRichEdit(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TRichEdit::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception("Cannot open file \"" + fileName.toStdString() + "\". " + file.errorString().toStdString());
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Exception("Cannot read file \"" + fileName.toStdString() + "\". " + file.errorString().toStdString());
    document()->clear();
    ReadRtf(data, *document());
    moveCursor(QTextCursor::Start);
}

QColor ColorFromBGR(unsigned value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

}  // namespace tarnel::gui
