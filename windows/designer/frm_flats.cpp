// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/designer/frm_flats.h"

#include <array>

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "forms/box_text.h"
#include "forms/message_box.h"
#include "layout/flat_checks.h"
#include "layout/usual_flats.h"

namespace kerf::ui {
namespace {

struct Clock {
    const char* caption;
    const char* angle;
};
constexpr std::array<Clock, 4> Clocks = {{{"6 點鐘", "270"}, {"9 點鐘", "180"}, {"12 點鐘", "90"}, {"3 點鐘", "0"}}};

QLineEdit* makeBox(QWidget* parent, const char* name, const std::string& text)
{
    auto* box = new QLineEdit(qtText(text), parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(12);
    return box;
}

// The o'clock choice that writes its angle into `angle`, and follows it.
QComboBox* makeClock(QWidget* parent, const char* name, QLineEdit* angle)
{
    auto* clock = new QComboBox(parent);
    clock->setObjectName(QLatin1String(name));
    for (const Clock& c : Clocks)
        clock->addItem(QString::fromUtf8(c.caption), QString::fromLatin1(c.angle));
    const auto follow = [clock, angle] { clock->setCurrentIndex(clock->findData(angle->text().trimmed())); };
    follow();
    QObject::connect(clock, &QComboBox::activated, angle, [clock, angle] { angle->setText(clock->currentData().toString()); });
    QObject::connect(angle, &QLineEdit::textChanged, clock, follow);
    return clock;
}

QPushButton* makeUsual(QWidget* parent, const char* name, const char* length, QLineEdit* box)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(length ? QStringLiteral("常用 %1 mm").arg(QLatin1String(length)) : QStringLiteral("常用長度（無）"));
    button->setEnabled(length != nullptr);
    button->setAutoDefault(false);
    if (length)
        QObject::connect(button, &QPushButton::clicked, box, [box, length] { box->setText(QLatin1String(length)); });
    return button;
}

} // namespace

frmFlats::frmFlats(QWidget* owner, const FlatTexts& flats, float waferDiameter)
    : QDialog(owner), waferDiameter_(waferDiameter)
{
    setObjectName(QStringLiteral("frmFlats"));
    setWindowTitle(QStringLiteral("晶片平邊"));
    const std::optional<UsualFlats> usual = usualFlats(waferDiameter);
    auto* grid = new QGridLayout;
    txtLength = makeBox(this, "txtLength", flats.length);
    txtAt = makeBox(this, "txtAt", flats.at);
    txtAt->setPlaceholderText(QStringLiteral("270"));
    txtSecondLength = makeBox(this, "txtSecondLength", flats.secondLength);
    txtSecondAt = makeBox(this, "txtSecondAt", flats.secondAt);
    cboClock = makeClock(this, "cboClock", txtAt);
    cboSecondClock = makeClock(this, "cboSecondClock", txtSecondAt);
    cmdUsual = makeUsual(this, "cmdUsual", usual ? usual->primary : nullptr, txtLength);
    cmdSecondUsual = makeUsual(this, "cmdSecondUsual", usual ? usual->secondary : nullptr, txtSecondLength);
    const auto row = [&](int r, const QString& caption, QLineEdit* box, const QString& unit, QWidget* extra) {
        grid->addWidget(new QLabel(caption, this), r, 0);
        grid->addWidget(box, r, 1);
        grid->addWidget(new QLabel(unit, this), r, 2);
        grid->addWidget(extra, r, 3);
    };
    row(0, QStringLiteral("主平邊長度："), txtLength, QStringLiteral("mm"), cmdUsual);
    row(1, QStringLiteral("主平邊角度："), txtAt, QStringLiteral("度"), cboClock);
    row(2, QStringLiteral("次平邊長度："), txtSecondLength, QStringLiteral("mm"), cmdSecondUsual);
    row(3, QStringLiteral("次平邊角度："), txtSecondAt, QStringLiteral("度"), cboSecondClock);
    auto* hint = new QLabel(QStringLiteral("角度自 3 點鐘方向逆時針量起（270 為 6 點鐘，主平邊空白時即是）；\n"
                                           "長度空白或 0 為沒有這個平邊。"),
                            this);
    cmdOK = new QPushButton(QStringLiteral("確定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("取消"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &frmFlats::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

FlatTexts frmFlats::flats() const
{
    return {boxText(txtLength), boxText(txtAt), boxText(txtSecondLength), boxText(txtSecondAt)};
}

void frmFlats::cmdOK_Click()
{
    const FlatTexts typed = flats();
    if (waferDiameter_ <= 0 && !(typed.length.empty() && typed.secondLength.empty())) {
        showMessage(this, MessageIcon::Exclamation, std::string(InputErrorTitle), "請先選擇晶片直徑，再設定平邊。");
        return;
    }
    const auto read = readFlats(typed, waferDiameter_);
    if (const auto* refusal = std::get_if<Refusal>(&read)) {
        showMessage(this, MessageIcon::Exclamation, refusal->title, refusal->prompt);
        return;
    }
    accept();
}

} // namespace kerf::ui
