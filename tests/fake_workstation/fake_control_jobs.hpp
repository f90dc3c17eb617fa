#pragma once

#include "fake_workstation/fake_job_script.hpp"

#include <boost/json/value.hpp>

#include <optional>
#include <string>

class FakeRequestRouter;

// Scripted answers of control and query jobs: a short job that ends at once
// with FINISHED and, for the jobs that return one value, a "result" member
// in its JOB_DONE.
namespace FakeControlJobs {

// Accepts the start with job information and ends the job with FINISHED,
// carrying `result` when given.
FakeJobScript finished(std::optional<boost::json::value> result = std::nullopt);

// The JOB_DONE "result" the fake sends for a job type by default: a sample
// value for the query jobs, none for the command jobs.
std::optional<boost::json::value> sampleResult(const std::string& jobType);

// Scripts every control and query job type of the workstation with
// finished(sampleResult(type)).
void scriptAll(FakeRequestRouter& router);

} // namespace FakeControlJobs
