// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QString>

namespace kerf::ui {

/// `text` broken into lines of at most `maxWidth` (as `width` measures a
/// line) at phrase boundaries only: after «，。；：、！？» outside brackets
/// («（…）», «「…」», «(…)»), and at the text's own line breaks. A phrase
/// wider than `maxWidth` stands on a line of its own, whole.
QString wrapAtPhrases(const QString& text, int maxWidth, const std::function<int(const QString&)>& width);

} // namespace kerf::ui
