// Peak heap of a 24 MB DC result downloaded through the session and decoded
// into a DcDataset, against the size of the data, and what stays allocated
// once the dataset is gone. The server runs in a child process so that only
// the client's allocations are counted; every allocation of this process
// goes through the counting operators below.

#include "loopback_server.hpp"

#include "marlek_json_common/json_common/protocol/livedataheader.hpp"
#include "marlek_json_common/json_common/resources/resourceinfo.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset_binary.hpp"
#include "marlek_link_json/link_json_session.hpp"
#include "marlek_link_json/resource.hpp"

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {

std::atomic<long long> inUse{0};
std::atomic<long long> peak{0};

void* counted(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block) {
        throw std::bad_alloc();
    }
    const long long now = inUse += static_cast<long long>(malloc_usable_size(block));
    long long seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
    return block;
}

void uncounted(void* block)
{
    if (block) {
        inUse -= static_cast<long long>(malloc_usable_size(block));
        std::free(block);
    }
}

constexpr double MB = 1024.0 * 1024.0;

} // namespace

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
void operator delete(void* block) noexcept { uncounted(block); }
void operator delete[](void* block) noexcept { uncounted(block); }
void operator delete(void* block, std::size_t) noexcept { uncounted(block); }
void operator delete[](void* block, std::size_t) noexcept { uncounted(block); }

int main()
{
    const std::size_t rows = 1'000'000;
    const std::size_t columns = 3;
    std::vector<double> values(rows * columns);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<double>(i) * 1e-3;
    }
    std::string content(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(double));
    values = {};

    bench::LoopbackServer server(content);
    const pid_t child = fork();
    if (child == 0) {
        server.serveOneConnection();
        _exit(0);
    }
    const std::size_t dataSize = content.size();
    content = std::string();

    const LiveDataHeader header("Cyclic Voltammetry", "CV", {{"time", "s"}, {"voltage", "V"}, {"current", "A"}});
    ResourceInfo info;
    info.resource_id = "res-1";
    info.type = ResourceTypeEnum::JOB_RESULT;
    info.sub_type = ResourceSubType::DATASET_DC;
    info.size = dataSize;
    {
        LinkJsonSession session("127.0.0.1", std::to_string(server.port()), 0, "", "");
        if (session.connect().getErrorCodeEnum() != ErrorCodeEnum::NONE) {
            std::fprintf(stderr, "the library could not connect to the loopback server\n");
            return 1;
        }
        std::printf("peak heap of download + decode of a %.1f MB DC result (3 columns)\n", dataSize / MB);
        for (int run = 1; run <= 3; ++run) {
            const long long before = inUse.load();
            peak = before;
            {
                Resource resource(info);
                std::string downloaded;
                if (session.retrieveFullResource(resource, downloaded, 0).getErrorCodeEnum() != ErrorCodeEnum::NONE) {
                    std::fprintf(stderr, "the download failed\n");
                    return 1;
                }
                const DcDataset dataset = dcDatasetFromBinary(downloaded, LiveDataHeader(header), JobInfo());
                if (dataset.getRowCount() != rows) {
                    std::fprintf(stderr, "the dataset has %llu rows\n",
                                 static_cast<unsigned long long>(dataset.getRowCount()));
                    return 1;
                }
            }
            const double peakGrowth = static_cast<double>(peak.load() - before);
            const double kept = static_cast<double>(inUse.load() - before);
            std::printf("  run %d: peak +%.1f MB = %.2f x the data size; kept after the dataset is gone: %.1f MB\n",
                        run, peakGrowth / MB, peakGrowth / static_cast<double>(dataSize), kept / MB);
        }
        session.disconnect();
    }
    int status = 0;
    waitpid(child, &status, 0);
    return 0;
}
