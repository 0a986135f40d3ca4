#pragma once

// File checks and writes of the analysis controller: nothing it writes is
// reported as written unless the whole file is in place.

#include <QString>
#include <string>

// Whether the file opens for reading.
bool vx_readable(const char* file);

// Whether a file of this name can be created or replaced: not a directory,
// writable when it exists, in a writable directory.
bool vx_creatable(const QString& file);

// Writes the whole text or, after a failure, leaves no partial file.
bool vx_write_text_file(const QString& file, const std::string& text);

// The "!!Write Error!!" pop-up naming the file (through the dialog service).
void vx_write_error(const QString& file);

// The ordinary message pop-up (VxMessagePopUp::notice) with the given title
// and text.
void vx_message(const QString& title, const QString& text);
