// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/phrase_wrap.h"

#include <QStringList>

namespace kerf::ui {

namespace {

bool endsPhrase(QChar c) { return QStringView(u"，。；：、！？").contains(c); }
bool opensBracket(QChar c) { return QStringView(u"（「『(").contains(c); }
bool closesBracket(QChar c) { return QStringView(u"）」』)").contains(c); }

// The phrases of a line: each ends after its phrase mark (the last one ends the line).
QStringList phrases(const QString& line)
{
    QStringList found;
    QString current;
    int depth = 0;
    for (const QChar c : line) {
        current += c;
        if (opensBracket(c))
            ++depth;
        else if (closesBracket(c) && depth > 0)
            --depth;
        else if (depth == 0 && endsPhrase(c)) {
            found << current;
            current.clear();
        }
    }
    if (!current.isEmpty())
        found << current;
    return found;
}

} // namespace

QString wrapAtPhrases(const QString& text, int maxWidth, const std::function<int(const QString&)>& width)
{
    QStringList lines;
    for (const QString& given : text.split(u'\n')) {
        QString line;
        for (const QString& phrase : phrases(given)) {
            if (!line.isEmpty() && width(line + phrase) > maxWidth) {
                lines << line;
                line.clear();
            }
            line += phrase;
        }
        lines << line;
    }
    return lines.join(u'\n');
}

} // namespace kerf::ui
