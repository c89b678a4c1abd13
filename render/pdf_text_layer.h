// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>

#include <QByteArray>
#include <QFont>
#include <QList>

namespace kerf::map {

/// Qt's PDF writer names each glyph in the text layer by the lowest code
/// point that the font maps to it, and the CJK fonts map the glyph of 工 from
/// the Kangxi radical ⼯ (U+2F2F) too, of 大, 寸, 小, 日 … likewise: searched
/// or copied, 工作單 would not be found. Rewrites the ToUnicode maps of the
/// PDF document `pdf`, as Qt writes it (uncompressed maps, one cross-reference
/// table), so that radicals read as the ideographs of `ideographs`; the stream
/// lengths and the cross-reference table are moved to match. A document of
/// another make is returned as it is.
QByteArray withIdeographsInTextLayer(const QByteArray& pdf, const std::map<char32_t, char32_t>& ideographs);

/// The radicals (U+2E80 to U+2FDF) that one of `fonts` draws with the glyph of
/// an ideograph, each with that ideograph; the Kangxi radicals the fonts draw
/// otherwise with the ideograph of their compatibility decomposition.
std::map<char32_t, char32_t> radicalIdeographs(const QList<QFont>& fonts);

} // namespace kerf::map
