#pragma once

// Execution options of one job.
struct JobOptions {
    // Run at once instead of joining the workstation's job queue.
    bool bypass_queue = false;
    // Keep no result data on the workstation (live data still arrive).
    bool discard_result_data = false;

    friend bool operator==(const JobOptions&, const JobOptions&) = default;
};
