#include "oneline.h"

#include <algorithm>

namespace pismolot {

namespace {

bool showsAsSpace(char16_t c) {
    return c < 0x20 || c == 0x85 || c == 0x2028 || c == 0x2029;
}

} // namespace

QString shownOnOneLine(const QString& text, int* cursor) {
    const auto first =
        std::find_if(text.begin(), text.end(), [](QChar c) { return showsAsSpace(c.unicode()); });
    if (first == text.end())
        return text;
    QString out;
    out.reserve(text.size());
    const int at = cursor ? *cursor : 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            // One line break, one space; a cursor between CR and LF or after
            // them moves back by the one character dropped.
            if (cursor && at > i)
                --*cursor;
            ++i;
        }
        out += showsAsSpace(c) ? QChar(u' ') : QChar(c);
    }
    return out;
}

} // namespace pismolot
