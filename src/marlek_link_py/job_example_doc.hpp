#pragma once

// The closing block of a job constructor's docstring: the "/job/start"
// request the job sends, with the request id and parameters given.
#define MARLEK_JOB_EXAMPLE(requestId, type, parameters)                                                         \
    "\n    .. collapse:: WebSocket JSON Example\n\n"                                                              \
    "        .. code-block:: json\n\n"                                                                           \
    "            {\n"                                                                                            \
    "                \"do\": \"/job/start\",\n"                                                                  \
    "                \"request_id\": \"" requestId "\",\n"                                                      \
    "                \"job\": {\n"                                                                               \
    "                    \"type\": \"" type "\",\n"                                                             \
    "                    \"parameters\": " parameters ",\n"                                                     \
    "                    \"stop_conditions\": [],\n"                                                             \
    "                    \"job_meta\": {}\n"                                                                     \
    "                }\n"                                                                                        \
    "            }\n"
