// Fuzz target "rtf": the RTF reader on fuzzer bytes. Any input gives a document and returns; an input that starts
// with the bytes FF FE is repeated up to about 300 KB, so that the fuzzer's time limit catches readers slower than
// linear (a two-byte mark, so that most runs stay short and the fuzzer fast).
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

#include "FuzzInput.h"
#include "platform/gui/RtfReader.h"

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*Argc, *Argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    QByteArray rtf(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size));
    if (Size > 2 && Data[0] == 0xFF && Data[1] == 0xFE) {
        const QByteArray unit = rtf.mid(2);
        rtf = "{\\rtf1 ";
        while (rtf.size() < 300 * 1024) rtf += unit;
        rtf += "}";
    }
    QTextDocument doc;
    tarnel::gui::ReadRtf(rtf, doc);
    // The text read must be the document's own: reading it touches every fragment the reader made.
    const QString text = doc.toPlainText();
    if (text.size() > rtf.size() + 1) fuzz::Finding("rtf", "more characters than input bytes");
    return 0;
}
