#pragma once
// Line breaks a reader expects. Qt wraps Japanese text between any two
// characters, also inside a number range ("1～ / 1)") or a unit
// ("kN･ / m/rad"). Texts shown in message boxes and in labels of several
// lines are broken here instead, before they reach Qt: after punctuation and
// at blanks where possible, otherwise between two Japanese characters, never
// inside a run of Latin letters, digits and symbols.

#include <QFontMetrics>
#include <QString>

namespace rahmen {

// The text with "\r\n" and "\r" as "\n", and every line wider than `width`
// pixels in the given font broken into lines that fit where such breaks
// allow (a run that has no break stays whole, however wide).
QString breakForReading(const QString& text, const QFontMetrics& metrics, int width);

} // namespace rahmen
