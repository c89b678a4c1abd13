// SPDX-License-Identifier: GPL-3.0-or-later
// The preview's report in words: figures, faults, listed dies and cuts.
#include <QTest>

#include "program/check/report/cut_report_figures.h"
#include "program/check/report/report_numbers.h"

using namespace kerf;

namespace {

CutReport cleanSquares()
{
    CutReport report;
    report.shape = DieShape::Square;
    report.passes = 1;
    report.passSource = PassSource::Dies;
    report.cuts = 6;
    report.cutLength = 6.0;
    report.travelLength = 2 + 2 * 0.70710678;
    report.dies = 4;
    report.diesFullyCut = 4;
    report.machineSeconds = 12.5;
    return report;
}

QString q(const std::string& text) { return QString::fromStdString(text); }

} // namespace

class CutReportTextTest : public QObject {
    Q_OBJECT
private slots:
    void cleanReportSaysSoWithNoFault();
    void faultsAreMarkedAndNamed();
    void uncutDiesAreListedWithTheirEdges_data();
    void uncutDiesAreListedWithTheirEdges();
    void listedCutsAndTheOnesNotListed();
    void inchesNeverShowMinusZero_data();
    void inchesNeverShowMinusZero();
    void tooLargeIsUncheckedNotFaulty();
    void machineTimeInHoursMinutesAndSeconds_data();
    void machineTimeInHoursMinutesAndSeconds();
};

void CutReportTextTest::cleanReportSaysSoWithNoFault()
{
    const ReportText text = describeReport(cleanSquares());
    QVERIFY(!text.fault);
    QCOMPARE(q(text.verdict), QStringLiteral("全部 4 個晶粒都已完整切割，沒有多餘的切割。"));
    struct Expected {
        std::string key, label, value;
    };
    const std::vector<Expected> expected = {
        {"cuts", "切割次數", "6"},
        {"passes", "切割遍數", "1（依多數晶粒所得的切割次數）"},
        {"cutLength", "切割長度", "6.0000 英吋"},
        {"travelLength", "移動長度", "3.4142 英吋"},
        {"diesFullyCut", "完整切割的晶粒", "4 / 4"},
        {"uncutDies", "未完整切割的晶粒", "0"},
        {"outsideCuts", "有效圓外的切割", "0"},
        {"strayCuts", "不在晶粒邊上的切割", "0"},
        {"zeroShifts", "不在原點的 ZERO", "0"},
        {"end", "結束位置", "X 0.000000, Y 0.000000 英吋"},
        {"machineSeconds", "預估加工時間", "12.5 秒"},
    };
    QCOMPARE(text.figures.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(q(std::string(text.figures[i].key)), q(expected[i].key));
        QCOMPARE(q(std::string(text.figures[i].label)), q(expected[i].label));
        QCOMPARE(q(text.figures[i].value), q(expected[i].value));
        QVERIFY(!text.figures[i].fault);
    }
    // Only the machine time says how it is come by.
    QCOMPARE(q(std::string(text.figures.back().note)), q(machineTimeAssumption()));
    QVERIFY(text.details.empty());
}

void CutReportTextTest::faultsAreMarkedAndNamed()
{
    CutReport report = cleanSquares();
    report.diesFullyCut = 1;
    report.uncutDies = 3;
    report.uncutEdges = 5;
    report.outsideCuts = 2;
    report.strayCuts = 1;
    report.laserOff = false;
    report.cutOpen = true;
    report.zeroShifts = 2;
    report.zeroShiftLines = {19};
    report.end = {0.5, -0.25};
    const ReportText text = describeReport(report);
    QVERIFY(text.fault);
    QCOMPARE(q(text.verdict), QStringLiteral("程式有問題：3 個晶粒沒有完整切割；2 道切割超出有效圓；1 道切割不在晶粒邊上；"
                                             "2 次 ZERO 不在原點執行，之後的座標已改以該處為原點；"
                                             "程式結束時雷射沒有關閉；最後的切割沒有以 CS 結束。"));
    QCOMPARE(q(text.details.back()), QStringLiteral("程式第 19 行：ZERO 不在原點，之後的座標以此處為原點"));
    QCOMPARE(q(text.figures[4].value), QStringLiteral("1 / 4"));
    QCOMPARE(q(text.figures[5].value), QStringLiteral("3（未切足的邊 5 條）"));
    QCOMPARE(q(text.figures[9].value),
             QStringLiteral("X 0.500000, Y -0.250000 英吋（雷射沒有關閉）（切割沒有以 CS 結束）"));
    const bool faults[] = {false, false, false, false, true, true, true, true, true, true, false};
    for (std::size_t i = 0; i < text.figures.size(); ++i)
        QCOMPARE(text.figures[i].fault, faults[i]);
}

void CutReportTextTest::uncutDiesAreListedWithTheirEdges_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("edges");
    QTest::addColumn<int>("cuts");
    QTest::addColumn<QString>("line");
    QTest::newRow("hexagon, left and lower left") << int(DieShape::Hexagon) << 0b100001 << 0
                                                  << "第 2 列第 3 個晶粒（X -0.100000, Y 0.173205）：左、左下邊切割不足（最少的一邊切了 0 次，應切 2 次）";
    QTest::newRow("hexagon, all six") << int(DieShape::Hexagon) << 0b111111 << 1
                                      << "第 2 列第 3 個晶粒（X -0.100000, Y 0.173205）：左、左上、右上、右、右下、左下邊切割不足（最少的一邊切了 1 次，應切 2 次）";
    QTest::newRow("square, top and bottom") << int(DieShape::Square) << 0b1010 << 1
                                            << "第 2 列第 3 個晶粒（X -0.100000, Y 0.173205）：上、下邊切割不足（最少的一邊切了 1 次，應切 2 次）";
    QTest::newRow("circle") << int(DieShape::Circle) << 0 << 1
                            << "第 2 列第 3 個晶粒（X -0.100000, Y 0.173205）：切了 1 圈，應切 2 圈";
}

void CutReportTextTest::uncutDiesAreListedWithTheirEdges()
{
    QFETCH(int, shape);
    QFETCH(int, edges);
    QFETCH(int, cuts);
    QFETCH(QString, line);
    CutReport report = cleanSquares();
    report.shape = static_cast<DieShape>(shape);
    report.passes = 2;
    report.uncutDies = 1;
    report.diesFullyCut = 3;
    report.uncut = {UncutDie{2, 3, {-0.1, 0.173205}, static_cast<std::uint8_t>(edges), cuts}};
    const ReportText text = describeReport(report);
    QCOMPARE(text.details.size(), std::size_t(1));
    QCOMPARE(q(text.details[0]), line);
}

void CutReportTextTest::listedCutsAndTheOnesNotListed()
{
    CutReport report = cleanSquares();
    report.uncutDies = 60;
    report.diesFullyCut = 0;
    report.dies = 60;
    report.uncut.assign(50, UncutDie{1, 1, {}, 1, 0});
    report.outsideCuts = 1;
    report.outside = {FlaggedCut{23, {-1, 0.5}, {1, 0.5}}};
    report.strayCuts = 3;
    report.stray = {FlaggedCut{40, {0, 0}, {0.1, 0}}};
    const ReportText text = describeReport(report);
    QCOMPARE(text.details.size(), std::size_t(50 + 1 + 1 + 1 + 1));
    QCOMPARE(q(text.details[50]), QStringLiteral("……另有 10 個未完整切割的晶粒未列出"));
    QCOMPARE(q(text.details[51]),
             QStringLiteral("程式第 23 行：切割超出有效圓（從 X -1.000000, Y 0.500000 到 X 1.000000, Y 0.500000）"));
    QCOMPARE(q(text.details[52]),
             QStringLiteral("程式第 40 行：切割不在晶粒邊上（從 X 0.000000, Y 0.000000 到 X 0.100000, Y 0.000000）"));
    QCOMPARE(q(text.details[53]), QStringLiteral("……另有 2 道不在晶粒邊上的切割未列出"));
}

void CutReportTextTest::inchesNeverShowMinusZero_data()
{
    QTest::addColumn<double>("inches");
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("text");
    QTest::newRow("minus zero") << -0.0 << 6 << "0.000000";
    QTest::newRow("a tiny negative") << -4e-7 << 6 << "0.000000";
    QTest::newRow("just shown") << -6e-7 << 6 << "-0.000001";
    QTest::newRow("four places") << 3.14159265 << 4 << "3.1416";
    QTest::newRow("large") << 47217.95491 << 4 << "47217.9549";
    QTest::newRow("not a number") << std::nan("") << 4 << "—";
}

void CutReportTextTest::inchesNeverShowMinusZero()
{
    QFETCH(double, inches);
    QFETCH(int, places);
    QFETCH(QString, text);
    QCOMPARE(q(inchesText(inches, places)), text);
}

void CutReportTextTest::tooLargeIsUncheckedNotFaulty()
{
    CutReport report = cleanSquares();
    report.unchecked = Unchecked::TooLarge;
    const ReportText text = describeReport(report);
    QVERIFY(text.unchecked && !text.fault);
    QVERIFY(text.figures.empty());
    QCOMPARE(q(text.verdict), QStringLiteral("程式展開後太大，無法檢查。這不表示程式有錯，但請勿以未經檢查的程式切割。"));
    report.unchecked = Unchecked::OutOfMemory;
    QVERIFY(q(describeReport(report).verdict).startsWith(QStringLiteral("記憶體不足，無法檢查。")));
}

void CutReportTextTest::machineTimeInHoursMinutesAndSeconds_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("seconds") << 45.24 << "45.2 秒";
    QTest::newRow("just under a minute") << 59.94 << "59.9 秒";
    QTest::newRow("a minute") << 59.96 << "1 分 00 秒";
    QTest::newRow("minutes") << 185.4 << "3 分 05 秒";
    QTest::newRow("hours") << 2 * 3600 + 7 * 60 + 9.0 << "2 小時 07 分 09 秒";
    QTest::newRow("no time") << std::nan("") << "—";
}

void CutReportTextTest::machineTimeInHoursMinutesAndSeconds()
{
    QFETCH(double, seconds);
    QFETCH(QString, text);
    QCOMPARE(q(durationText(seconds)), text);
    CutReport report = cleanSquares();
    report.machineSeconds.reset();
    QCOMPARE(q(describeReport(report).figures.back().value), QStringLiteral("無法估計（有動作沒有速度）"));
}

QTEST_GUILESS_MAIN(CutReportTextTest)
#include "cut_report_text_test.moc"
