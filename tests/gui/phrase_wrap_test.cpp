// SPDX-License-Identifier: GPL-3.0-or-later
// Message box lines broken at phrase boundaries only.
#include <QTest>

#include "forms/phrase_wrap.h"

using namespace kerf::ui;

namespace {

// Every character as wide as every other: the width is the length.
int length(const QString& line) { return int(line.size()); }

} // namespace

class PhraseWrapTest : public QObject {
    Q_OBJECT
private slots:
    void wraps_data();
    void wraps();
    void neverBreaksInsideTheExample();
};

void PhraseWrapTest::wraps_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fits") << QStringLiteral("晶粒尺寸必須大於 0，請確認正確數值。") << 40
                          << QStringLiteral("晶粒尺寸必須大於 0，請確認正確數值。");
    QTest::newRow("two phrases") << QStringLiteral("晶粒尺寸必須大於 0，請確認正確數值。") << 12
                                 << QStringLiteral("晶粒尺寸必須大於 0，\n請確認正確數值。");
    QTest::newRow("phrases gathered greedily")
        << QStringLiteral("晶粒尺寸太小，晶粒間距或列距小於 0.000001 英吋，無法排列，請加大晶粒尺寸。") << 30
        << QStringLiteral("晶粒尺寸太小，晶粒間距或列距小於 0.000001 英吋，\n無法排列，請加大晶粒尺寸。");
    QTest::newRow("no mark inside quotes")
        << QStringLiteral("資料夾「a，b」無法寫入，請選擇其他資料夾。") << 8
        << QStringLiteral("資料夾「a，b」無法寫入，\n請選擇其他資料夾。");
    QTest::newRow("given breaks kept") << QStringLiteral("第一行\n第二行，還有") << 4
                                       << QStringLiteral("第一行\n第二行，\n還有");
    QTest::newRow("a long phrase stays whole") << QStringLiteral("一二三四五六七八九十，完") << 4
                                               << QStringLiteral("一二三四五六七八九十，\n完");
    QTest::newRow("empty") << QString() << 10 << QString();
}

void PhraseWrapTest::wraps()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(wrapAtPhrases(text, width, length), expected);
}

void PhraseWrapTest::neverBreaksInsideTheExample()
{
    const QString prompt = QStringLiteral("晶粒尺寸「1.2.3」不是有效的數值，請輸入以 mil 為單位的數字（例如 50 或 12.5）。");
    for (int width = 1; width <= prompt.size() + 1; ++width) {
        const QString wrapped = wrapAtPhrases(prompt, width, length);
        QCOMPARE(QString(wrapped).remove(u'\n'), prompt);
        QVERIFY(wrapped.contains(QStringLiteral("請輸入以 mil 為單位的數字（例如 50 或 12.5）。")));
    }
}

QTEST_GUILESS_MAIN(PhraseWrapTest)
#include "phrase_wrap_test.moc"
