#pragma once

#include <string>
#include <vector>

class FakeRequestRouter;

// One cyclic voltammetry as the fake workstation plays it: the live data of
// the first job started (job-0001) and the result resource of that job,
// holding the same rows.
namespace cv_demo {

inline constexpr const char* kJobId = "job-0001";

// Rows of time, voltage and current.
std::vector<std::vector<double>> rows();

// Sets the job script and stores the result resource.
void install(FakeRequestRouter& router);

} // namespace cv_demo
