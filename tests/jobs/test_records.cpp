#include "test_records.hpp"

#include "marlek_link_json/jobs/common/jobparameter_registration.hpp"

void registerTestJobKind()
{
    static const bool registered = [] {
        registerBuilderInFactory<TestSweepJob>(&JobParameterFactory::getInstance());
        return true;
    }();
    (void)registered;
}
