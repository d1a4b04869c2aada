// Whether the caches that the run loop and the evaluators keep are checked
// against a fresh derivation on every use.
#pragma once

// Read from the environment (QUILLRUNNER_CHECK_CACHE) once, at start.
extern const bool gCheckingCaches;
inline bool CheckingCaches() {
  return gCheckingCaches;
}
