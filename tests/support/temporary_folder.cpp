#include "support/temporary_folder.hpp"

#include <unistd.h>

#include <random>
#include <string>
#include <system_error>

TemporaryFolder::TemporaryFolder()
{
    // Test programs run side by side: the process id keeps their folders
    // apart, the random part the folders of one process.
    std::random_device random;
    path_ = std::filesystem::temp_directory_path()
          / ("marlek-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()) + "-"
             + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
