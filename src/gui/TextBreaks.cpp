#include "gui/TextBreaks.h"

#include <QStringList>

namespace rahmen {

namespace {

// Punctuation after which a line may end.
bool endsPhrase(QChar ch) {
    return QStringLiteral("。、，,．？！）)」』】 　").contains(ch);
}

// Characters that must stay with the one before them (closing marks, the
// long vowel mark, voiced-sound marks) or that join two parts of one item
// (the range "～", the middle dots of units).
bool clings(QChar ch) {
    return QStringLiteral("。、，,．？！）)」』】ーｰﾞﾟ～〜･・").contains(ch);
}

bool japanese(QChar ch) {
    return ch.unicode() >= 0x3000;
}

// A break before position i of the line may be made there.
bool phraseBreak(const QString& line, int i) {
    return endsPhrase(line[i - 1]) && !clings(line[i]);
}

bool characterBreak(const QString& line, int i) {
    const QChar before = line[i - 1];
    const QChar after = line[i];
    return japanese(before) && japanese(after) && !clings(after) && !clings(before) &&
           before != QChar(0xFF08) && before != QChar(0x300C); // not after "（" or "「"
}

// The position of the last break of the kind that leaves a first part no
// wider than `width`, or 0.
int lastBreak(const QString& line, const QFontMetrics& metrics, int width,
              bool (*allowed)(const QString&, int)) {
    for (int i = static_cast<int>(line.size()) - 1; i > 0; --i)
        if (allowed(line, i) && metrics.horizontalAdvance(line.left(i)) <= width) return i;
    return 0;
}

} // namespace

QString breakForReading(const QString& text, const QFontMetrics& metrics, int width) {
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines;
    for (QString rest : plain.split(QLatin1Char('\n'))) {
        while (metrics.horizontalAdvance(rest) > width) {
            int at = lastBreak(rest, metrics, width, phraseBreak);
            // A phrase break that leaves most of the line empty is worse
            // than a break between two characters nearer the edge.
            const int near = lastBreak(rest, metrics, width, characterBreak);
            if (at == 0 || (near > at && metrics.horizontalAdvance(rest.left(at)) < width / 2))
                at = near;
            if (at == 0) break;
            QString first = rest.left(at);
            while (!first.isEmpty() && first.back().isSpace())
                first.chop(1);
            lines << first;
            rest = rest.mid(at);
            while (!rest.isEmpty() && rest.front().isSpace())
                rest.remove(0, 1);
        }
        lines << rest;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace rahmen
