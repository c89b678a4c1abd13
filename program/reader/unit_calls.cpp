// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/reader/internal/unit_calls.h"

#include <limits>
#include <span>

namespace kerf::detail {

namespace {

constexpr std::uint64_t Saturated = std::numeric_limits<std::uint64_t>::max();

std::uint64_t addSat(std::uint64_t a, std::uint64_t b)
{
    return a > Saturated - b ? Saturated : a + b;
}

std::uint64_t mulSat(std::uint64_t a, std::uint64_t b)
{
    return (b != 0 && a > Saturated / b) ? Saturated : a * b;
}

} // namespace

std::variant<std::vector<std::uint32_t>, Recursion> calleesFirst(const ProgramCode& code, std::size_t units)
{
    enum class Mark : std::uint8_t { New, Open, Done };
    std::vector<Mark> mark(units, Mark::New);
    struct Frame {
        std::uint32_t unit;
        std::size_t pc;
    };
    std::vector<Frame> stack;
    std::vector<std::uint32_t> order;
    for (std::uint32_t root = 0; root < units; ++root) {
        if (mark[root] != Mark::New)
            continue;
        stack.push_back({root, 0});
        mark[root] = Mark::Open;
        while (!stack.empty()) {
            Frame& f = stack.back();
            const std::span<const Op> ops = code.unit(f.unit);
            while (f.pc < ops.size() && ops[f.pc].code != OpCode::Call)
                ++f.pc;
            if (f.pc == ops.size()) {
                mark[f.unit] = Mark::Done;
                order.push_back(f.unit);
                stack.pop_back();
                continue;
            }
            const Op& call = ops[f.pc++];
            if (mark[call.target] == Mark::Open)
                return Recursion{&call, f.unit};
            if (mark[call.target] == Mark::New) {
                mark[call.target] = Mark::Open;
                stack.push_back({call.target, 0});
            }
        }
    }
    return order;
}

Expansion expansionOf(const ProgramCode& code, const std::vector<std::uint32_t>& order, std::size_t entry)
{
    std::vector<Expansion> ofUnit(code.unitStarts.empty() ? 0 : code.unitStarts.size() - 1);
    std::vector<Expansion> open;
    for (const std::uint32_t u : order) {
        open.assign(1, Expansion{1, 0}); // the return at EI
        const std::span<const Op> ops = code.unit(u);
        for (const Op& o : ops) {
            Expansion& s = open.back();
            switch (o.code) {
            case OpCode::Move:
            case OpCode::Arc:
                s.steps = addSat(s.steps, 1);
                s.motions = addSat(s.motions, 1);
                break;
            case OpCode::Call:
                s.steps = addSat(s.steps, addSat(1, ofUnit[o.target].steps));
                s.motions = addSat(s.motions, ofUnit[o.target].motions);
                break;
            case OpCode::Loop:
                open.push_back(Expansion{});
                break;
            case OpCode::EndLoop: {
                const Expansion body = open.back();
                open.pop_back();
                const std::uint32_t passes = ops[o.target].count;
                Expansion& parent = open.back();
                // SL once, the body and its EL per pass.
                parent.steps = addSat(parent.steps, addSat(1, mulSat(addSat(body.steps, 1), passes)));
                parent.motions = addSat(parent.motions, mulSat(body.motions, passes));
                break;
            }
            default:
                s.steps = addSat(s.steps, 1);
                break;
            }
        }
        ofUnit[u] = open.back();
    }
    return ofUnit[entry];
}

} // namespace kerf::detail
