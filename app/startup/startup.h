#pragma once

namespace pemvora::app {

// The program: engine-wide set-up, the windows created hidden in their order,
// the login, then the cheque window's event loop. Returns the exit status.
int runPemvora(int argc, char** argv);

} // namespace pemvora::app
