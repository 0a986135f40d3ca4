#pragma once

// Rule faults in words for the pop-ups that follow "The rule\n<file>\n":
// whether a rule file can be used before anything runs it, and why the last
// parse or rule run failed. Parses on the calling thread, which must be the
// GUI thread: the rule parser's input is process-wide.

#include <QString>

// Empty when the file reads and parses; "cannot be read" (missing, no
// plain file, unreadable); otherwise vx_parse_fault() of its parse.
QString vx_rule_fault(const QString& file);

// The same for a rule's text as a rule file would hold it (Latin-1), before
// it is saved: empty when it parses, or when no scratch file can be made to
// parse it from.
QString vx_rule_text_fault(const QString& text);

// "does not parse:\n" and the parser's reason ("line <n>: <message>") of the
// last parse on this thread.
QString vx_parse_fault();

// "failed while it ran:\n" and the reason of the last rule run on this thread
// (a query, an attribute update); empty when it did not fail.
QString vx_run_fault();
