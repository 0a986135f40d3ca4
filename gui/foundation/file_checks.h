#pragma once

// Checks made before a library routine opens a file, so that a file that
// cannot be read or written is refused with a pop-up instead of failing
// deep inside. GUI thread or not: nothing here shows anything.

#include <QString>

// Whether the file opens for reading. With `warn` the failure prints the
// file opener's warning line, as the libraries' own opens do.
bool vx_readable(const char* file, bool warn = false);

// Whether a file of this name can be created or replaced: not a directory,
// writable when it exists, in a writable directory.
bool vx_creatable(const QString& file);
