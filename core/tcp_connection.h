#pragma once

#include "vice_monitor.h"

#include <chrono>
#include <memory>

namespace mosaiqua {

// A TCP connection to VICE's binary monitor. Throws UserError when it cannot connect within
// `timeout`; a refusal explains how to start VICE with the monitor on.
std::unique_ptr<MonitorTransport> ConnectTcp(const MonitorAddress& address,
                                             std::chrono::milliseconds timeout);

} // namespace mosaiqua
