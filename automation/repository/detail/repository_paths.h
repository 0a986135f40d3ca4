#pragma once

// Directory and file names of a repository. Not part of the library's
// interface.

#include <string>

// The path with '/' appended when it ends in neither '/' nor '\\'; "./" for
// a null or empty path. With `announce` an appended '/' prints "Path %s\n".
std::string directory_path(const char* path, bool announce);

// The file-name part of the name (truncateFileName).
std::string file_part(const std::string& name);
// The file-name part of the name without its last extension (getDotStem).
std::string dot_stem(const std::string& name);

// "<stem>.<scales>.bright.tree" when the mode has bit value 1, else
// "<stem>.<scales>.bright.nr.tree"; the dark name (polarity 2) likewise with
// bit value 2. The stem is the image name's file part without its last
// extension. Modes other than 0 and 3 print that the name does not describe
// the mode.
std::string tree_file_name(const std::string& image, int scales, int polarity, int mode);

// Whether the file can be opened for reading.
bool fileExists(const std::string& path);
