#pragma once

#include "link_test_support.hpp"

#include <expected>
#include <functional>
#include <optional>
#include <vector>

// Every operation of the link that needs a session, as a call that returns
// its error.
struct Operation {
    const char* name;
    std::function<std::optional<ErrorObject>(MarlekLink&)> call;
};

template <typename T>
std::optional<ErrorObject> errorOf(const std::expected<T, ErrorObject>& result)
{
    return result ? std::nullopt : std::optional<ErrorObject>(result.error());
}

inline std::vector<Operation> sessionOperations()
{
    static const Resource wave = Resource::fromId(ResourceTypeEnum::WAVE, "res-1");
    return {
        {"checkJobParameters",
         [](MarlekLink& link) {
             CvJob job(CvParameters{});
             return std::optional(link.checkJobParameters(job));
         }},
        {"getSettings", [](MarlekLink& link) { return errorOf(link.getSettings()); }},
        {"getJobInfoList", [](MarlekLink& link) { return errorOf(link.getJobInfoList(false)); }},
        {"getJobInfo",
         [](MarlekLink& link) {
             CvJob job = jobThatRan("job-0001");
             return errorOf(link.getJobInfo(job));
         }},
        {"getWorkstationInfo", [](MarlekLink& link) { return errorOf(link.getWorkstationInfo()); }},
        {"getWorkstationStatus", [](MarlekLink& link) { return errorOf(link.getWorkstationStatus()); }},
        {"getOwnConnectionInfo", [](MarlekLink& link) { return errorOf(link.getOwnConnectionInfo()); }},
        {"getWorkstationConnectionList", [](MarlekLink& link) { return errorOf(link.getWorkstationConnectionList()); }},
        {"dropWorkstationConnection",
         [](MarlekLink& link) { return std::optional(link.dropWorkstationConnection(WebsocketConnectionInfo{})); }},
        {"getJobResultData",
         [](MarlekLink& link) {
             CvJob job = jobThatRan("job-0001");
             return errorOf(link.getJobResultData(job));
         }},
        {"createResource", [](MarlekLink& link) { return errorOf(link.createResource(ResourceTypeEnum::WAVE, "w")); }},
        {"createResourceFromFile",
         [](MarlekLink& link) {
             return errorOf(link.createResourceFromFile(ResourceTypeEnum::WAVE, "/nonexistent", ""));
         }},
        {"appendToResource", [](MarlekLink& link) { return std::optional(link.appendToResource(wave, {'a'})); }},
        {"retrieveResource",
         [](MarlekLink& link) {
             std::vector<char> output;
             return std::optional(link.retrieveResource(wave, output, 0, 0));
         }},
        {"retrieveFullResource",
         [](MarlekLink& link) {
             Resource resource = wave;
             std::string output;
             return std::optional(link.retrieveFullResource(resource, output, 0));
         }},
        {"downloadResourceToFile",
         [](MarlekLink& link) { return std::optional(link.downloadResourceToFile(wave, "/tmp/never-written")); }},
        {"deleteResource", [](MarlekLink& link) { return std::optional(link.deleteResource(wave)); }},
        {"getAvailableResources",
         [](MarlekLink& link) { return errorOf(link.getAvailableResources(ResourceTypeEnum::WAVE)); }},
        {"getUpdatedResourceInfo",
         [](MarlekLink& link) {
             Resource resource = wave;
             return std::optional(link.getUpdatedResourceInfo(resource));
         }},
    };
}

