#pragma once

#include <string>

class JobInfo;

// The information of a job known only by its id, as a dataset records it.
JobInfo jobWithId(std::string id);
