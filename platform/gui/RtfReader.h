// A reader for the subset of RTF that our page explanations use, into a QTextDocument.
//
// Understood: groups; the font table (\fN picks the family) and the colour table (\cfN); paragraphs (\par,
// \pard, \ql \qc \qr \qj, \li \ri \fi \sb \sa in twips, tab stops \txN); characters (\plain, \b \i \ul \ulnone
// with their 0 forms, \fsN in half points); \tab, \line, \bullet, dashes and quotes, \'hh in code page 1252,
// \uN with \ucN, the escaped \\ \{ \}. Destinations that carry no text for the reader (\*..., info, stylesheet,
// pictures, headers, \pn numbering, field instructions) are skipped. Unknown control words are ignored.
//
// Data that does not start with "{\rtf" is taken as plain text (UTF-8). Malformed RTF never fails: unbalanced
// braces, a cut-off file or an unknown colour index give the text that can be read.
#pragma once

#include <QByteArray>
#include <QTextDocument>

namespace tarnel::gui {

// Appends the text of rtf to doc, which should be empty.
void ReadRtf(const QByteArray& rtf, QTextDocument& doc);

}  // namespace tarnel::gui
