#pragma once

// Exit codes of the unrecoverable conditions. Each failure site has its own
// fixed code; callers and scripts tell the sites apart by them, so a value
// never changes. Several names share a value where the sites always did.
namespace exit_code {

// Memory exhausted, a record that cannot be built.
inline constexpr int out_of_memory = 42;

// Batch automation.
// A feature-layer file with a wrong head or missing values.
inline constexpr int feature_layer_file = 40;
// A feature-layer file that cannot be opened.
inline constexpr int feature_layer_open = 42;

} // namespace exit_code
