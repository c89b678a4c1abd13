// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/compare/program_comparison.h"

#include <algorithm>
#include <atomic>
#include <future>
#include <mutex>
#include <system_error>

#include "program/check/cut_check.h"
#include "program/check/report/die_counts.h"
#include "program/compare/flagged_cut_matching.h"

namespace kerf {

namespace {

/// The progress of two checks running side by side, said as one: the
/// caller's callback is called by one check at a time, and once it has
/// cancelled, both checks stop.
class JointProgress {
public:
    explicit JointProgress(const ComparisonOptions& options) : options_(options) {}

    std::function<bool(std::uint64_t, std::uint64_t)> forCheck(int k)
    {
        if (!options_.progress)
            return {};
        return [this, k](std::uint64_t done, std::uint64_t total) {
            const std::lock_guard lock(mutex_);
            if (cancelled_)
                return false;
            done_[k] = done;
            total_[k] = total;
            cancelled_ = !options_.progress(done_[0] + done_[1], total_[0] + total_[1]);
            return !cancelled_;
        };
    }

private:
    const ComparisonOptions& options_;
    std::mutex mutex_;
    std::uint64_t done_[2] = {0, 0};
    std::uint64_t total_[2] = {0, 0};
    bool cancelled_ = false;
};

/// The stretches of dies that the two checks count differently, row by row:
/// the runs of equal counts of both walked side by side.
void compareRows(const DieCounts& a, const DieCounts& b, ProgramComparison& comparison)
{
    const std::size_t rows = std::min(a.rows().size(), b.rows().size());
    for (std::size_t k = 0; k < rows; ++k) {
        const DieCounts::Row& ra = a.rows()[k];
        const std::span<const DieCounts::Run> runsA = a.runs(k), runsB = b.runs(k);
        std::size_t i = 0, j = 0;
        int at = 0;
        while (at < ra.count && i < runsA.size() && j < runsB.size()) {
            const int end = std::min(runsA[i].end, runsB[j].end);
            const std::uint64_t ca = runsA[i].cuts, cb = runsB[j].cuts;
            if (ca != cb) {
                comparison.stretches.push_back(
                    {ra.number, at, end, ra.x + ra.pitch * at, ra.y, ra.pitch, ca, cb});
                comparison.differingDies += end - at;
                (cb < ca ? comparison.cutLessInB : comparison.cutMoreInB) += end - at;
            }
            at = end;
            i += runsA[i].end == end;
            j += runsB[j].end == end;
        }
    }
}

/// The flagged cuts of `mine` that `theirs` lacks: those of the lists
/// matched by place, and as many of the unlisted as `mine` has more.
UnmatchedCuts onlyIn(const std::vector<FlaggedCut>& mine, std::int64_t mineTotal,
                     const std::vector<FlaggedCut>& theirs, std::int64_t theirTotal, const ComparisonOptions& options)
{
    UnmatchedCuts only;
    only.listed = unmatchedCuts(mine, theirs, 2 * std::max(options.tolerance, 0.0) + 1e-9, options.listLimit,
                                only.count);
    const std::int64_t unlistedMine = mineTotal - static_cast<std::int64_t>(mine.size());
    const std::int64_t unlistedTheirs = theirTotal - static_cast<std::int64_t>(theirs.size());
    only.count += std::max<std::int64_t>(unlistedMine - unlistedTheirs, 0);
    return only;
}

} // namespace

bool ProgramComparison::checked() const
{
    return a.unchecked == Unchecked::No && b.unchecked == Unchecked::No && !a.cancelled && !b.cancelled;
}

bool ProgramComparison::same() const
{
    return checked() && differingDies == 0 && strayOnlyA.count == 0 && strayOnlyB.count == 0 &&
           outsideOnlyA.count == 0 && outsideOnlyB.count == 0;
}

std::optional<double> ProgramComparison::machineSecondsDifference() const
{
    if (!a.machineSeconds || !b.machineSeconds)
        return std::nullopt;
    return *b.machineSeconds - *a.machineSeconds;
}

std::vector<DifferingDie> differingDies(const ProgramComparison& comparison, std::size_t limit)
{
    std::vector<DifferingDie> dies;
    for (const DifferingStretch& s : comparison.stretches)
        for (int j = s.from; j < s.to && dies.size() < limit; ++j)
            dies.push_back({s.row, j + 1, {s.x + s.pitch * (j - s.from), s.y}, s.a, s.b});
    return dies;
}

ProgramComparison comparePrograms(const Program& a, const Program& b, const WaferLayout& layout,
                                  const ComparisonOptions& options)
{
    JointProgress progress(options);
    DieCounts counts[2];
    CutCheckOptions checkOptions[2];
    for (int k = 0; k < 2; ++k) {
        checkOptions[k].tolerance = options.tolerance;
        checkOptions[k].listLimit = std::max(options.flaggedMatched, options.listLimit);
        checkOptions[k].progress = progress.forCheck(k);
        checkOptions[k].dieCounts = &counts[k];
        counts[k].reserve(static_cast<std::size_t>(std::max(layout.RowTable.upperBound(), 0)));
    }
    ProgramComparison comparison;
    // The two checks side by side: the comparison takes about as long as the longer one.
    std::future<CutReport> second;
    try {
        second = std::async(std::launch::async, [&] { return checkCuts(b, layout, checkOptions[1]); });
    } catch (const std::system_error&) {
        second = std::async(std::launch::deferred, [&] { return checkCuts(b, layout, checkOptions[1]); });
    }
    comparison.a = checkCuts(a, layout, checkOptions[0]);
    comparison.b = second.get();
    if (!comparison.checked())
        return comparison;
    compareRows(counts[0], counts[1], comparison);
    const CutReport &ra = comparison.a, &rb = comparison.b;
    comparison.strayOnlyA = onlyIn(ra.stray, ra.strayCuts, rb.stray, rb.strayCuts, options);
    comparison.strayOnlyB = onlyIn(rb.stray, rb.strayCuts, ra.stray, ra.strayCuts, options);
    comparison.outsideOnlyA = onlyIn(ra.outside, ra.outsideCuts, rb.outside, rb.outsideCuts, options);
    comparison.outsideOnlyB = onlyIn(rb.outside, rb.outsideCuts, ra.outside, ra.outsideCuts, options);
    // The reports list as many of their own as the comparison does.
    for (CutReport* report : {&comparison.a, &comparison.b}) {
        for (auto* list : {&report->stray, &report->outside})
            if (list->size() > options.listLimit)
                list->resize(options.listLimit);
        if (report->uncut.size() > options.listLimit)
            report->uncut.resize(options.listLimit);
    }
    return comparison;
}

} // namespace kerf
