// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as a job file: a job or a refusal that names the file, never an
// exception; a job's own text reads back as the same job, and its boxes go
// into the windows' inputs.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "files/utf8.h"
#include "job/job_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto read = kerf::parseJob(text, "a.kwjob");
    if (const auto* refusal = std::get_if<kerf::JobRefusal>(&read)) {
        if (!refusal->prompt.starts_with("工作檔「a.kwjob」") || !kerf::decodeUtf8(refusal->prompt))
            __builtin_trap();
        return 0;
    }
    const kerf::Job& job = std::get<kerf::Job>(read);
    const auto again = kerf::parseJob(kerf::jobText(job), "a.kwjob");
    if (!std::holds_alternative<kerf::Job>(again) || std::get<kerf::Job>(again) != job)
        __builtin_trap();
    const kerf::Job completed = kerf::completedJob(job);
    kerf::designInputOf(completed.designer);
    kerf::generationTextsOf(completed.program);
    return 0;
}
