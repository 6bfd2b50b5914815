#include "platform/gui/RtfReader.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextOption>
#include <algorithm>
#include <climits>
#include <map>
#include <vector>

namespace tarnel::gui {

namespace {

constexpr double TwipsPerPixel = 15.0;  // 1440 twips per inch at 96 pixels per inch
constexpr int MaxParam = 1 << 20;       // parameters are clamped to this magnitude

// What a group carries: characters and paragraph settings, and whether its text is shown.
struct TGroupState {
    enum class TDest { Text, Skip, FontTable, ColorTable };
    TDest Dest = TDest::Text;
    bool Bold = false, Italic = false, Underline = false;
    int FontSize2 = 24;  // half points
    int Font = -1;
    int Color = 0;  // 0: automatic
    int UnicodeSkip = 1;
    Qt::Alignment Align = Qt::AlignLeft;
    int LeftIndent = 0, RightIndent = 0, FirstIndent = 0, SpaceBefore = 0, SpaceAfter = 0;  // twips
    std::vector<int> Tabs;                                                                  // twips
};

class TRtfParser {
public:
    TRtfParser(const QByteArray& data, QTextDocument& doc) : FData(data), FCursor(&doc)
    {
        FCursor.movePosition(QTextCursor::End);
    }
    void Run();

private:
    void ControlWord(const QByteArray& word, bool hasParam, int param);
    void Text(QChar c);
    void Flush();
    void EndParagraph();
    void ResetCharacters();
    void ResetParagraph();
    QTextCharFormat CharFormat() const;
    QTextBlockFormat BlockFormat() const;
    void SkipChars(int n, int& pos);

    const QByteArray& FData;
    QTextCursor FCursor;
    std::vector<TGroupState> FStack{TGroupState{}};
    QString FPending;  // text not yet inserted, all in the current format
    QTextCharFormat FPendingFormat;
    std::map<int, QString> FFonts;
    int FDefaultFont = 0;
    int FFontEntry = -1;  // font number being read in the font table
    QString FFontName;
    QList<QColor> FColors;  // index 0 of the colour table is usually "auto" (an invalid colour)
    int FRed = -1, FGreen = -1, FBlue = -1;
    bool FBlockStarted = false;
    TGroupState& S() { return FStack.back(); }
    const TGroupState& S() const { return FStack.back(); }
};

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Code page 1252: Latin-1 but for 0x80..0x9F.
QChar Cp1252(unsigned char b)
{
    static const char16_t high[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                      0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    if (b >= 0x80 && b < 0xA0) return QChar(high[b - 0x80]);
    return QChar(b);
}

void TRtfParser::Run()
{
    // One edit block for the whole text: the document lays out what changed once at the end, instead of the
    // paragraph again at every run inserted (quadratic in the format changes of a paragraph).
    FCursor.beginEditBlock();
    int pos = 0;
    const int n = FData.size();
    while (pos < n) {
        const char c = FData[pos];
        if (c == '{') {
            Flush();
            FStack.push_back(S());
            ++pos;
        } else if (c == '}') {
            Flush();
            if (S().Dest == TGroupState::TDest::FontTable && FFontEntry >= 0 && !FFontName.isEmpty())
                FFonts.emplace(FFontEntry, FFontName);
            if (FStack.size() > 1) FStack.pop_back();
            if (S().Dest != TGroupState::TDest::FontTable) FFontEntry = -1, FFontName.clear();
            ++pos;
        } else if (c == '\\') {
            ++pos;
            if (pos >= n) break;
            const char d = FData[pos];
            if (IsLetter(d)) {
                const int start = pos;
                while (pos < n && IsLetter(FData[pos])) ++pos;
                const QByteArray word = FData.mid(start, pos - start);
                bool hasParam = false, negative = false;
                long long value = 0;
                if (pos < n && FData[pos] == '-') negative = true, ++pos;
                while (pos < n && FData[pos] >= '0' && FData[pos] <= '9') {
                    hasParam = true;
                    value = std::min<long long>(value * 10 + (FData[pos] - '0'), MaxParam);
                    ++pos;
                }
                if (pos < n && FData[pos] == ' ') ++pos;
                const int param = static_cast<int>(negative ? -value : value);
                if (word == "u" && hasParam) {
                    Text(QChar(static_cast<char16_t>(param < 0 ? param + 65536 : param)));
                    SkipChars(S().UnicodeSkip, pos);
                } else {
                    ControlWord(word, hasParam, param);
                }
            } else if (d == '\'') {
                const int hi = pos + 1 < n ? HexDigit(FData[pos + 1]) : -1;
                const int lo = pos + 2 < n ? HexDigit(FData[pos + 2]) : -1;
                if (hi >= 0 && lo >= 0) {
                    Text(Cp1252(static_cast<unsigned char>(hi * 16 + lo)));
                    pos += 3;
                } else {
                    pos += hi >= 0 ? 2 : 1;  // a broken escape is dropped with the hex digit it has
                }
            } else {
                ++pos;
                switch (d) {
                    case '*':
                        S().Dest = TGroupState::TDest::Skip;
                        break;
                    case '\\':
                    case '{':
                    case '}':
                        Text(QChar(d));
                        break;
                    case '~':
                        Text(QChar(0x00A0));
                        break;
                    case '_':
                        Text(QChar(0x2011));
                        break;
                    case '\n':
                    case '\r':
                        ControlWord("par", false, 0);
                        break;
                    default:
                        break;  // \- (optional hyphen) and unknown symbols
                }
            }
        } else if (c == '\r' || c == '\n') {
            ++pos;
        } else {
            Text(Cp1252(static_cast<unsigned char>(c)));
            ++pos;
        }
    }
    Flush();
    if (FBlockStarted) FCursor.setBlockFormat(BlockFormat());
    FCursor.endEditBlock();
}

// After \uN the next n characters (a \'hh escape counts as one) are the substitute for older readers.
void TRtfParser::SkipChars(int n, int& pos)
{
    const int size = FData.size();
    while (n > 0 && pos < size) {
        const char c = FData[pos];
        if (c == '{' || c == '}') break;
        if (c == '\\' && pos + 1 < size && FData[pos + 1] == '\'') {
            pos += 4;
        } else if (c == '\\') {
            break;  // a control word ends the substitute
        } else {
            ++pos;
        }
        --n;
    }
    pos = std::min(pos, size);
}

void TRtfParser::ControlWord(const QByteArray& w, bool hasParam, int param)
{
    using TDest = TGroupState::TDest;
    TGroupState& s = S();
    const bool on = !hasParam || param != 0;

    // Destinations
    if (w == "fonttbl") {
        Flush();
        s.Dest = TDest::FontTable;
        return;
    }
    if (w == "colortbl") {
        Flush();
        s.Dest = TDest::ColorTable;
        FColors.clear();
        return;
    }
    static const char* const skipped[] = {
        "stylesheet",        "info",    "pict",      "object",   "header", "footer",  "headerl", "headerr", "headerf",
        "footerl",           "footerr", "footerf",   "footnote", "pn",     "fldinst", "xe",      "tc",      "listtable",
        "listoverridetable", "rsidtbl", "generator", "themedata"};
    for (const char* k : skipped)
        if (w == k) {
            Flush();
            s.Dest = TDest::Skip;
            return;
        }

    if (s.Dest == TDest::ColorTable) {
        if (w == "red")
            FRed = std::clamp(param, 0, 255);
        else if (w == "green")
            FGreen = std::clamp(param, 0, 255);
        else if (w == "blue")
            FBlue = std::clamp(param, 0, 255);
        return;
    }
    if (s.Dest == TDest::FontTable) {
        if (w == "f") FFontEntry = param, FFontName.clear();
        return;
    }
    if (w == "deff") {
        FDefaultFont = param;
        return;
    }
    if (w == "uc") {
        s.UnicodeSkip = std::clamp(param, 0, 16);
        return;
    }
    if (s.Dest == TDest::Skip) return;

    // Characters
    if (w == "plain")
        ResetCharacters();
    else if (w == "b")
        s.Bold = on;
    else if (w == "i")
        s.Italic = on;
    else if (w == "ul")
        s.Underline = on;
    else if (w == "ulnone")
        s.Underline = false;
    else if (w == "fs")
        s.FontSize2 = hasParam && param > 0 ? std::min(param, 2000) : 24;
    else if (w == "f")
        s.Font = param;
    else if (w == "cf")
        s.Color = param;
    // Paragraphs
    else if (w == "par")
        EndParagraph();
    else if (w == "pard")
        ResetParagraph();
    else if (w == "ql")
        s.Align = Qt::AlignLeft;
    else if (w == "qc")
        s.Align = Qt::AlignHCenter;
    else if (w == "qr")
        s.Align = Qt::AlignRight;
    else if (w == "qj")
        s.Align = Qt::AlignJustify;
    else if (w == "li")
        s.LeftIndent = param;
    else if (w == "ri")
        s.RightIndent = param;
    else if (w == "fi")
        s.FirstIndent = param;
    else if (w == "sb")
        s.SpaceBefore = param;
    else if (w == "sa")
        s.SpaceAfter = param;
    else if (w == "tx") {
        if (s.Tabs.size() < 64) s.Tabs.push_back(param);
    }
    // Special characters
    else if (w == "tab")
        Text(QChar('\t'));
    else if (w == "line")
        Text(QChar(QChar::LineSeparator));
    else if (w == "bullet")
        Text(QChar(0x2022));
    else if (w == "emdash")
        Text(QChar(0x2014));
    else if (w == "endash")
        Text(QChar(0x2013));
    else if (w == "lquote")
        Text(QChar(0x2018));
    else if (w == "rquote")
        Text(QChar(0x2019));
    else if (w == "ldblquote")
        Text(QChar(0x201C));
    else if (w == "rdblquote")
        Text(QChar(0x201D));
}

void TRtfParser::Text(QChar c)
{
    using TDest = TGroupState::TDest;
    switch (S().Dest) {
        case TDest::Skip:
            return;
        case TDest::FontTable:
            if (c == ';') {
                if (FFontEntry >= 0) FFonts.emplace(FFontEntry, FFontName.trimmed());
                FFontEntry = -1;
                FFontName.clear();
            } else if (FFontEntry >= 0) {
                FFontName += c;
            }
            return;
        case TDest::ColorTable:
            if (c == ';') {
                FColors.append(FRed < 0 && FGreen < 0 && FBlue < 0
                                   ? QColor()
                                   : QColor(std::max(FRed, 0), std::max(FGreen, 0), std::max(FBlue, 0)));
                FRed = FGreen = FBlue = -1;
            }
            return;
        case TDest::Text:
            break;
    }
    const QTextCharFormat fmt = CharFormat();
    if (!FPending.isEmpty() && fmt != FPendingFormat) Flush();
    if (FPending.isEmpty()) FPendingFormat = fmt;
    FPending += c;
}

void TRtfParser::Flush()
{
    if (FPending.isEmpty()) return;
    if (!FBlockStarted) {
        FCursor.setBlockFormat(BlockFormat());
        FBlockStarted = true;
    }
    FCursor.insertText(FPending, FPendingFormat);
    FPending.clear();
}

void TRtfParser::EndParagraph()
{
    Flush();
    FCursor.setBlockFormat(BlockFormat());
    FCursor.insertBlock(BlockFormat(), CharFormat());
    FBlockStarted = true;
}

void TRtfParser::ResetCharacters()
{
    TGroupState& s = S();
    s.Bold = s.Italic = s.Underline = false;
    s.FontSize2 = 24;
    s.Font = -1;
    s.Color = 0;
}

void TRtfParser::ResetParagraph()
{
    TGroupState& s = S();
    s.Align = Qt::AlignLeft;
    s.LeftIndent = s.RightIndent = s.FirstIndent = s.SpaceBefore = s.SpaceAfter = 0;
    s.Tabs.clear();
}

QTextCharFormat TRtfParser::CharFormat() const
{
    const TGroupState& s = S();
    QTextCharFormat f;
    f.setFontWeight(s.Bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.Italic);
    f.setFontUnderline(s.Underline);
    f.setFontPointSize(s.FontSize2 / 2.0);
    const int font = s.Font >= 0 ? s.Font : FDefaultFont;
    const auto it = FFonts.find(font);
    if (it != FFonts.end() && !it->second.isEmpty()) f.setFontFamilies({it->second});
    if (s.Color > 0 && s.Color < FColors.size() && FColors[s.Color].isValid()) f.setForeground(FColors[s.Color]);
    return f;
}

QTextBlockFormat TRtfParser::BlockFormat() const
{
    const TGroupState& s = S();
    QTextBlockFormat b;
    b.setAlignment(s.Align);
    b.setLeftMargin(s.LeftIndent / TwipsPerPixel);
    b.setRightMargin(s.RightIndent / TwipsPerPixel);
    b.setTextIndent(s.FirstIndent / TwipsPerPixel);
    b.setTopMargin(s.SpaceBefore / TwipsPerPixel);
    b.setBottomMargin(s.SpaceAfter / TwipsPerPixel);
    // A hanging indent without tab stops of its own has one at the left indent, so that "bullet, tab, text"
    // lines the text up under the paragraph.
    std::vector<int> stops = s.Tabs;
    if (stops.empty() && s.FirstIndent < 0 && s.LeftIndent > 0) stops.push_back(s.LeftIndent);
    if (!stops.empty()) {
        QList<QTextOption::Tab> tabs;
        for (int t : stops) tabs.append(QTextOption::Tab(t / TwipsPerPixel, QTextOption::LeftTab));
        b.setTabPositions(tabs);
    }
    return b;
}

}  // namespace

void ReadRtf(const QByteArray& rtf, QTextDocument& doc)
{
    QTextCursor cursor(&doc);
    cursor.movePosition(QTextCursor::End);
    if (!rtf.trimmed().startsWith("{\\rtf")) {
        cursor.insertText(QString::fromUtf8(rtf));
        return;
    }
    TRtfParser(rtf, doc).Run();
}

}  // namespace tarnel::gui
