// Common ground of the fuzzing harnesses: one private folder per process
// that is the home folder, the program folder and the data folder, the
// configuration store pointing there, and a toolkit assert that is a
// finding rather than a line on the console.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "db/DbStars.h"

namespace pelk_fuzz {

// Sets everything up on the first call; later calls do nothing.
void Setup();
// The private folder (without a trailing "/").
const std::string& Dir();
// Writes the bytes to Dir()/name (replacing it) and returns the full path.
std::string WriteFile(const std::string& name, const uint8_t* data, size_t size);
// Stops the process with a message: a broken promise of the code under
// test that the sanitizers cannot see.
[[noreturn]] void Fail(const char* what);
// A star record; a name of 12 characters fills its field without end.
TStar_data Star(const char* name, const char* harvard, const char* type, char cls);

}  // namespace pelk_fuzz

// The one entry every harness defines.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
