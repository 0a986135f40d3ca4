#pragma once

// The record behind last_rule_failure() (rule_file.h), kept per thread, and
// the scanner's line for the parser's messages.

#include <string>

// Empties the record: a parse or a machine starts.
void clear_rule_failure();
// Keeps the text, without its trailing line break, unless the record holds
// an earlier failure already: the first one is the cause.
void note_rule_failure(const std::string& text);
// The line of the rule file the scanner is in, from 1.
int rule_scan_line();
