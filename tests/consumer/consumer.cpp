// Prints the library's version, which must be the package's, then asks an
// unconnected link for the job list, which must answer "not established" as
// a value.

#include "marlek_json_common/json_common/logging/error_formatter.hpp"
#include "marlek_link/marlek_link.hpp"

#include <iostream>
#include <string>

int main()
{
    const std::string version = MarlekLink::getLibraryVersion();
    std::cout << "marlek_link " << version << std::endl;
#ifdef MARLEK_PACKAGE_VERSION
    if (!version.starts_with(MARLEK_PACKAGE_VERSION "+")) {
        std::cerr << "the package says version " << MARLEK_PACKAGE_VERSION << std::endl;
        return 1;
    }
#endif
    MarlekLink link("127.0.0.1", "1994");
    const auto jobs = link.getJobInfoList(false);
    if (jobs || jobs.error().getErrorCodeEnum() != ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED) {
        std::cerr << "an unconnected link answered the job list" << std::endl;
        return 1;
    }
    std::cout << "unconnected link: " << ErrorFormatters::formatOrFallback(jobs.error()) << std::endl;
    return 0;
}
