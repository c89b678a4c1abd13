// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "layout/design_driver.h"
#include "program/writer/generation_parameters.h"
#include "yield/yield_settings.h"

namespace kerf {

/// The designer's boxes in a job, each the box's text as it stands; a key
/// that is not there (nullopt) is what the window shows when it opens.
struct JobDesigner {
    std::optional<std::string> wafer = std::nullopt; // Combo1: "" or a size list item
    std::optional<std::string> effective = std::nullopt; // Text5
    std::optional<std::string> shape = std::nullopt; // Combo2
    std::optional<std::string> die = std::nullopt; // Text1
    std::optional<std::string> gap = std::nullopt; // Text2

    bool operator==(const JobDesigner&) const = default;
};

/// The generation window's boxes in a job, likewise.
struct JobProgram {
    std::optional<std::string> name = std::nullopt; // Text1
    std::optional<std::string> passes = std::nullopt; // Text2
    std::optional<std::string> dvl = std::nullopt; // Text3
    std::optional<std::string> dac = std::nullopt; // Text4
    std::optional<std::string> vel = std::nullopt; // Text5
    std::optional<std::string> acc = std::nullopt; // Text6

    bool operator==(const JobProgram&) const = default;
};

/// The wafer's flats in a job (the designer's flats dialog), likewise: the
/// primary's length and angle, the secondary's.
struct JobFlats {
    std::optional<std::string> length = std::nullopt;
    std::optional<std::string> at = std::nullopt;
    std::optional<std::string> secondLength = std::nullopt;
    std::optional<std::string> secondAt = std::nullopt;

    bool operator==(const JobFlats&) const = default;
};

/// The yield settings in a job, likewise; a job without them holds none of
/// these keys.
struct JobYield {
    std::optional<std::string> defects = std::nullopt;
    std::optional<std::string> model = std::nullopt;
    std::optional<std::string> layers = std::nullopt;
    std::optional<std::string> alpha = std::nullopt;
    std::optional<std::string> cost = std::nullopt;

    bool operator==(const JobYield&) const = default;
};

/// A job: the work of the designer and of the generation window, as typed,
/// the yield settings when there are any, and the wafer's flats.
struct Job {
    JobDesigner designer;
    JobProgram program;
    JobYield yield = {};
    JobFlats flats = {};

    bool operator==(const Job&) const = default;
};

/// A key of a section, in the order the file holds them; the keys are the
/// command line's option names.
template <typename Section>
struct JobKey {
    std::string_view name;
    std::optional<std::string> Section::*value;
};
inline constexpr std::array<JobKey<JobDesigner>, 5> DesignerKeys = {{{"wafer", &JobDesigner::wafer},
                                                                     {"effective", &JobDesigner::effective},
                                                                     {"shape", &JobDesigner::shape},
                                                                     {"die", &JobDesigner::die},
                                                                     {"gap", &JobDesigner::gap}}};
inline constexpr std::array<JobKey<JobProgram>, 6> ProgramKeys = {{{"name", &JobProgram::name},
                                                                   {"passes", &JobProgram::passes},
                                                                   {"dvl", &JobProgram::dvl},
                                                                   {"dac", &JobProgram::dac},
                                                                   {"vel", &JobProgram::vel},
                                                                   {"acc", &JobProgram::acc}}};
inline constexpr std::array<JobKey<JobYield>, 5> YieldKeys = {{{"defects", &JobYield::defects},
                                                              {"model", &JobYield::model},
                                                              {"layers", &JobYield::layers},
                                                              {"alpha", &JobYield::alpha},
                                                              {"cost", &JobYield::cost}}};

/// Whether a job holds yield settings: any of their keys.
bool holdsYield(const JobYield& yield);
/// The yield boxes' texts of a job (a key left out is an empty box).
YieldTexts yieldTextsOf(const JobYield& yield);
/// The job's keys of the yield boxes: none when the density box is empty
/// (no yield asked for), else the density, the model and the other boxes
/// that are not empty.
JobYield jobYieldOf(const YieldTexts& texts);

inline constexpr std::array<JobKey<JobFlats>, 4> FlatKeys = {{{"flat", &JobFlats::length},
                                                               {"flat-at", &JobFlats::at},
                                                               {"second-flat", &JobFlats::secondLength},
                                                               {"second-at", &JobFlats::secondAt}}};

/// `base` with every key that `over` holds taken from `over` (the command
/// line's options over a job file's values).
Job overlaidJob(const Job& base, const Job& over);

/// Every key filled: a missing one gets what the windows show when they open
/// (the effective diameter: what choosing the wafer size writes, nothing
/// without a size; the generation window: its start values). The yield
/// settings stay as they are.
Job completedJob(const Job& job);

/// The design button's input for the designer's boxes of a job.
DesignInput designInputOf(const JobDesigner& designer);
/// The same with the job's flats.
DesignInput designInputOf(const Job& job);
/// The flat boxes of a job (a missing key is an empty box).
FlatTexts flatTextsOf(const JobFlats& flats);
/// The generation window's boxes for a job.
GenerationTexts generationTextsOf(const JobProgram& program);

/// The job of the windows' boxes (every key present; the flats only those typed).
Job jobOf(const DesignTexts& designer, const GenerationTexts& program, const FlatTexts& flats = {});

} // namespace kerf
