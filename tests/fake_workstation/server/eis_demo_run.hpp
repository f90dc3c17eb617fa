#pragma once

class FakeRequestRouter;

// One impedance measurement as the fake workstation plays it with --demo
// eis: the live data of the first job started (job-0001) and its result
// resource, of three rows over two synchronous paths, one asynchronous path
// and one potentiostat. The last two rows share their wave, and the two last
// frequencies are equal.
namespace eis_demo {

// Sets the job script and stores the result resource.
void install(FakeRequestRouter& router);

} // namespace eis_demo
