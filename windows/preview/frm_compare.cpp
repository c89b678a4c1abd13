// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/preview/frm_compare.h"

#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "forms/window_placement.h"
#include "program/compare/comparison_words.h"
#include "program/compare/die_cut_lines.h"
#include "program/reader/program_file.h"
#include "render/comparison_overlay.h"
#include "render/cut_path_picture.h"

namespace kerf::ui {

namespace {

/// How many differing dies the list shows.
constexpr std::size_t ListedDies = 1000;
/// How many motions a die's lines are looked for in, per program.
constexpr std::uint64_t LookedUpMotions = 50'000'000;

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string localPath(const QString& path) { return std::string(QFile::encodeName(path).constData()); }

/// A program file read for the comparison, or the words of its refusal.
struct ReadFile {
    std::shared_ptr<const Program> program;
    std::shared_ptr<const std::string> text;
    std::string refusal;
};

ReadFile readFile(const QString& path)
{
    auto read = readProgramFile(localPath(path));
    if (const auto* refusal = std::get_if<ProgramFileRefusal>(&read))
        return {nullptr, nullptr, refusal->message};
    ProgramFile& file = std::get<ProgramFile>(read);
    return {file.program, std::make_shared<const std::string>(file.text), {}};
}

QString colourBox(const QColor& colour)
{
    return QStringLiteral("<span style=\"color:%1\">■</span>").arg(colour.name());
}

} // namespace

frmCompare::frmCompare(QWidget* owner)
    : QDialog(owner), comparing_([this](Compared compared) { comparisonDone(std::move(compared)); },
                                 [this](const std::string& failure) { showFailure(qt(failure)); }),
      lookingUp_([this](QString text) { dieLines->setPlainText(text); },
                 [this](const std::string& failure) { dieLines->setPlainText(qt(failure)); })
{
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(QStringLiteral("程式比較"));
    setModal(false);
    setSizeGripEnabled(true);
    buildControls();
    fitWindow(this, QSize(1040, 700));
    rereadDelay_.setSingleShot(true);
    rereadDelay_.setInterval(300);
    connect(&rereadDelay_, &QTimer::timeout, this, &frmCompare::fileChanged);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { rereadDelay_.start(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { rereadDelay_.start(); });
}

frmCompare::~frmCompare()
{
    comparing_.cancel();
    lookingUp_.cancel();
}

void frmCompare::buildControls()
{
    picture = new CutPathView(this);
    picture->setObjectName(QStringLiteral("picture"));
    namesLabel = new QLabel(this);
    namesLabel->setObjectName(QStringLiteral("namesLabel"));
    namesLabel->setWordWrap(true);
    namesLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    verdictLabel = new QLabel(this);
    verdictLabel->setObjectName(QStringLiteral("verdictLabel"));
    verdictLabel->setWordWrap(true);
    summaryLabel = new QLabel(this);
    summaryLabel->setObjectName(QStringLiteral("summaryLabel"));
    summaryLabel->setWordWrap(true);
    legendLabel = new QLabel(this);
    legendLabel->setObjectName(QStringLiteral("legendLabel"));
    legendLabel->setWordWrap(true);
    legendLabel->setText(QStringLiteral("%1 B 切得較少　%2 B 切得較多　%3 只有 B 有的多餘切割<br>其他晶粒兩者切得一樣。")
                             .arg(colourBox(map::CutLessColour), colourBox(map::CutMoreColour),
                                  colourBox(map::StrayOnlyBColour)));
    auto* listTitle = new QLabel(QStringLiteral("切割次數不同的晶粒（按一下看它與切它的行）："), this);
    listTitle->setWordWrap(true);
    differingList = new QListWidget(this);
    differingList->setObjectName(QStringLiteral("differingList"));
    dieLines = new QPlainTextEdit(this);
    dieLines->setObjectName(QStringLiteral("dieLines"));
    dieLines->setReadOnly(true);
    cmdFit = new QPushButton(QStringLiteral("全圖(&F)"), this);
    cmdFit->setObjectName(QStringLiteral("cmdFit"));
    cmdFit->setAutoDefault(false);
    cmdClose = new QPushButton(QStringLiteral("關閉(&C)"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdFit);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(namesLabel);
    right->addWidget(verdictLabel);
    right->addWidget(summaryLabel);
    right->addWidget(legendLabel);
    right->addWidget(listTitle);
    right->addWidget(differingList, 2);
    right->addWidget(dieLines, 1);
    right->addLayout(buttons);
    auto* side = new QWidget(this);
    side->setFixedWidth(360);
    side->setLayout(right);
    auto* main = new QHBoxLayout(this);
    main->addWidget(picture, 1);
    main->addWidget(side);

    connect(cmdFit, &QPushButton::clicked, picture, &CutPathView::fitAll);
    connect(cmdClose, &QPushButton::clicked, this, &frmCompare::reject);
    connect(differingList, &QListWidget::currentRowChanged, this, &frmCompare::differingList_Click);
    connect(picture, &CutPathView::viewChanged, this, [this](bool settled) {
        if (settled)
            showOverlay();
    });
}

void frmCompare::compare(const WaferLayout& layout, ComparedProgram a, const QString& pathB)
{
    layout_ = std::make_shared<const WaferLayout>(layout);
    a_ = std::move(a);
    b_ = {QFileInfo(pathB).fileName(), QFileInfo(pathB).absoluteFilePath(), nullptr};
    if (const QStringList watched = watcher_.files() + watcher_.directories(); !watched.isEmpty())
        watcher_.removePaths(watched);
    for (const QString& path : {a_.path, b_.path})
        if (!path.isEmpty())
            watcher_.addPaths({path, QFileInfo(path).absolutePath()});
    picture->setLayout(layout_);
    setWindowTitle(QStringLiteral("%1 與 %2 – 程式比較").arg(a_.name, b_.name));
    namesLabel->setText(QStringLiteral("程式 A：%1\n程式 B：%2")
                            .arg(QDir::toNativeSeparators(a_.path.isEmpty() ? a_.name : a_.path),
                                 QDir::toNativeSeparators(b_.path)));
    startComparison();
    if (!isVisible()) {
        if (!testAttribute(Qt::WA_Moved))
            moveBesideMenu(this);
        show();
    }
    raise();
    activateWindow();
}

void frmCompare::startComparison()
{
    lookingUp_.cancel();
    for (int k = 0; k < 2; ++k) {
        const QString& path = k == 0 ? a_.path : b_.path;
        modified_[k] = path.isEmpty() ? QDateTime() : QFileInfo(path).lastModified();
    }
    verdictLabel->setText(QStringLiteral("比較中，結果稍後顯示。"));
    summaryLabel->clear();
    comparing_.start([layout = layout_, a = a_, b = b_](const BackgroundJob<Compared>::Progress& progress)
                         -> std::optional<Compared> {
        Compared compared;
        ReadFile files[2];
        for (int k = 0; k < 2; ++k) {
            const ComparedProgram& program = k == 0 ? a : b;
            if (!program.path.isEmpty()) {
                files[k] = readFile(program.path);
                if (!files[k].refusal.empty()) {
                    compared.refusal = files[k].refusal;
                    return compared;
                }
            } else {
                auto parsed = parseProgram(*program.text);
                if (std::holds_alternative<ProgramError>(parsed)) {
                    compared.refusal = "程式 A 不是切割程式。";
                    return compared;
                }
                files[k] = {std::make_shared<const Program>(std::get<Program>(std::move(parsed))), program.text, {}};
            }
        }
        ComparisonOptions options;
        options.listLimit = 1000;
        options.progress = [&progress](std::uint64_t done, std::uint64_t total) {
            return progress(total ? double(done) / double(total) : 0.0);
        };
        compared.comparison = comparePrograms(*files[0].program, *files[1].program, *layout, options);
        if (compared.comparison.a.cancelled || compared.comparison.b.cancelled)
            return std::nullopt;
        compared.a = files[0].program;
        compared.b = files[1].program;
        compared.textA = files[0].text;
        compared.textB = files[1].text;
        return compared;
    });
}

void frmCompare::comparisonDone(Compared compared)
{
    if (!compared.refusal.empty())
        return showFailure(qt(compared.refusal));
    comparison_ = std::move(compared.comparison);
    programA_ = std::move(compared.a);
    programB_ = std::move(compared.b);
    a_.text = std::move(compared.textA);
    b_.text = std::move(compared.textB);
    const ProgramComparison& c = *comparison_;
    verdictLabel->setText(QStringLiteral("比較結果：") + qt(comparisonVerdict(c)));
    const std::vector<std::string> lines = comparisonLines(c, "", "", 0);
    QStringList summary;
    // The passes, the machine times and the dies cut less and more: the
    // lines after the verdict, before the listed dies.
    for (std::size_t k = 3; k < lines.size() && k < (c.differingDies > 0 ? 6u : 5u); ++k)
        summary << qt(lines[k]);
    summaryLabel->setText(summary.join(QLatin1Char('\n')));
    listed_ = differingDies(c, ListedDies);
    picked_.reset();
    {
        const QSignalBlocker block(differingList);
        differingList->clear();
        for (const DifferingDie& die : listed_)
            differingList->addItem(qt(differingDieShortText(die)));
        if (c.differingDies > static_cast<std::int64_t>(listed_.size()))
            differingList->addItem(
                QStringLiteral("……另有 %1 個晶粒未列出").arg(c.differingDies - std::int64_t(listed_.size())));
    }
    dieLines->clear();
    showOverlay();
}

void frmCompare::showFailure(const QString& failure)
{
    comparison_.reset();
    listed_.clear();
    differingList->clear();
    dieLines->clear();
    verdictLabel->setText(QStringLiteral("無法比較：%1").arg(failure));
    showOverlay();
}

void frmCompare::showOverlay()
{
    if (!comparison_ || !layout_) {
        picture->setOverlay({}, picture->view());
        return;
    }
    picture->setOverlay(
        map::comparisonOverlay(*comparison_, *layout_, picture->view(), picture->devicePixelRatioF(), picked_),
        picture->view());
}

void frmCompare::differingList_Click(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= listed_.size() || !programA_ || !programB_)
        return;
    const DifferingDie die = listed_[static_cast<std::size_t>(row)];
    picked_ = die.centre;
    // The die in the middle, some dies of its row about it.
    const double pitch = layout_->DiePitch.toDecimal().toDouble();
    const QPointF at = map::pictureInches(die.centre);
    picture->setView(
        map::fitView(picture->size(), QRectF(at - QPointF(4 * pitch, 4 * pitch), QSizeF(8 * pitch, 8 * pitch))));
    showOverlay();
    dieLines->setPlainText(qt(differingDieText(die)) + QStringLiteral("\n\n找出切它的行中……"));
    lookingUp_.start([die, layout = layout_, a = programA_, b = programB_, textA = a_.text,
                      textB = b_.text](const BackgroundJob<QString>::Progress& progress) -> std::optional<QString> {
        const auto half = [&progress](double base) {
            return [&progress, base](double done) { return progress(base + done / 2); };
        };
        const DieCutLines linesA = linesCuttingDie(*a, *layout, die.centre, CutCheckOptions{}.tolerance,
                                                   LookedUpMotions, half(0));
        const DieCutLines linesB = linesCuttingDie(*b, *layout, die.centre, CutCheckOptions{}.tolerance,
                                                   LookedUpMotions, half(0.5));
        return qt(dieLinesText(die, linesA, lineTexts(*textA, linesA.lines), linesB, lineTexts(*textB, linesB.lines)));
    });
}

void frmCompare::fileChanged()
{
    if (!isVisible() || !layout_)
        return;
    // A file saved by renaming leaves the watch: watch it again; other files
    // of the folders change nothing.
    bool changed = false;
    for (int k = 0; k < 2; ++k) {
        const QString& path = k == 0 ? a_.path : b_.path;
        if (path.isEmpty())
            continue;
        if (QFileInfo::exists(path) && !watcher_.files().contains(path))
            watcher_.addPath(path);
        changed = changed || QFileInfo(path).lastModified() != modified_[k];
    }
    if (changed)
        startComparison();
}

std::string frmCompare::comparedWith() const
{
    if (!comparison_ || !isVisible() || comparing_.isPending())
        return {};
    return comparedWithText(*comparison_, b_.name.toStdString());
}

bool frmCompare::isWorking() const { return comparing_.isPending() || lookingUp_.isPending(); }

void frmCompare::done(int result)
{
    comparing_.cancel();
    lookingUp_.cancel();
    if (const QStringList watched = watcher_.files() + watcher_.directories(); !watched.isEmpty())
        watcher_.removePaths(watched);
    programA_.reset();
    programB_.reset();
    QDialog::done(result);
}

} // namespace kerf::ui
