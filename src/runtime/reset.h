// Putting the runtime back into the state of a freshly started program.
#pragma once

// The CLEAR statement's action, also run at start and by CHAIN.
void ResetRuntime();

// Done once by the loader before the first statement.
void StartOfRunReset();
